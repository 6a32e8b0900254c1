#!/bin/bash
# The real demo on real SDL: window, caption, keys, exit status, signals.
# Usage: window_test.sh path/to/kelp4090
demo=$1
source "$(dirname "$0")/xvfb.sh"

start_xvfb 24
if start_demo "$demo"; then
  pass "window captioned KELP4090 appears"
  geometry=$(xdotool getwindowgeometry "$window" | grep -o '[0-9]*x[0-9]*$')
  [[ "$geometry" == "256x256" ]] && pass "window is 256x256" || fail "window is $geometry"
  for _ in 1 2 3 4 5 6; do
    press space
    sleep 0.3
  done
  kill -0 "$demo_pid" 2>/dev/null && pass "SPACE moves through the ring" || fail "demo died on SPACE"
  press q
  if wait_exit 2 && [[ "$exit_status" == 0 ]]; then
    pass "q ends the demo with status 0 within two seconds"
  else
    fail "q: $exit_status"
  fi
  [[ ! -s "$work_dir/stdout" ]] && pass "nothing on standard output" || fail "stdout: $(head -c 200 "$work_dir/stdout")"
else
  fail "no window appeared: $(cat "$work_dir/stderr")"
fi

for signal in TERM INT; do
  if start_demo "$demo"; then
    sleep 0.5
    kill -"$signal" "$demo_pid"
    wait_exit 2
    expected=$((128 + $(kill -l "$signal")))
    [[ "$exit_status" == "$expected" ]] && pass "SIG$signal ends the demo" || fail "SIG$signal: $exit_status"
  else
    fail "no window for the SIG$signal test"
  fi
done

# The first part covers the screen with blue tiles under the logo and the
# giant letters: a grab with black pixels or without a good share of blue
# ones means the frame did not reach the window intact.
check_tiles_shown() {
  sleep 1
  grab "$work_dir/frame.png"
  local size counts black blue
  size=$(identify -format '%wx%h' "$work_dir/frame.png")
  counts=$(convert "$work_dir/frame.png" -depth 8 txt:- | awk '
    NR > 1 {
      rgb = $2; gsub(/[()]/, "", rgb); split(rgb, c, ",")
      black += (c[1] + c[2] + c[3] == 0); blue += (c[3] > c[1] + 16 && c[3] > c[2] + 16)
    }
    END { print black + 0, blue + 0 }')
  read -r black blue <<<"$counts"
  if [[ "$size" == "256x256" && "$black" == 0 && "$blue" -gt 6000 ]]; then
    pass "$1: the tiles fill the 256x256 window"
  else
    fail "$1: grab is $size with $black black and $blue blue pixels"
  fi
}

for depth in 24 16; do
  start_xvfb "$depth"
  if start_demo "$demo"; then
    check_tiles_shown "$depth-bit server"
    press Escape
    wait_exit 2 && [[ "$exit_status" == 0 ]] && pass "ESC at $depth bits exits with 0" ||
      fail "ESC at $depth bits: $exit_status"
  else
    fail "no window on the $depth-bit server: $(cat "$work_dir/stderr")"
  fi
done

# SDL's dummy video driver grants an 8-bit surface: every frame goes through
# the format conversion, and the demo must keep running on it.
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ASAN_OPTIONS=detect_leaks=0 "$demo" >"$work_dir/stdout" 2>&1 &
demo_pid=$!
sleep 2
if kill -0 "$demo_pid" 2>/dev/null; then
  kill -TERM "$demo_pid"
  wait_exit 2
  pass "runs on the 8-bit dummy video driver"
else
  wait_exit 1
  fail "dummy video driver: ended with $exit_status: $(head -c 300 "$work_dir/stdout")"
fi

exit $((failures > 0))
