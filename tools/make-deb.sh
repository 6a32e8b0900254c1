#!/bin/bash
# Builds the Debian package of KELP4090 from a configured and built release
# tree: installs it under /usr (the programs in /usr/games) into a staging
# folder, adds the package's
# own files (from dist/deb, configured into the build tree), computes the
# dependencies from the binaries with dpkg-shlibdeps, writes
# OUT/kelp4090_<version>_<architecture>.deb and checks it with lintian,
# which must report no errors.
# Usage: make-deb.sh BUILD_DIR OUT_DIR
set -euo pipefail

say() { echo "make deb: $*" >&2; }

if (($# != 2)) || [[ "$1" == -* || "$2" == -* ]]; then
  say "usage: $0 BUILD_DIR OUT_DIR"
  exit 2
fi
build=$1
out=$2
command -v dpkg-shlibdeps >/dev/null || { say "dpkg-shlibdeps is missing: install dpkg-dev"; exit 1; }
command -v lintian >/dev/null || { say "lintian is missing: install lintian"; exit 1; }
[[ -f "$build/dist/deb/control" ]] || { say "'$build' is not a configured build tree"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
stage=$work/root
docs=$stage/usr/share/doc/kelp4090
DESTDIR=$stage cmake --install "$build" --prefix /usr --strip >/dev/null
# Debian keeps the programs of its games section in /usr/games.
mv "$stage/usr/bin" "$stage/usr/games"
install -d "$docs"
install -m 644 "$build/dist/deb/copyright" "$docs/copyright"
gzip -9n <"$build/dist/deb/changelog" >"$docs/changelog.gz"
find "$stage/usr/share/man" -type f -exec gzip -9n {} +

# dpkg-shlibdeps reads the package's name from a debian/control of its own.
mkdir -p "$work/debian"
printf 'Source: kelp4090\n\nPackage: kelp4090\nArchitecture: any\n' >"$work/debian/control"
binaries=("$stage"/usr/games/*)
depends=$(cd "$work" && dpkg-shlibdeps -O "${binaries[@]/#/-e}" 2>"$work/shlibdeps.log" |
  sed -n 's/^shlibs:Depends=//p') || { say "dpkg-shlibdeps failed: $(head -n1 "$work/shlibdeps.log")"; exit 1; }

find "$stage" -type d -exec chmod 755 {} +
find "$stage" -type f -exec chmod 644 {} +
chmod 755 "${binaries[@]}"
mkdir -m 755 "$stage/DEBIAN"
computed="Architecture: $(dpkg --print-architecture)
Installed-Size: $(du -sk --exclude=DEBIAN "$stage" | cut -f1)
Depends: $depends"
awk -v computed="$computed" '{ print } /^Version:/ { print computed }' "$build/dist/deb/control" \
  >"$stage/DEBIAN/control"
(cd "$stage" && find usr -type f -print0 | sort -z | xargs -0 md5sum) >"$stage/DEBIAN/md5sums"
chmod 644 "$stage/DEBIAN/control" "$stage/DEBIAN/md5sums"

mkdir -p "$out"
deb=$(dpkg-deb --root-owner-group --build "$stage" "$out" | sed -n "s/.* in '\(.*\)'\.$/\1/p")
if ! lintian --fail-on error "$deb" >"$work/lintian.log" 2>&1; then
  say "lintian reports errors on $deb:"
  grep '^E:' "$work/lintian.log" >&2
  exit 1
fi
grep '^[A-Z]: ' "$work/lintian.log" >&2 || true
echo "$deb"
