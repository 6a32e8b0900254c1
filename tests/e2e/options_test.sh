#!/bin/bash
# The demo's options and its plain errors, on the real binary and real SDL:
# bad arguments, no display, a dead display, no sound device, --scale 3 at 24
# and 16 bits, --mute and --fullscreen at 24 and 16 bits under Xvfb, and make
# run's fallback.
# Usage: options_test.sh path/to/kelp4090 path/to/run-demo.sh
demo=$1
run_demo=$2
source "$(dirname "$0")/xvfb.sh"
export ASAN_OPTIONS=detect_leaks=0

# run_briefly SECONDS COMMAND...: runs COMMAND for at most SECONDS; sets
# exit_status, said (its standard error) and took (milliseconds).
run_briefly() {
  local limit=$1 start=$(date +%s%N)
  shift
  timeout "$limit" "$@" >"$work_dir/stdout" 2>"$work_dir/stderr"
  exit_status=$?
  took=$((($(date +%s%N) - start) / 1000000))
  said=$(cat "$work_dir/stderr")
}

for arguments in "--scale 9" "--scale" "--scale=x" "--bogus" "--scale 2 --fullscreen"; do
  read -ra words <<<"$arguments"
  run_briefly 5 "$demo" "${words[@]}"
  first=$(head -n1 <<<"$said")
  if [[ "$exit_status" == 2 && "$first" == *"${words[-1]%%=*}"* && "$(sed -n 2p <<<"$said")" == Usage:* ]]; then
    pass "'$arguments' is refused with status 2: $first"
  else
    fail "'$arguments': status $exit_status, said: $said"
  fi
done

# A window or a one-line reason within a second; the user's own driver still runs.
for case in "DISPLAY=:99|on display ':99': " "-u DISPLAY|no display is set"; do
  run_briefly 5 env ${case%%|*} "$demo"
  if [[ "$exit_status" == 1 && "$said" == "KELP4090: cannot open a window"*"${case#*|}"* &&
        $(wc -l <<<"$said") == 1 && "$took" -lt 1000 ]]; then
    pass "${case%%|*}: status 1 after $took ms: $said"
  else
    fail "${case%%|*}: status $exit_status after $took ms, said: $said"
  fi
done
run_briefly 2 env -u DISPLAY SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$demo"
[[ "$exit_status" == 124 ]] && pass "SDL_VIDEODRIVER=dummy runs without a display" ||
  fail "SDL_VIDEODRIVER=dummy: status $exit_status, said: $said"

mkdir -p "$work_dir/bin"
printf '#!/bin/bash\necho "$@" >"%s"\n' "$work_dir/captured" >"$work_dir/bin/capture"
chmod +x "$work_dir/bin/capture"
run_briefly 5 env DISPLAY=:99 bash "$run_demo" "$demo" "$work_dir/bin/capture"
if [[ "$exit_status" == 0 && -s "$work_dir/captured" && "$said" == *"no window opens on display ':99'"* ]]; then
  pass "make run on a dead display renders the video instead and says why"
else
  fail "run-demo.sh on a dead display: status $exit_status, said: $said"
fi

# start_options ARGUMENTS...: the demo under the current Xvfb with the disk
# sound driver writing to $work_dir/sound.raw, waiting for its window.
start_options() {
  rm -f "$work_dir/sound.raw"
  SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work_dir/sound.raw" "$demo" "$@" >"$work_dir/stdout" 2>"$work_dir/stderr" &
  demo_pid=$!
  window=$(timeout 20 xdotool search --sync --onlyvisible --name '^KELP4090$' | head -n1)
  [[ -n "$window" ]] && check_sdl_library
}

# reduce_blocks PNG SCALE OUT: the 256*SCALE square PNG reduced by SCALE with
# nearest neighbour into OUT, which stays empty when a SCALE x SCALE block
# holds two colours.
reduce_blocks() {
  local side=$((256 * $2))
  convert "$1" -sample 256x256 "$3"
  convert "$3" -sample "${side}x${side}" "$work_dir/again.png"
  compare -metric AE "$1" "$work_dir/again.png" null: 2>/dev/null || : >"$3"
}

# shows_part_two: grabs the window; true when its top-left pixel has the
# colour of part two's first corner mark.
shows_part_two() {
  grab "$work_dir/grab.png" &&
    colour_near "$(convert "$work_dir/grab.png" -crop 1x1+0+0 -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}')" \
      "#4080F0" "$rounding_16_bits"
}

# part_two_grab SCALE PNG: the window's size and, reduced by SCALE into PNG,
# a grab of it in part two (SPACE ends part one).
part_two_grab() {
  wait_for_tiles || fail "--scale $1: the first part did not show"
  hold_until space shows_part_two || fail "--scale $1: SPACE did not bring part two"
  grab "$work_dir/grab.png"
  size=$(identify -format '%wx%h' "$work_dir/grab.png")
  reduce_blocks "$work_dir/grab.png" "$1" "$2"
}

