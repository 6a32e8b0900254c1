# Helpers for driving the demo under a private Xvfb server. Sourced by the
# end-to-end tests.

failures=0
work_dir=$(mktemp -d)
xvfb_pid=""
demo_pid=""

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

cleanup() {
  [[ -n "$demo_pid" ]] && kill -9 "$demo_pid" 2>/dev/null
  [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work_dir"
}
trap cleanup EXIT

# start_xvfb DEPTH [SIZE]: a server of its own on a free display number,
# 640x480 unless SIZE says otherwise. It must not reset when its last client
# leaves: SDL probes the display with a connection of its own first, and the
# demo's real one would meet a server in the middle of its reset.
start_xvfb() {
  [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  exec 3>"$work_dir/display"
  Xvfb -displayfd 3 -screen 0 "${2:-640x480}x$1" -nolisten tcp -noreset >/dev/null 2>&1 &
  xvfb_pid=$!
  exec 3>&-
  for _ in $(seq 100); do
    [[ -s "$work_dir/display" ]] && break
    sleep 0.1
  done
  export DISPLAY=":$(head -n1 "$work_dir/display")"
}

# start_demo BINARY: runs the demo silently and waits for its window.
start_demo() {
  SDL_AUDIODRIVER=dummy ASAN_OPTIONS=detect_leaks=0 "$1" >"$work_dir/stdout" 2>"$work_dir/stderr" &
  demo_pid=$!
  window=$(timeout 20 xdotool search --sync --onlyvisible --name '^KELP4090$' | head -n1)
  [[ -n "$window" ]] && check_sdl_library
}

# press KEY: focuses the window and holds the key for a few frames, as a
# person does; a press and release between two frames would be lost.
press() {
  xdotool windowfocus "$window"
  xdotool keydown "$1"
  sleep 0.1
  xdotool keyup "$1"
}

# wait_exit SECONDS: waits for the demo to end; sets exit_status.
wait_exit() {
  local deadline=$((SECONDS + $1))
  while kill -0 "$demo_pid" 2>/dev/null && ((SECONDS < deadline)); do
    sleep 0.05
  done
  if kill -0 "$demo_pid" 2>/dev/null; then
    exit_status="still running"
    return 1
  fi
  wait "$demo_pid"
  exit_status=$?
  demo_pid=""
}

# grab PNG: the window as a PNG picture.
grab() {
  xwd -silent -id "$window" -out "$work_dir/grab.xwd" && convert "$work_dir/grab.xwd" "$1"
}

# --- recording the demo's sound (audio_test.sh) ---
# start_demo_recording BINARY RAWFILE: runs the demo with SDL's disk audio
# driver writing its sound to RAWFILE, one 4096-value buffer (93 ms) about
# every 92 ms, and waits for its window.
start_demo_recording() {
  SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$2" SDL_DISKAUDIODELAY=92 ASAN_OPTIONS=detect_leaks=0 \
    "$1" >"$work_dir/stdout" 2>"$work_dir/stderr" &
  demo_pid=$!
  window=$(timeout 20 xdotool search --sync --onlyvisible --name '^KELP4090$' | head -n1)
  [[ -n "$window" ]] && check_sdl_library
}
# --- end of recording the demo's sound ---

# --- the SDL library under test ---
# With KELP_SDL12_COMPAT naming a folder that holds sdl12-compat's
# libSDL-1.2.so.0, every program this test starts loads that library in
# front of the classic one; without it, the classic SDL 1.2.
sdl_library=classic
if [[ -n "${KELP_SDL12_COMPAT:-}" ]]; then
  if [[ ! -e "$KELP_SDL12_COMPAT/libSDL-1.2.so.0" ]]; then
    echo "FAIL: no sdl12-compat in $KELP_SDL12_COMPAT (make test unpacks it there)"
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

# --- what a grab must show ---
# At 16 bits a channel keeps 5 or 6 bits: the libraries round or cut to
# them (one step of 5 bits is 8.2) and the grab widens them back.
rounding_16_bits=12

# tile_counts PNG: its black pixels and its clearly blue ones, counted as
# the grey and the white of a picture that classifies every pixel.
tile_counts() {
  convert "$1" -channel R -fx 'b > r + 16/255 && b > g + 16/255 ? 1 : (r + g + b == 0 ? 0.5 : 0)' +channel \
    -separate -delete 1,2 -format '%c' histogram:info:- |
    awk '/#808080/ { black = $1 } /#FFFFFF/ { blue = $1 } END { print black + 0, blue + 0 }'
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

# wait_for_tiles: waits up to 20 s for the window to show the first
# part, which it does once start-up and the fade from black are over and
# keys act.
wait_for_tiles() {
  local deadline=$((SECONDS + 20))
  while ((SECONDS < deadline)); do
    grab "$work_dir/waiting.png" && convert "$work_dir/waiting.png" -sample 256x256 "$work_dir/waiting.png" &&
      shows_tiles "$work_dir/waiting.png" && return 0
    sleep 0.1
  done
  return 1
}

# hold_until KEY CHECK...: holds KEY down until CHECK succeeds, for up to
# 20 s. Held, a key acts once however long; released too soon, it can fall
# between two frames of a busy demo and be lost.
hold_until() {
  local key=$1 deadline=$((SECONDS + 20)) seen=1
  shift
  xdotool windowfocus "$window"
  xdotool keydown "$key"
  while ((SECONDS < deadline)); do
    "$@" && seen=0 && break
    sleep 0.1
  done
  xdotool keyup "$key"
  return $seen
}

# colour_near #RRGGBB #RRGGBB MOST: true when no channel differs by more than MOST.
colour_near() {
  local a=$1 b=$2 at
  [[ "$a" =~ ^#[0-9A-Fa-f]{6}$ && "$b" =~ ^#[0-9A-Fa-f]{6}$ ]] || return 1
  for at in 1 3 5; do
    local d=$((16#${a:at:2} - 16#${b:at:2}))
    ((d <= $3 && -d <= $3)) || return 1
  done
}
# --- end of what a grab must show ---
