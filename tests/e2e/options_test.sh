#!/bin/bash
# The demo's options and its plain errors, on the real binary and real SDL:
# bad arguments, no display, a dead display, SDL's dummy video driver, no
# sound device, --scale 3, --mute and --fullscreen at 24 and 16 bits under
# Xvfb, and make run's fallback.
# Usage: options_test.sh path/to/kelp4090 path/to/run-demo.sh
demo=$1
run_demo=$2
source "$(dirname "$0")/xvfb.sh"
export ASAN_OPTIONS=detect_leaks=0

# run_briefly COMMAND...: runs COMMAND, stopped after deadline_seconds;
# sets exit_status, said (its standard error) and took (milliseconds).
run_briefly() {
  local start=$(date +%s%N)
  timeout "$deadline_seconds" "$@" >"$work_dir/stdout" 2>"$work_dir/stderr"
  exit_status=$?
  took=$((($(date +%s%N) - start) / 1000000))
  said=$(cat "$work_dir/stderr")
}

for arguments in "--scale 9" "--scale" "--scale=x" "--bogus" "--scale 2 --fullscreen"; do
  read -ra words <<<"$arguments"
  run_briefly "$demo" "${words[@]}"
  first=$(head -n1 <<<"$said")
  if [[ "$exit_status" == 2 && "$first" == *"${words[-1]%%=*}"* && "$(sed -n 2p <<<"$said")" == Usage:* ]]; then
    pass "'$arguments' is refused with status 2: $first"
  else
    fail "'$arguments': status $exit_status, said: $said"
  fi
done

# A window or a one-line reason, by itself and at once (well within the deadline).
for case in "DISPLAY=:99|on display ':99': " "-u DISPLAY|no display is set"; do
  run_briefly env ${case%%|*} "$demo"
  if [[ "$exit_status" == 1 && "$said" == "KELP4090: cannot open a window"*"${case#*|}"* &&
        $(wc -l <<<"$said") == 1 && "$took" -lt 10000 ]]; then
    pass "${case%%|*}: status 1 after $took ms: $said"
  else
    fail "${case%%|*}: status $exit_status after $took ms, said: $said"
  fi
done

# The user's own driver still runs: SDL's dummy driver grants an 8-bit
# surface, so every frame goes through the format conversion. The music
# starts after the first frame, so sound on the disk driver shows frames
# came through; the demo must still be running then.
spawn_demo -u DISPLAY SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work_dir/dummy.raw" "$demo"
wait_for has_sound "$work_dir/dummy.raw"
if ! demo_ended; then
  check_sdl_library
  kill -TERM "$demo_pid"
  wait_exit
  pass "runs on SDL's 8-bit dummy video driver without a display"
else
  wait_exit
  fail "dummy video driver: ended with $exit_status: $(head -c 300 "$work_dir/stderr")"
fi

mkdir -p "$work_dir/bin"
printf '#!/bin/bash\necho "$@" >"%s"\n' "$work_dir/captured" >"$work_dir/bin/capture"
chmod +x "$work_dir/bin/capture"
run_briefly env DISPLAY=:99 bash "$run_demo" "$demo" "$work_dir/bin/capture"
if [[ "$exit_status" == 0 && -s "$work_dir/captured" && "$said" == *"no window opens on display ':99'"* ]]; then
  pass "make run on a dead display renders the video instead and says why"
else
  fail "run-demo.sh on a dead display: status $exit_status, said: $said"
fi

# start_options ARGUMENTS...: the demo under the current Xvfb with the disk
# sound driver writing to $work_dir/sound.raw, waiting for its window.
start_options() {
  rm -f "$work_dir/sound.raw"
  run_demo SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work_dir/sound.raw" "$demo" "$@"
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

for depth in 24 16; do
  start_xvfb "$depth" 1024x800
  for scale in 1 3; do
    if ! start_options --scale "$scale" --mute; then
      fail "$depth bits, --scale $scale: no window: $(cat "$work_dir/stderr")"
      continue
    fi
    # The first part shows; SPACE ends it, and part two's corner marks stand still.
    wait_for grabbed shows_tiles || fail "$depth bits, --scale $scale: no grab showed the first part"
    hold_until space grabbed shows_part_two || fail "$depth bits, --scale $scale: SPACE did not bring part two"
    reduce_blocks "$work_dir/grab.png" "$scale" "$work_dir/reduced$scale.png"
    size=$(identify -format '%wx%h' "$work_dir/grab.png")
    quit q
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
# is over; or a 256x256 window and the note where fullscreen is refused.
# fullscreen_shown: grabs the screen and answers whether it shows that; sets
# geometry, sides (the brightest value left and right of the centre) and
# off_blocks (pixels of the centre that differ from its 4x4 blocks).
fullscreen_shown() {
  geometry=$(window_size)
  if grep -q "showing a window instead" "$work_dir/stderr"; then
    [[ "$geometry" == 256x256 ]]
    return
  fi
  xwd -silent -root -out "$work_dir/root.xwd" || return 1
  read -r sides off_blocks < <(convert "$work_dir/root.xwd" -write mpr:root +delete \
    \( mpr:root -crop 128x1024+0+0 \) \( mpr:root -crop 128x1024+1152+0 \) -append -format '%[max] ' -write info: \
    +delete mpr:root -crop 1024x1024+128+0 +repage -write mpr:centre -sample 256x256 -write "$work_dir/reduced.png" \
    -sample 1024x1024 mpr:centre -metric AE -compare -format '%[distortion]\n' info:)
  [[ "$geometry" == 1280x1024 && "$sides" == 0 && "$off_blocks" == 0 ]] && shows_tiles "$work_dir/reduced.png"
}

for depth in 24 16; do
  start_xvfb "$depth" 1280x1024
  if ! start_options --fullscreen --mute; then
    fail "--fullscreen at $depth bits: no window: $(cat "$work_dir/stderr")"
    continue
  fi
  if wait_for fullscreen_shown; then
    pass "--fullscreen at $depth bits: $([[ -s "$work_dir/stderr" ]] && cat "$work_dir/stderr" ||
      echo "fills 1280x1024 with the tiles in 4x4 blocks centred on black")"
  else
    fail "--fullscreen at $depth bits: window $geometry, sides up to $sides, $off_blocks pixels off the blocks," \
      "black and blue pixels $(tile_counts "$work_dir/reduced.png"): $(cat "$work_dir/stderr")"
  fi
  quit q
  [[ "$exit_status" == 0 ]] || fail "--fullscreen at $depth bits: q ended the demo with $exit_status"
done

# No sound device (the disk driver cannot create its file): one line, and
# the demo runs on until q.
if run_demo SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work_dir/no/such/folder" "$demo" &&
   wait_for test -s "$work_dir/stderr"; then
  said=$(cat "$work_dir/stderr")
  quit q
  if [[ "$said" == "KELP4090: no sound device, running without sound" && "$exit_status" == 0 ]]; then
    pass "without a sound device: one line, and the demo runs on until q"
  else
    fail "without a sound device: said $said, ended with $exit_status"
  fi
else
  fail "without a sound device: no window or nothing said: $(cat "$work_dir/stderr")"
fi

exit $((failures > 0))
