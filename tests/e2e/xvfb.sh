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
  window=$(timeout 20 xdotool search --sync --name '^KELP4090$' | head -n1)
  [[ -n "$window" ]]
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
  window=$(timeout 20 xdotool search --sync --name '^KELP4090$' | head -n1)
  [[ -n "$window" ]]
}
# --- end of recording the demo's sound ---
