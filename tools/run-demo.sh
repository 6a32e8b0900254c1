#!/bin/bash
# Starts the demo when there is a display to show it on. Without one, renders
# the first pass through the parts to a video with kelp4090-capture instead.
# Usage: run-demo.sh DEMO CAPTURE
set -euo pipefail
if [[ -z "${DISPLAY:-}" ]]; then
  video="$(dirname "$2")/kelp4090.mp4"
  echo "DISPLAY is not set, so KELP4090 is rendered to a video instead of shown." >&2
  "$2" -o "$video"
  echo "The first pass of the demo is in $(realpath "$video")" >&2
  exit 0
fi
exec "$1"
