#!/bin/bash
# The Debian package make check builds: its fields, and both programs run
# from the unpacked tree: --help, and a still of the first part whose pixels
# have the stored digest of that frame.
# Usage: package_test.sh PACKAGE_STEM FRAME_REFERENCES XVFB_HELPERS
# (PACKAGE_STEM: the package's path up to the version, as in build/kelp4090_1.0.0)
stem=$1
references=$2
source "$3"

deb=${stem}_$(dpkg --print-architecture).deb
[[ -f "$deb" ]] || { fail "no package $deb (make deb writes it)"; exit 1; }
version=${stem##*_}
fields=$(dpkg-deb -f "$deb" Package Version Depends)
if [[ "$fields" == *"Package: kelp4090"* && "$fields" == *"Version: $version"* &&
      "$fields" == *"Depends: "*libsdl1.2debian* && "$fields" == *libc6* ]]; then
  pass "$(basename "$deb"): $(grep Depends <<<"$fields")"
else
  fail "package fields: $fields"
fi

tree=$work_dir/tree
dpkg-deb -x "$deb" "$tree"
for program in kelp4090 kelp4090-capture; do
  usage=$("$tree/usr/games/$program" --help 2>&1 | head -n1)
  [[ "$usage" == "Usage: $program "* ]] && pass "$program --help from the package: $usage" ||
    fail "$program --help from the package: $usage"
done

# The digest is taken over the frame's 0x00RRGGBB values as 32-bit
# little-endian words: blue, green, red and a zero byte per pixel.
"$tree/usr/games/kelp4090-capture" --frame 600 --scale 1 -o "$work_dir/packaged.ppm" >/dev/null 2>&1
stored=$(awk '$1 == "frame" && $2 == 600 && NF == 3 { print $3 }' "$references")
digest=$(convert "$work_dir/packaged.ppm" -alpha set -channel A -evaluate set 0 +channel -depth 8 BGRA:- |
  sha256sum | cut -d' ' -f1)
if [[ -n "$stored" && "$digest" == "$stored" ]]; then
  pass "the packaged capture's still of frame 600 has the stored digest"
else
  fail "the packaged still of frame 600 has digest '$digest', stored '$stored'"
fi

exit $((failures > 0))
