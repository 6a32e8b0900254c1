#!/bin/bash
# The real demo on real SDL: window, caption, the first part's picture at 24
# and 16 bits, keys, the frame-rate digits, exit status, signals.
# Usage: window_test.sh path/to/kelp4090 path/to/font8x8.txt
demo=$1
font=$2
source "$(dirname "$0")/xvfb.sh"

# The pixels the frame-rate overlay sets for each hexadecimal digit, one
# line "digit x y red green blue" per pixel of its 16x16 cell: the font's
# 8x8 glyph at twice its size, each pixel in the colour the text font's
# gradient gives its place in the font picture (sixteen cells to a row).
digit_pixels=$(awk '
  $1 == "glyph" { code = $2; row = 0; hex = (code >= 48 && code <= 57) || (code >= 65 && code <= 70); next }
  hex && /^[#.]+$/ {
    for (col = 0; col < 8; col++) {
      if (substr($0, col + 1, 1) != "#") continue
      for (d = 0; d < 4; d++) {
        x = 2 * col + d % 2; y = 2 * row + int(d / 2)
        px = 16 * (code % 16) + x; py = 16 * int(code / 16) + y
        printf "%c %d %d %d %d %d\n", code, x, y, 128 + 4 * (px % 32), 128 + 4 * ((255 - px) % 32), 128 + 4 * ((255 - py) % 32)
      }
    }
    row++
  }' "$font")

# rate_digits PNG ROUNDING: the digits the 256x256 picture shows in the
# overlay's place, the bottom-left 32x16 corner: for each 16x16 cell the
# digit with the most pixels whose every pixel is within ROUNDING of the
# overlay's colour, or ? where none is.
rate_digits() {
  convert "$1" -crop 32x16+0+240 +repage -depth 8 txt:- | awk -v most="$2" '
    NR == FNR { digit[NR] = $1; x[NR] = $2; y[NR] = $3; rgb[NR] = $4 " " $5 " " $6; pixels[$1]++; n = NR; next }
    /^[0-9]+,[0-9]+:/ { split($1, at, /[,:]/); split($2, c, /[(),]/); got[at[1], at[2]] = c[2] " " c[3] " " c[4] }
    END {
      for (cell = 0; cell < 2; cell++) {
        delete off
        for (i = 1; i <= n; i++) {
          split(got[16 * cell + x[i], y[i]], a, " "); split(rgb[i], b, " ")
          for (k = 1; k <= 3; k++) if (a[k] - b[k] > most || b[k] - a[k] > most) off[digit[i]] = 1
        }
        best = "?"
        for (d in pixels) if (!(d in off) && (best == "?" || pixels[d] > pixels[best])) best = d
        printf "%s", best
      }
      print ""
    }' <(echo "$digit_pixels") -
}

# shows_rate_digits PNG: the overlay shows two hexadecimal digits; sets digits.
shows_rate_digits() {
  digits=$(rate_digits "$1" "$rounding")
  [[ "$digits" =~ ^[0-9A-F]{2}$ ]]
}

for depth in 24 16; do
  start_xvfb "$depth"
  if ! start_demo "$demo"; then
    fail "no window on the $depth-bit server: $(cat "$work_dir/stderr")"
    continue
  fi
  rounding=$((depth == 24 ? 0 : rounding_16_bits))
  geometry=$(window_size)
  [[ "$geometry" == "256x256" ]] && pass "$depth bits: a 256x256 window captioned KELP4090" ||
    fail "$depth bits: window is $geometry"
  if wait_for grabbed shows_tiles && [[ "$(identify -format '%wx%h' "$work_dir/grab.png")" == 256x256 ]]; then
    pass "$depth bits: the tiles fill the window"
  else
    fail "$depth bits: no grab showed the tiles filling the window: $(tile_counts "$work_dir/frame.png")"
  fi
  before=$(rate_digits "$work_dir/frame.png" "$rounding")
  if [[ "$before" == "??" ]] && hold_until 8 grabbed shows_rate_digits; then
    pass "$depth bits: 8 shows the frame rate, $digits, in the overlay's colours"
  else
    fail "$depth bits: the corner shows digits '$before' before 8 and '$digits' after"
  fi
  if [[ "$depth" == 24 ]]; then
    hold_until space grabbed shows_part_two && pass "SPACE ends part one" || fail "SPACE: part two never showed"
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
