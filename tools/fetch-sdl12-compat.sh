#!/bin/bash
# Puts sdl12-compat, the libSDL-1.2 that current distributions ship in place
# of the original (it runs SDL 1.2 programs on SDL2), into DIR for the tests
# that run the demo on both libraries: Debian's package, downloaded with
# apt-get and unpacked into DIR/root, never installed. DIR/lib then holds
# libSDL-1.2.so.0. Does nothing when it is already there.
# Usage: fetch-sdl12-compat.sh DIR
set -euo pipefail
if (($# != 1)); then
  echo "usage: $0 DIR" >&2
  exit 2
fi
dir=$1
[[ -e "$dir/lib/libSDL-1.2.so.0" ]] && exit 0

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# As root, apt-get would hand the download to its own user, who cannot
# write into the scratch folder.
sandbox=()
((EUID == 0)) && sandbox=(-o APT::Sandbox::User=root)
if ! (cd "$scratch" && apt-get download -qq "${sandbox[@]}" libsdl1.2-compat >/dev/null 2>"$scratch/said"); then
  echo "fetch-sdl12-compat: apt-get download libsdl1.2-compat failed: $(grep -m1 '^E:' "$scratch/said")" >&2
  exit 1
fi
rm -rf "$dir/root"
mkdir -p "$dir"
dpkg -x "$scratch"/libsdl1.2-compat_*.deb "$dir/root"
library=$(find "$dir/root" -name libSDL-1.2.so.0 -path '*sdl12-compat*' | head -n1)
if [[ -z "$library" ]]; then
  echo "fetch-sdl12-compat: the package holds no libSDL-1.2.so.0" >&2
  exit 1
fi
ln -sfn "$(realpath --relative-to="$dir" "$(dirname "$library")")" "$dir/lib"
