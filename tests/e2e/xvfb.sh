# Helpers for driving the demo under a private Xvfb server. Sourced by the
# end-to-end and install tests. Every wait is for something to happen, up to
# a deadline far beyond what it takes on a busy machine.

failures=0
work_dir=$(mktemp -d)
xvfb_pid=""
demo_pid=""
deadline_seconds=60

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

# stop_demo: ends a demo that a failed check left running, so the next one
# is alone on the display.
stop_demo() {
  [[ -n "$demo_pid" ]] && kill -9 "$demo_pid" 2>/dev/null && wait "$demo_pid" 2>/dev/null
  demo_pid=""
}

cleanup() {
  stop_demo
  [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work_dir"
}
trap cleanup EXIT

# wait_for COMMAND...: runs COMMAND until it succeeds; false if it still
# fails after deadline_seconds.
wait_for() {
  local deadline=$((SECONDS + deadline_seconds))
  until "$@"; do
    ((SECONDS < deadline)) || return 1
    sleep 0.05
  done
}

# --- the SDL library under test ---
# With KELP_SDL12_COMPAT naming a folder that holds sdl12-compat's
# libSDL-1.2.so.0, every program this test starts loads that library in
# front of the classic one; without it, the classic SDL 1.2.
sdl_library=classic
if [[ -n "${KELP_SDL12_COMPAT:-}" ]]; then
  if [[ ! -e "$KELP_SDL12_COMPAT/libSDL-1.2.so.0" ]]; then
    echo "FAIL: no sdl12-compat in $KELP_SDL12_COMPAT (make check unpacks it there)"
    exit 1
  fi
  export LD_LIBRARY_PATH="$KELP_SDL12_COMPAT${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
  sdl_library=sdl12-compat
fi
# sdl12-compat opens SDL2's disk sound device in stereo: the mono sound
# in both channels.
disk_audio_channels=$([[ "$sdl_library" == sdl12-compat ]] && echo 2 || echo 1)
library_shown=""

# check_sdl_library: fails unless the running demo has loaded the library
# this test is for: sdl12-compat's file, which brings SDL2 along, or a
# libSDL-1.2 without SDL2. Says which file it was the first time.
check_sdl_library() {
  local maps mapped expected="" sdl2=without
  maps=$(cat "/proc/$demo_pid/maps" 2>/dev/null)
  mapped=$(awk '$6 ~ /\/libSDL-1\.2\.so/ { print $6; exit }' <<<"$maps")
  grep -q '/libSDL2-2\.0\.so' <<<"$maps" && sdl2=with
  [[ "$sdl_library" == sdl12-compat ]] && expected=$(realpath "$KELP_SDL12_COMPAT/libSDL-1.2.so.0")
  if [[ -z "$mapped" || "$sdl2" != "$([[ -n "$expected" ]] && echo with || echo without)" ||
        ( -n "$expected" && "$mapped" != "$expected" ) ]]; then
    fail "the demo runs on '${mapped:-no libSDL-1.2}' $sdl2 SDL2, not on $sdl_library"
  elif [[ -z "$library_shown" ]]; then
    library_shown=$mapped
    pass "the demo runs on $sdl_library: $mapped"
  fi
}
# --- end of the SDL library under test ---

# start_xvfb DEPTH [SIZE]: a server of its own on a free display number,
# 640x480 unless SIZE says otherwise. It must not reset when its last client
# leaves: SDL probes the display with a connection of its own first, and the
# demo's real one would meet a server in the middle of its reset. Nor may it
# repeat held keys: its repeats come as release and press pairs, which SDL
# drops only when both have arrived, so on a busy machine a held key could
# act twice.
start_xvfb() {
  stop_demo
  [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  : >"$work_dir/display"
  exec 3>"$work_dir/display"
  Xvfb -displayfd 3 -screen 0 "${2:-640x480}x$1" -nolisten tcp -noreset -r >/dev/null 2>&1 &
  xvfb_pid=$!
  exec 3>&-
  wait_for test -s "$work_dir/display"
  export DISPLAY=":$(head -n1 "$work_dir/display")"
}

# spawn_demo [ENV-OPTIONS] [NAME=VALUE...] BINARY [ARGUMENTS...]: starts the
# demo with its environment changed as env(1) changes it, its output in
# work_dir.
spawn_demo() {
  stop_demo
  ASAN_OPTIONS=detect_leaks=0 env "$@" >"$work_dir/stdout" 2>"$work_dir/stderr" &
  demo_pid=$!
}

# run_demo [NAME=VALUE...] BINARY [ARGUMENTS...]: spawn_demo, then waits
# for its window and checks the library it runs on.
run_demo() {
  spawn_demo "$@"
  find_window && check_sdl_library
}

# start_demo BINARY [ARGUMENTS...]: runs the demo silently.
start_demo() { run_demo SDL_AUDIODRIVER=dummy "$@"; }

# start_demo_recording BINARY RAWFILE: runs the demo with SDL's disk audio
# driver writing its sound to RAWFILE, one 4096-value buffer (93 ms) about
# every 92 ms.
start_demo_recording() {
  run_demo SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$2" SDL_DISKAUDIODELAY=92 "$1"
}

demo_ended() { ! kill -0 "$demo_pid" 2>/dev/null; }

# settled_window: true once two searches in a row find the same visible
# window captioned KELP4090, or the demo has ended; sets window. A search
# fails when a window it looks at vanishes (xdotool stops at the X error),
# and sdl12-compat makes and drops windows of its own while it sets up.
settled_window() {
  local found
  demo_ended && return 0
  found=$(xdotool search --onlyvisible --name '^KELP4090$' 2>/dev/null | head -n1)
  [[ -n "$found" && "$found" == "$window" ]] && return 0
  window=$found
  return 1
}

# find_window: waits for the demo's window; sets window.
find_window() {
  window=""
  wait_for settled_window && ! demo_ended
}

# current_window: true while the window found last is still there, or once
# a new search finds the demo's window again; sets window. sdl12-compat may
# replace the window it showed first (it does so for fullscreen).
current_window() {
  xdotool getwindowname "$window" >/dev/null 2>&1 || find_window
}

# window_size: the window's width x height.
window_size() {
  current_window && xdotool getwindowgeometry "$window" 2>/dev/null | grep -o '[0-9]*x[0-9]*$'
}

# hold_until KEY COMMAND...: holds KEY down on the window until COMMAND
# succeeds. The demo acts on a key still held when a frame ends, once; a
# press released before then is lost, so the key stays down until its
# effect shows, however long a busy machine keeps the demo from its frame.
hold_until() {
  local key=$1 seen=0
  shift
  current_window && xdotool windowfocus "$window" 2>/dev/null
  xdotool keydown "$key"
  wait_for "$@" || seen=1
  xdotool keyup "$key"
  return "$seen"
}

# wait_exit: waits for the demo to end; sets exit_status.
wait_exit() {
  if ! wait_for demo_ended; then
    exit_status="still running"
    return 1
  fi
  wait "$demo_pid"
  exit_status=$?
  demo_pid=""
}

# quit KEY: holds KEY until the demo has ended; sets exit_status.
quit() {
  hold_until "$1" demo_ended
  wait_exit
}

# signals_restored: the demo has given SIGINT and SIGTERM back their default
# action, which SDL's start-up had turned into a quit event the demo ignores.
signals_restored() {
  local caught
  caught=$(awk '/^SigCgt:/ { print $2 }' "/proc/$demo_pid/status" 2>/dev/null) || return 1
  [[ -n "$caught" ]] && (((0x$caught & 0x4002) == 0))
}

# has_sound RAW: the recording holds a value other than 0.
has_sound() {
  [[ -s "$1" ]] && ! cmp -s -n "$(stat -c %s "$1")" "$1" /dev/zero
}

# --- what a grab must show ---
# grab PNG: the window as a PNG picture.
grab() {
  current_window && xwd -silent -id "$window" -out "$work_dir/grab.xwd" 2>/dev/null && convert "$work_dir/grab.xwd" "$1"
}

# grabbed CHECK: grabs the window into work_dir/grab.png and runs CHECK on
# the grab sampled down to 256x256 (one pixel of every block at a scale),
# work_dir/frame.png.
grabbed() {
  grab "$work_dir/grab.png" && convert "$work_dir/grab.png" -sample 256x256 "$work_dir/frame.png" &&
    "$1" "$work_dir/frame.png"
}

# At 16 bits a channel keeps 5 or 6 bits: the libraries round or cut to
# them (one step of 5 bits is 8.2) and the grab widens them back.
rounding_16_bits=12

# colour_near #RRGGBB #RRGGBB MOST: true when no channel differs by more than MOST.
colour_near() {
  local a=$1 b=$2 at
  [[ "$a" =~ ^#[0-9A-Fa-f]{6}$ && "$b" =~ ^#[0-9A-Fa-f]{6}$ ]] || return 1
  for at in 1 3 5; do
    local d=$((16#${a:at:2} - 16#${b:at:2}))
    ((d <= $3 && -d <= $3)) || return 1
  done
}

# tile_counts PNG: its black pixels and its clearly blue ones.
tile_counts() {
  convert "$1" -depth 8 rgb:- | od -An -v -tu1 -w3 |
    awk '$3 > $1 + 16 && $3 > $2 + 16 { blue++ } $1 + $2 + $3 == 0 { black++ } END { print black + 0, blue + 0 }'
}

# shows_tiles PNG: true when the 256x256 picture shows the first part, which
# covers the screen with blue tiles under the logo and the giant letters: a
# good share of blue, and no black beyond its darkest pixels, which 16 bits
# round to black (up to 66 in a frame), and short of two missing rows.
shows_tiles() {
  local black blue
  read -r black blue < <(tile_counts "$1")
  [[ "$black" -lt 512 && "$blue" -gt 6000 ]]
}

# corner_marks PNG: the colours of part two's four L-shaped corner marks,
# each arm of 16 pixels from the corner outwards.
corner_marks() {
  local arm crops=()
  for arm in 16x1+0+0 1x16+0+0 16x1+240+0 1x16+255+0 16x1+0+255 1x16+0+240 16x1+240+255 1x16+255+240; do
    crops+=(\( -clone 0 -crop "$arm" \))
  done
  convert "$1" "${crops[@]}" -delete 0 -depth 8 txt:- 2>/dev/null | grep -o '#[0-9A-F]\{6\}' | tr '\n' ' '
}

# shows_part_two PNG: the 256x256 picture has part two's corner marks: the
# same 16 different colours along the top and down the left edge.
shows_part_two() {
  local marks
  read -ra marks <<<"$(corner_marks "$1")"
  ((${#marks[@]} == 128)) && [[ "${marks[*]:0:16}" == "${marks[*]:16:16}" ]] &&
    (($(printf '%s\n' "${marks[@]:0:16}" | sort -u | wc -l) == 16))
}
# --- end of what a grab must show ---
