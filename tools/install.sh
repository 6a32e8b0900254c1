#!/bin/bash
# Installs a built tree: the programs, their manual pages, the desktop
# entry, its icons and the metainfo, under PREFIX (default /usr/local),
# inside DESTDIR when that is set. Refuses, in one line, a PREFIX that is
# not absolute and a destination that cannot be written.
# Usage: [PREFIX=DIR] [DESTDIR=DIR] install.sh BUILD_DIR
set -euo pipefail

say() { echo "make install: $*" >&2; }

if (($# != 1)) || [[ "$1" == -* ]]; then
  say "usage: [PREFIX=DIR] [DESTDIR=DIR] $0 BUILD_DIR"
  exit 2
fi
prefix=${PREFIX:-/usr/local}
if [[ "$prefix" != /* ]]; then
  say "PREFIX must be an absolute path, not '$prefix'"
  exit 1
fi
target=${DESTDIR:-}$prefix
if ! mkdir -p "$target" 2>/dev/null || [[ ! -w "$target" ]]; then
  say "cannot write to '$target'"
  exit 1
fi
DESTDIR=${DESTDIR:-} cmake --install "$1" --prefix "$prefix"
