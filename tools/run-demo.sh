#!/bin/bash
# Starts the demo when there is a display to show it on.
set -euo pipefail
if [[ -z "${DISPLAY:-}" ]]; then
  echo "KELP4090 needs a graphical display, and DISPLAY is not set." >&2
  exit 1
fi
exec "$1"
