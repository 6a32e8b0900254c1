#!/bin/bash
# The real demo on real SDL: window, caption, keys, the frame-rate digits,
# exit status, signals.
# Usage: window_test.sh path/to/kelp4090 path/to/kelp4090-capture path/to/font8x8.txt
demo=$1
capture=$2
font=$3
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

# A grab of the first part with black pixels or without a good share of
# blue ones means the frame did not reach the window intact.
check_tiles_shown() {
  sleep 1
  grab "$work_dir/frame.png"
  local size black blue
  size=$(identify -format '%wx%h' "$work_dir/frame.png")
  read -r black blue < <(tile_counts "$work_dir/frame.png")
  if [[ "$size" == "256x256" ]] && shows_tiles "$work_dir/frame.png"; then
    pass "$1: the tiles fill the 256x256 window"
  else
    fail "$1: grab is $size with $black black and $blue blue pixels"
  fi
}

# The frame-rate digits, bottom left, in the colours of the capture
# program's still with the digits on: its clock runs at exactly 50 frames a
# second, so it shows 3 and 2, each glyph in the colours it has wherever it
# is drawn. Only the glyph's own pixels of the live first digit are
# compared; it is 3 from 48 frames a second up and 2 below, down to 32.
"$capture" --frame 100 --keys 40:8 --scale 1 -o "$work_dir/digits.png" >/dev/null 2>&1
for digit in 3 2; do
  convert "$work_dir/digits.png" -crop 16x16+$((digit == 3 ? 0 : 16))+240 +repage "$work_dir/digit$digit.png"
  { echo "P1 8 8"; awk -v code=$((48 + digit)) '$1 == "glyph" { on = $2 == code; next } on && NF { print }' "$font" |
    tr '#.' '10'; } | convert - -negate -scale 200% "$work_dir/mask$digit.png"
done

# first_digit_off PNG: how far the first digit of a grab is from the still's
# 3 or 2, whichever is nearer, as the largest difference of one channel (0
# to 255) over that glyph's pixels.
first_digit_off() {
  for digit in 3 2; do
    convert "$1" -crop 16x16+0+240 +repage "$work_dir/digit$digit.png" -compose difference -composite \
      "$work_dir/mask$digit.png" -compose multiply -composite -separate -format '%[fx:round(255*maxima)]\n' info: |
      sort -n | tail -n1
  done | sort -n | head -n1
}

# digits_within ROUNDING: grabs the window; true when its first digit is
# within ROUNDING of the reference's. Sets digit_off.
digits_within() {
  grab "$work_dir/digits-now.png" && digit_off=$(first_digit_off "$work_dir/digits-now.png") &&
    [[ -n "$digit_off" ]] && ((digit_off <= $1))
}

# check_frame_rate_digits LABEL ROUNDING: the tiles' grab has no digits;
# 8, held until they show, brings them within ROUNDING of the reference.
check_frame_rate_digits() {
  local before
  before=$(first_digit_off "$work_dir/frame.png")
  if ((before > $2)) && hold_until 8 digits_within "$2"; then
    pass "$1: 8 shows the frame rate's digits (first digit within $digit_off of the still's, $before before)"
  else
    fail "$1: the frame rate's first digit is $digit_off off the still's (allowed $2), $before before 8"
  fi
}

for depth in 24 16; do
  start_xvfb "$depth"
  if start_demo "$demo"; then
    check_tiles_shown "$depth-bit server"
    check_frame_rate_digits "$depth-bit server" $((depth == 24 ? 0 : rounding_16_bits))
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
