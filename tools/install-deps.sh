#!/bin/bash
# Installs the Debian packages KELP4090 needs, asking apt-get only for those
# that are missing. Usage: install-deps.sh run|test|fuzz|web
# Silent when everything is already present; uses sudo when not root.
set -euo pipefail

run_packages=(make cmake g++ pkg-config libsdl1.2-dev ffmpeg)
test_packages=(libgtest-dev xvfb xdotool x11-apps imagemagick sox)
# The window tests on sdl12-compat (unpacked, never installed) need SDL2;
# the install and package tests check what they build with these.
install_test_packages=(libsdl2-2.0-0 dpkg-dev lintian desktop-file-utils appstream man-db groff-base)
fuzz_packages=(clang libclang-rt-14-dev)  # make fuzz: libFuzzer comes with clang
web_packages=(emscripten nodejs)          # make web
browser_packages=(chromium)               # the browser tests, with npm below

case "${1:-run}" in
  run) wanted=("${run_packages[@]}") ;;
  test) wanted=("${run_packages[@]}" "${test_packages[@]}" "${install_test_packages[@]}" "${web_packages[@]}"
                "${browser_packages[@]}") ;;
  fuzz) wanted=("${run_packages[@]}" "${test_packages[@]}" "${fuzz_packages[@]}") ;;
  web) wanted=("${run_packages[@]}" "${web_packages[@]}") ;;
  *) echo "usage: $0 run|test|fuzz|web" >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
# Debian's npm unless some nodejs package already brings the command.
[[ "${1:-run}" == test ]] && ! command -v npm >/dev/null && missing+=(npm)

if ((${#missing[@]} > 0)); then
  sudo=()
  ((EUID == 0)) || sudo=(sudo)
  echo "Installing ${missing[*]}" >&2
  # A machine that is still updating itself holds the dpkg lock: wait for it.
  wait_lock=(-o DPkg::Lock::Timeout=600)
  "${sudo[@]}" apt-get "${wait_lock[@]}" update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get "${wait_lock[@]}" install -y -qq --no-install-recommends \
    "${missing[@]}" >&2
fi

# The browser tests' puppeteer-core, as pinned in tests/web/package-lock.json;
# it drives Debian's chromium and never downloads a browser of its own.
web_tests="$(dirname "$0")/../tests/web"
if [[ "${1:-run}" == test && ! "$web_tests/node_modules/.package-lock.json" -nt "$web_tests/package-lock.json" ]]; then
  echo "Installing the browser tests' Node packages" >&2
  (cd "$web_tests" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --silent >&2)
fi