# corner_marks PNG: the colours of part two's four L-shaped corner marks.
corner_marks() {
  local arm crops=()
  for arm in 16x1+0+0 1x16+0+0 16x1+240+0 1x16+255+0 16x1+0+255 1x16+0+240 16x1+240+255 1x16+255+240; do
    crops+=(\( -clone 0 -crop "$arm" \))
  done
  convert "$1" "${crops[@]}" -delete 0 -depth 8 txt:- 2>/dev/null | grep -o '#[0-9A-F]\{6\}' | tr '\n' ' '
}

for depth in 24 16; do
  start_xvfb "$depth" 1024x800
  for scale in 1 3; do
    if ! start_options --scale "$scale" --mute; then
      fail "$depth bits, --scale $scale: no window: $(cat "$work_dir/stderr")"
      continue
    fi
    part_two_grab "$scale" "$work_dir/reduced$scale.png"
    press q
    wait_exit 3
    [[ "$size" == "$((256 * scale))x$((256 * scale))" ]] && pass "$depth bits: --scale $scale opens $size" ||
      fail "$depth bits: --scale $scale opens $size"
  done
  [[ ! -e "$work_dir/sound.raw" && ! -s "$work_dir/stderr" ]] && pass "$depth bits: --mute opens no sound device" ||
    fail "$depth bits: --mute: $(ls "$work_dir") $(cat "$work_dir/stderr")"
  marks=$(corner_marks "$work_dir/reduced3.png")
  read -r first second _ <<<"$marks"
  rounding=$((depth == 24 ? 0 : rounding_16_bits))
  if [[ -n "$marks" && "$marks" == "$(corner_marks "$work_dir/reduced1.png")" ]] &&
     colour_near "$first" "#4080F0" "$rounding" && colour_near "$second" "#3C7CEC" "$rounding"; then
    pass "$depth bits: --scale 3 shows 3x3 blocks; reduced, part two's corner marks equal the unscaled ones ($first $second)"
  else
    fail "$depth bits: reduced marks '$marks' against '$(corner_marks "$work_dir/reduced1.png")'"
  fi
done

# Fullscreen on a 1280x1024 screen at both depths: the frame at 4x,
# centred on black, showing the first part's tiles once its fade from black
# is over; or a window and the note where fullscreen is refused.
# fullscreen_shown: grabs the screen and answers whether it shows that; sets
# sides (the brightest value left and right of the centre) and off_blocks
# (pixels of the centre that differ from its 4x4 blocks).
fullscreen_shown() {
  xwd -silent -root -out "$work_dir/root.xwd" || return 1
  read -r sides off_blocks < <(convert "$work_dir/root.xwd" -write mpr:root +delete \
    \( mpr:root -crop 128x1024+0+0 \) \( mpr:root -crop 128x1024+1152+0 \) -append -format '%[max] ' -write info: \
    +delete mpr:root -crop 1024x1024+128+0 +repage -write mpr:centre -sample 256x256 -write "$work_dir/reduced.png" \
    -sample 1024x1024 mpr:centre -metric AE -compare -format '%[distortion]\n' info:)
  [[ "$sides" == 0 && "$off_blocks" == 0 ]] && shows_tiles "$work_dir/reduced.png"
}

for depth in 24 16; do
  start_xvfb "$depth" 1280x1024
  if ! start_options --fullscreen --mute; then
    fail "--fullscreen at $depth bits: no window: $(cat "$work_dir/stderr")"
    continue
  fi
  deadline=$((SECONDS + 20)) shown=no
  until ((SECONDS >= deadline)); do
    fullscreen_shown && shown=yes && break
    sleep 0.2
  done
  geometry=$(xdotool getwindowgeometry "$window" | grep -o '[0-9]*x[0-9]*$')
  if [[ "$geometry" == 1280x1024 && "$shown" == yes ]]; then
    pass "--fullscreen at $depth bits fills 1280x1024 with the tiles in 4x4 blocks centred on black"
  elif grep -q "showing a window instead" "$work_dir/stderr" && [[ "$geometry" == 256x256 ]]; then
    pass "--fullscreen at $depth bits falls back to a window: $(cat "$work_dir/stderr")"
  else
    fail "--fullscreen at $depth bits: window $geometry, sides up to $sides, $off_blocks pixels off the blocks," \
      "black and blue pixels $(tile_counts "$work_dir/reduced.png"): $(cat "$work_dir/stderr")"
  fi
  press q
  wait_exit 10 || fail "--fullscreen at $depth bits: q did not end the demo"
done

# No sound device (the disk driver cannot create its file): one line, and on.
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work_dir/no/such/folder" "$demo" >/dev/null 2>"$work_dir/stderr" &
demo_pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^KELP4090$' | head -n1)
sleep 1
if [[ -n "$window" && "$(cat "$work_dir/stderr")" == "KELP4090: no sound device, running without sound" ]] &&
   kill -0 "$demo_pid"; then
  pass "without a sound device: one line, and the demo runs on"
else
  fail "without a sound device: said $(cat "$work_dir/stderr")"
fi
press q
wait_exit 3

exit $((failures > 0))
