#!/bin/bash
# The real demo on real SDL: window, caption, the first part's picture at 24
# and 16 bits, keys, exit status, signals.
# Usage: window_test.sh path/to/kelp4090
demo=$1
source "$(dirname "$0")/xvfb.sh"

# tiles_fill PNG: the first part covers the screen with blue tiles under the
# logo and the giant letters: no black pixel and a good share of blue ones,
# once the frame reached the window intact and the opening fade is over.
tiles_fill() {
  grab "$1" || return 1
  local counts black blue
  counts=$(convert "$1" -depth 8 txt:- | awk '
    NR > 1 {
      rgb = $2; gsub(/[()]/, "", rgb); split(rgb, c, ",")
      black += (c[1] + c[2] + c[3] == 0); blue += (c[3] > c[1] + 16 && c[3] > c[2] + 16)
    }
    END { print black + 0, blue + 0 }')
  read -r black blue <<<"$counts"
  [[ "$(identify -format '%wx%h' "$1")" == 256x256 && "$black" == 0 && "$blue" -gt 6000 ]]
}

part_two_grabbed() {
  grab "$work_dir/frame.png" && shows_part_two "$work_dir/frame.png"
}

for depth in 24 16; do
  start_xvfb "$depth"
  if ! start_demo "$demo"; then
    fail "no window on the $depth-bit server: $(cat "$work_dir/stderr")"
    continue
  fi
  geometry=$(xdotool getwindowgeometry "$window" | grep -o '[0-9]*x[0-9]*$')
  [[ "$geometry" == "256x256" ]] && pass "$depth bits: a 256x256 window captioned KELP4090" ||
    fail "$depth bits: window is $geometry"
  wait_for tiles_fill "$work_dir/frame.png" && pass "$depth bits: the tiles fill the window" ||
    fail "$depth bits: no grab showed the tiles filling the window"
  if [[ "$depth" == 24 ]]; then
    hold_until space part_two_grabbed && pass "SPACE ends part one" || fail "SPACE: part two never showed"
    quit q
    [[ "$exit_status" == 0 ]] && pass "q ends the demo with status 0" || fail "q: $exit_status"
  else
    quit Escape
    [[ "$exit_status" == 0 ]] && pass "ESC ends the demo with status 0" || fail "ESC: $exit_status"
  fi
  [[ ! -s "$work_dir/stdout" ]] && pass "nothing on standard output" || fail "stdout: $(head -c 200 "$work_dir/stdout")"
done

# Once start-up has given the signals back their default action, they end the demo at once.
for signal in TERM INT; do
  if start_demo "$demo" && wait_for signals_restored; then
    kill -"$signal" "$demo_pid"
    wait_exit
    expected=$((128 + $(kill -l "$signal")))
    [[ "$exit_status" == "$expected" ]] && pass "SIG$signal ends the demo" || fail "SIG$signal: $exit_status"
  else
    fail "no window or no default signal action for the SIG$signal test: $(cat "$work_dir/stderr")"
  fi
done

exit $((failures > 0))
