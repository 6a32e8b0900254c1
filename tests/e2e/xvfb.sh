# Helpers for driving the demo under a private Xvfb server. Sourced by the
# end-to-end tests. Every wait is for something to happen, up to a deadline
# far beyond what it takes on a busy machine.

failures=0
work_dir=$(mktemp -d)
xvfb_pid=""
demo_pid=""
deadline_seconds=60

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

cleanup() {
  [[ -n "$demo_pid" ]] && kill -9 "$demo_pid" 2>/dev/null
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

# start_xvfb DEPTH [SIZE]: a server of its own on a free display number,
# 640x480 unless SIZE says otherwise. It must not reset when its last client
# leaves: SDL probes the display with a connection of its own first, and the
# demo's real one would meet a server in the middle of its reset. Nor may it
# repeat held keys: its repeats come as release and press pairs, which SDL
# drops only when both have arrived, so on a busy machine a held key could
# act twice.
start_xvfb() {
  [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  : >"$work_dir/display"
  exec 3>"$work_dir/display"
  Xvfb -displayfd 3 -screen 0 "${2:-640x480}x$1" -nolisten tcp -noreset -r >/dev/null 2>&1 &
  xvfb_pid=$!
  exec 3>&-
  wait_for test -s "$work_dir/display"
  export DISPLAY=":$(head -n1 "$work_dir/display")"
}

# start_demo BINARY [ARGUMENTS...]: runs the demo silently and waits for its window.
start_demo() {
  SDL_AUDIODRIVER=dummy ASAN_OPTIONS=detect_leaks=0 "$@" >"$work_dir/stdout" 2>"$work_dir/stderr" &
  demo_pid=$!
  find_window
}

# find_window: waits for the demo's window; sets window.
find_window() {
  window=$(timeout "$deadline_seconds" xdotool search --sync --name '^KELP4090$' | head -n1)
  [[ -n "$window" ]]
}

demo_ended() { ! kill -0 "$demo_pid" 2>/dev/null; }

# hold_until KEY COMMAND...: holds KEY down on the window until COMMAND
# succeeds. The demo acts on a key still held when a frame ends, once; a
# press released before then is lost, so the key stays down until its
# effect shows, however long a busy machine keeps the demo from its frame.
hold_until() {
  local key=$1 seen=0
  shift
  xdotool windowfocus "$window"
  xdotool keydown "$key"
  wait_for "$@" || seen=1
  xdotool keyup "$key"
  return "$seen"
}

# quit KEY: holds KEY until the demo has ended; sets exit_status.
quit() {
  hold_until "$1" demo_ended
  wait_exit
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

# signals_restored: the demo has given SIGINT and SIGTERM back their default
# action, which SDL's start-up had turned into a quit event the demo ignores.
signals_restored() {
  local caught
  caught=$(awk '/^SigCgt:/ { print $2 }' "/proc/$demo_pid/status" 2>/dev/null) || return 1
  [[ -n "$caught" ]] && (((0x$caught & 0x4002) == 0))
}

# grab PNG: the window as a PNG picture.
grab() {
  xwd -silent -id "$window" -out "$work_dir/grab.xwd" && convert "$work_dir/grab.xwd" "$1"
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

# has_sound RAW: the recording holds a value other than 0.
has_sound() {
  [[ -s "$1" ]] && ! cmp -s -n "$(stat -c %s "$1")" "$1" /dev/zero
}

# --- recording the demo's sound (audio_test.sh) ---
# start_demo_recording BINARY RAWFILE: runs the demo with SDL's disk audio
# driver writing its sound to RAWFILE, one 4096-value buffer (93 ms) about
# every 92 ms, and waits for its window.
start_demo_recording() {
  SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$2" SDL_DISKAUDIODELAY=92 ASAN_OPTIONS=detect_leaks=0 \
    "$1" >"$work_dir/stdout" 2>"$work_dir/stderr" &
  demo_pid=$!
  find_window
}
# --- end of recording the demo's sound ---
