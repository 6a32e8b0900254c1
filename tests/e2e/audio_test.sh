#!/bin/bash
# The real demo's sound through SDL's disk audio driver: signed 16-bit mono
# at 44100 Hz, not silent, and from its first sound on the 40000-value loop
# repeating without a gap. The loop changes at its second update (frame
# 301, at least 6 s after the first frame); three loops of sound (2.7 s)
# are recorded well before, and the demo is then ended.
# Usage: audio_test.sh path/to/kelp4090
demo=$1
source "$(dirname "$0")/xvfb.sh"

rate=44100
loop_bytes=80000
loops=3
raw="$work_dir/sound.raw"

# sound_bounds RAW: byte offsets of the first non-zero value and just past the last one.
sound_bounds() {
  od -An -v -td2 -w2 "$1" |
    awk '$1 != 0 { if (!first) first = NR; last = NR } END { print (first ? 2 * (first - 1) : 0), 2 * last }'
}

# holds_loops RAW: the recording holds $loops loops from its first sound on,
# in each of its channels.
holds_loops() {
  local first end
  read -r first end < <(sound_bounds "$1")
  ((end > 0 && $(stat -c %s "$1") >= first + loops * loop_bytes * disk_audio_channels))
}

# sox_stat RAW NAME: one figure of sox's statistics of the recording.
sox_stat() {
  sox -t raw -r "$rate" -e signed -b 16 -c 1 -L "$1" -n stat 2>&1 | awk -v name="$2" -F': *' '$1 ~ name { print $2 }'
}

at_least() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a >= b) }'; }

start_xvfb 24
if start_demo_recording "$demo" "$raw"; then
  wait_for holds_loops "$raw" && pass "$loops loops of sound recorded" || fail "no $loops loops of sound recorded"
  quit q
  [[ "$exit_status" == 0 ]] && pass "q ends the demo with status 0" || fail "q: $exit_status"
else
  fail "no window appeared: $(cat "$work_dir/stderr")"
fi
[[ -s "$raw" ]] || { fail "the disk driver wrote nothing"; exit 1; }
if ((disk_audio_channels == 2)); then
  differing=$(od -An -v -td2 -w4 "$raw" | awk '$1 != $2 { n++ } END { print n + 0 }')
  ((differing == 0)) && pass "both channels carry the same sound" || fail "$differing stereo frames differ"
  sox -D -t raw -r "$rate" -e signed -b 16 -c 2 -L "$raw" -t raw "$work_dir/mono.raw" remix 1
  raw="$work_dir/mono.raw"
fi

rms=$(sox_stat "$raw" '^RMS +amplitude')
echo "recorded $(sox_stat "$raw" '^Length') s at $rate Hz, RMS amplitude $rms, maximum $(sox_stat "$raw" '^Maximum amplitude')"
at_least "$rms" 0.001 && pass "the sound is not silent" || fail "RMS amplitude $rms"

read -r first end < <(sound_bounds "$raw")
span=$(((loops - 1) * loop_bytes))
if ((end < first + loops * loop_bytes)); then
  fail "too little sound to compare: bytes $first to $end"
elif cmp -s -i "$first:$((first + loop_bytes))" -n "$span" "$raw" "$raw"; then
  pass "the loop repeats without a gap for $((span / 2)) values"
else
  byte=$(cmp -i "$first:$((first + loop_bytes))" -n "$span" "$raw" "$raw" | grep -o 'byte [0-9]*' | cut -d' ' -f2)
  fail "a loop heard from value $(((first + byte - 1) / 2 + loop_bytes / 2)) on differs from the one before it"
fi

exit $((failures > 0))
