#!/bin/bash
# Every module's identification record is in the program: the strings of
# each record, as strings(1) finds them. PROGRAM and 20101108 belong to the
# program's own record, LINUXSDL to the display's.
# Usage: records_test.sh path/to/kelp4090
set -u
found=$(strings -n 3 "$1" | sort -u)
missing=0
for text in CODE Tobrenko 20101104 PROGRAM 20101108 KELP4090 LINUXSDL SDLDPY VEC2D FPS IMG BYTEMAP FONT \
  PALETTE SAMPLE ARRAY MUSIC STARS STARS3D SCROLL CURSOR DISTY CURSORX SCROLLXL SPIRALS RASTER; do
  grep -qxF "$text" <<<"$found" || { echo "no record text $text in $1"; missing=1; }
done
exit "$missing"
