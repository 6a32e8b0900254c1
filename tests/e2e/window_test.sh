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

start_xvfb 16
if start_demo "$demo"; then
  sleep 1
  grab "$work_dir/depth16.png"
  size=$(identify -format '%wx%h' "$work_dir/depth16.png")
  [[ "$size" == "256x256" ]] && pass "16-bit server shows the 256x256 frame" || fail "16-bit grab is $size"
  press Escape
  wait_exit 2 && [[ "$exit_status" == 0 ]] && pass "ESC at 16 bits exits with 0" || fail "ESC at 16 bits: $exit_status"
else
  fail "no window on the 16-bit server: $(cat "$work_dir/stderr")"
fi

exit $((failures > 0))
