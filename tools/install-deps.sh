#!/bin/bash
# Installs the Debian packages KELP4090 needs, asking apt-get only for those
# that are missing. Usage: install-deps.sh run|test|fuzz
# Silent when everything is already present; uses sudo when not root.
set -euo pipefail

run_packages=(make cmake g++ pkg-config libsdl1.2-dev ffmpeg)
test_packages=(libgtest-dev xvfb xdotool x11-apps imagemagick sox)
fuzz_packages=(clang libclang-rt-14-dev)  # make fuzz: libFuzzer comes with clang

case "${1:-run}" in
  run) wanted=("${run_packages[@]}") ;;
  test) wanted=("${run_packages[@]}" "${test_packages[@]}") ;;
  fuzz) wanted=("${run_packages[@]}" "${test_packages[@]}" "${fuzz_packages[@]}") ;;
  *) echo "usage: $0 run|test|fuzz" >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
((${#missing[@]} == 0)) && exit 0

sudo=()
((EUID == 0)) || sudo=(sudo)
echo "Installing ${missing[*]}" >&2
# A machine that is still updating itself holds the dpkg lock: wait for it.
wait_lock=(-o DPkg::Lock::Timeout=600)
"${sudo[@]}" apt-get "${wait_lock[@]}" update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get "${wait_lock[@]}" install -y -qq --no-install-recommends \
  "${missing[@]}" >&2
