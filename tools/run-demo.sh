#!/bin/bash
# Starts the demo when there is a display to show it on. Without one, or when
# no window can be opened on it, renders the first pass through the parts to
# a video with kelp4090-capture instead.
# Usage: run-demo.sh DEMO CAPTURE
set -euo pipefail
if [[ -z "${DISPLAY:-}" ]]; then
  why="DISPLAY is not set"
else
  # The demo ends with status 1 only when it cannot open its window, and then
  # says why on standard error, which goes to the terminal as it comes.
  said=$(mktemp)
  trap 'rm -f "$said"' EXIT
  set +e
  { "$1" 2>&1 1>&3 3>&- | tee "$said" >&2 3>&-; } 3>&1
  status=${PIPESTATUS[0]}
  set -e
  if ((status != 1)) || ! grep -q '^KELP4090: cannot open a window' "$said"; then
    exit "$status"
  fi
  why="no window opens on display '$DISPLAY'"
fi
video="$(dirname "$2")/kelp4090.mp4"
echo "$why, so KELP4090 is rendered to a video instead of shown." >&2
"$2" -o "$video"
echo "The first pass of the demo is in $(realpath "$video")" >&2
