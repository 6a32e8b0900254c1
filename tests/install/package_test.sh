#!/bin/bash
# The Debian package make test builds: its fields, and both programs run
# from the unpacked tree: --help, and a still that must equal this build's
# still of the same frame and show the first part's tiles.
# Usage: package_test.sh PACKAGE_STEM CAPTURE XVFB_HELPERS
# (PACKAGE_STEM: the package's path up to the version, as in build/kelp4090_1.0.0)
stem=$1
capture=$2
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

"$tree/usr/games/kelp4090-capture" --frame 300 --scale 1 -o "$work_dir/packaged.ppm" >/dev/null 2>&1
ASAN_OPTIONS=detect_leaks=0 "$capture" --frame 300 --scale 1 -o "$work_dir/built.ppm" >/dev/null 2>&1
if cmp -s "$work_dir/packaged.ppm" "$work_dir/built.ppm" && shows_tiles "$work_dir/packaged.ppm"; then
  pass "the packaged capture's still of frame 300 is this build's and shows the tiles"
else
  fail "the packaged still of frame 300: $(ls -l "$work_dir"/*.ppm 2>&1 | tr '\n' ' ')"
fi

exit $((failures > 0))
