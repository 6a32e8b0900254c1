#!/usr/bin/env bash
# Plants small faults in a copy of the sources, one at a time, and counts
# how many of them the test suite catches.
#
#   tools/mutants.sh            every fault in the table
#   tools/mutants.sh NAME...    only the named faults
#
# The copy lives in build/mutants/src with one sanitizer test build beside
# it, so each fault costs an incremental build and a ctest run that stops at
# the first failing case. A fault whose copy no longer builds is reported as
# such and does not count as caught. A fault whose old text is not found
# exactly once stops the script before anything runs: the table has to be
# kept in step with the code. MUTANT_WORK names another place under the
# tree for the copy, so two runs can go side by side.
set -euo pipefail
export LC_ALL=C

root=$(cd "$(dirname "$0")/.." && pwd)
work=$root/${MUTANT_WORK:-build/mutants}
src=$work/src
build=$work/build
jobs=${JOBS:-2}
case_timeout=${MUTANT_TIMEOUT:-120}

names=()
areas=()
files=()
olds=()
news=()

# fault NAME AREAS FILE OLD NEW: replace the one occurrence of OLD in FILE
# by NEW, then run the tests of the AREAS (space-separated names below).
fault()
{
    names+=("$1")
    areas+=("$2")
    files+=("$3")
    olds+=("$4")
    news+=("$5")
}

# Each area: the test cases it runs and the programs holding them. A fault
# is tried against the tests of its own area and of the parts built on it;
# only those programs are rebuilt, so none of them ever runs stale. The
# whole-program runs (the ring, the capture tool, the Xvfb runs) take most
# of the suite's time and check sameness between runs rather than values,
# so they are left out; MUTANT_ALL=1 builds and runs everything for every
# fault.
declare -A area_tests area_programs
area_tests[gfx]='Img[A-Za-z]*|ByteMap|PnmReader|PnmWriter|LineTables|Vec2D|SineTable|Asset[A-Za-z]*'
area_programs[gfx]='gfx_tests pnm_tests bytemap_tests assets_tests'
area_tests[fx]='Font|Raster|Disty|Scroll|ScrollXL|Stars|Stars3D|Spirals|Cursor|CursorX'
area_programs[fx]='fx_tests fxa_tests fxb_tests'
area_tests[sound]='Sample|SampleRaw|SampleText|Array|AudioCallback|AudioDevice|Music|MusicStep'
area_programs[sound]='sound_tests audio_tests'
area_tests[platform]='Display|DisplayPresent|Fps|Keyboard|StandinAudio'
area_programs[platform]='platform_tests'
area_tests[demo]='FrameLoop|FrameLoopExit|PartBobs|PartTiles|PartBubbles|HeartsPart|SpiralsPart|FrameRateOverlay|MusicPath'
area_programs[demo]='demo_tests part_bobs_tests part_tiles_tests part_bubbles_tests part_spirals_tests part_hearts_tests music_path_tests'

# Sets `regex` and `programs` for the space-separated area names.
select_areas()
{
    local area alternatives=()
    programs=()
    for area in $1; do
        alternatives+=("${area_tests[$area]}")
        read -r -a more <<<"${area_programs[$area]}"
        programs+=("${more[@]}")
    done
    regex="^($(IFS='|'; echo "${alternatives[*]}"))\\."
    if [ -n "${MUTANT_ALL:-}" ]; then
        regex=.
        programs=(all)
    fi
}

# --- The faults --------------------------------------------------------------
# gfx
fault clip-left-off-by-one      "gfx fx"         gfx/copy_clip.h \
    'axis.length += axis.dst;' \
    'axis.length += axis.dst + 1;'
fault clip-right-off-by-one     "gfx fx"         gfx/copy_clip.h \
    'axis.length = std::min(axis.length, dst_size - axis.dst);' \
    'axis.length = std::min(axis.length, dst_size - axis.dst + 1);'
fault inside-lt-as-le           "gfx fx"         gfx/grid.h \
    'x < grid->width && y < grid->height' \
    'x <= grid->width && y < grid->height'
fault copy-rows-bottom-up       "gfx fx"         gfx/grid_draw.h \
    'for (int64_t j = 0; j < down.length; j++) {' \
    'for (int64_t j = down.length - 1; j >= 0; j--) {'
fault wrap-negative-start       "gfx fx"         gfx/grid_draw.h \
    'const int32_t start = rest < 0 ? rest + dst_length : rest;' \
    'const int32_t start = rest < 0 ? 0 : rest;'
fault rotate-size-shift         "gfx fx"         gfx/grid_transform.h \
    'const auto width = static_cast<int32_t>((92667 * int64_t{src->width}) >> 16);' \
    'const auto width = static_cast<int32_t>((92667 * int64_t{src->width}) >> 17);'
fault blend-mask                "gfx fx"         gfx/img_draw.cpp \
    'return ((s >> 1) & 0x7F7F7F) + ((d >> 1) & 0x7F7F7F);' \
    'return ((s >> 1) & 0xFFFFFF) + ((d >> 1) & 0x7F7F7F);'
fault fade-green-shift          "gfx demo"      gfx/img_draw.cpp \
    'fade_channel(p, 0x00FF00, a << 8)' \
    'fade_channel(p, 0x00FF00, a << 7)'
# sound
fault music-draw-order          "sound demo"    sound/music.cpp \
    $'const int32_t index = rand() % music->waves->count;\n    const int32_t offset = random_offset(music->block->count);' \
    $'const int32_t offset = random_offset(music->block->count);\n    const int32_t index = rand() % music->waves->count;'
fault music-mix-shift           "sound demo"    sound/music.cpp \
    'sample_sar(block, 2);' \
    'sample_sar(block, 1);'
fault resample-shrink-lt        "sound"          sound/sample_math.cpp \
    'if (err <= 0) {' \
    'if (err < 0) {'
fault best-offset-last          "sound"          sound/sample_math.cpp \
    'if (matches > best_matches) {' \
    'if (matches >= best_matches) {'
fault rotate-right-as-left      "sound"          sound/sample_edit.cpp \
    'std::rotate(sample->data, end - rotation(sample, amount), end);' \
    'std::rotate(sample->data, sample->data + rotation(sample, amount), end);'
fault insert-at-end-refused     "sound"          sound/sample_edit.cpp \
    'return index >= 0 && index <= sample->count;' \
    'return index >= 0 && index < sample->count;'
fault audio-high-byte-shift     "sound"          sound/audio.cpp \
    'out[1] = static_cast<uint8_t>((bits >> 8) & 0xFF);' \
    'out[1] = static_cast<uint8_t>((bits >> 7) & 0xFF);'
fault array-self-insert-memcpy  "sound"          sound/array.cpp \
    'memmove(dst->data + at, src->data + from, inserted * sizeof(void*));' \
    'memcpy(dst->data + at, src->data + from, inserted * sizeof(void*));'
# fx
fault cursor-negative-wrap      "fx"             fx/cursor.cpp \
    'wrapped < 0 ? wrapped + cursor->length : wrapped' \
    'wrapped < 0 ? 0 : wrapped'
fault stars-draw-order          "fx demo"       fx/stars.cpp \
    $'stars->points[i].x = fixed(rand() % stars->width);\n        stars->points[i].y = fixed(rand() % stars->height);' \
    $'stars->points[i].y = fixed(rand() % stars->height);\n        stars->points[i].x = fixed(rand() % stars->width);'
fault raster-smooth-divisor     "fx"             fx/raster.cpp \
    'sum / (2 * (int64_t{radius} + 1))' \
    'sum / (2 * int64_t{radius} + 1)'
fault scroll-back-carry         "fx demo"       fx/scroll.cpp \
    'cursor->step = wrapping_add(moved / cell_width, -1);' \
    'cursor->step = moved / cell_width;'
# platform
fault fps-frame-opens-second    "platform"       platform/fps.cpp \
    'clock.frames_this_second = 1;' \
    'clock.frames_this_second = 0;'
fault keyboard-key-mask         "platform demo" platform/keyboard.cpp \
    'event.key.keysym.sym & 0xFF' \
    'event.key.keysym.sym & 0x7F'
# demo
fault fade-skips-a-frame        "demo"           demo/demo.cpp \
    'for (int32_t step = 0; step < demo_fade_steps; ++step) {' \
    'for (int32_t step = 1; step < demo_fade_steps; ++step) {'
fault key-8-dropped             "demo"           demo/demo.cpp \
    "case '8': switches[0] ^= 1; break;" \
    "case '8': break;"
fault tiles-brick-mask          "demo"           demo/part_tiles.cpp \
    'const int32_t brick = rand() & 7;' \
    'const int32_t brick = rand() & 3;'
fault bobs-step-draw-order      "demo"           demo/part_bobs.cpp \
    $'wave.frame_step = (rand() & step_mask) + step_base;\n    wave.bob_step = (rand() & step_mask) + step_base;' \
    $'wave.bob_step = (rand() & step_mask) + step_base;\n    wave.frame_step = (rand() & step_mask) + step_base;'
# -----------------------------------------------------------------------------

# Replaces OLD by NEW in FILE when OLD occurs exactly once; otherwise says
# how often it occurs and fails.
substitute()
{
    perl -e '
        my ($path, $old, $new, $mode) = @ARGV;
        local $/;
        open(my $in, "<", $path) or die "$path: $!\n";
        my $text = <$in>;
        close $in;
        my ($found, $at) = (0, 0);
        while (($at = index($text, $old, $at)) >= 0) {
            $found++;
            $at += length($old);
        }
        if ($found != 1) {
            print STDERR "$path: old text found $found times, not once:\n$old\n";
            exit 1;
        }
        if ($mode eq "apply") {
            substr($text, index($text, $old), length($old)) = $new;
            open(my $out, ">", $path) or die "$path: $!\n";
            print $out $text;
            close $out;
        }' -- "$@"
}

selected=()
if [ $# -gt 0 ]; then
    for want in "$@"; do
        hit=
        for i in "${!names[@]}"; do
            [ "${names[$i]}" = "$want" ] && selected+=("$i") && hit=1
        done
        [ -n "$hit" ] || { echo "no fault named $want" >&2; exit 2; }
    done
else
    selected=("${!names[@]}")
fi

# The tracked and new files of the tree (or of commit MUTANT_REV, to
# measure an older suite against the same faults), copied by content with
# fresh time stamps, so whatever an interrupted run left behind in the copy
# gets rebuilt.
sync_copy()
{
    local from=$root list=$work/files.txt
    if [ -n "${MUTANT_REV:-}" ]; then
        from=$work/tree
        rm -rf "$from" && mkdir -p "$from"
        git -C "$root" archive "$MUTANT_REV" | tar -x -C "$from"
        git -C "$root" ls-tree -r --name-only "$MUTANT_REV" | sort >"$list"
    else
        (cd "$root" && git ls-files -co --exclude-standard) | sort >"$list"
    fi
    while read -r f; do
        [ -f "$from/$f" ] || continue
        mkdir -p "$src/$(dirname "$f")"
        cmp -s "$from/$f" "$src/$f" || cp "$from/$f" "$src/$f"
    done <"$list"
    (cd "$src" && find . -type f | sed 's|^\./||' | sort | comm -23 - "$list" | xargs -r rm -f)
}

mkdir -p "$src"
sync_copy

bad=0
for i in "${selected[@]}"; do
    substitute "$src/${files[$i]}" "${olds[$i]}" "${news[$i]}" check || { echo "fault ${names[$i]}: table out of date" >&2; bad=1; }
done
[ "$bad" -eq 0 ] || exit 2

# ccache, where there is one, makes putting each original back almost free.
if [ -z "${CMAKE_CXX_COMPILER_LAUNCHER:-}" ] && command -v ccache >/dev/null; then
    export CMAKE_CXX_COMPILER_LAUNCHER=ccache
fi
cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELP_TESTS=ON -DKELP_SANITIZE=ON \
    -DKELP_WERROR=ON >/dev/null
# The unchanged copy is built and tested for the areas of the chosen faults.
chosen_areas=$(for i in "${selected[@]}"; do echo "${areas[$i]}"; done | tr ' ' '\n' | sort -u | tr '\n' ' ')
select_areas "$chosen_areas"
echo "building the unchanged copy"
cmake --build "$build" -j "$jobs" --target "${programs[@]}" >"$work/build.log" 2>&1 ||
    { echo "the unchanged copy does not build: $work/build.log" >&2; exit 2; }
echo "running the tests on the unchanged copy"
(cd "$build" && ctest -j "$jobs" --timeout "$case_timeout" -R "$regex" >"$work/ctest.log" 2>&1) ||
    { echo "the unchanged copy fails its tests: $work/ctest.log" >&2; exit 2; }

caught=0
survived=0
broken=0
results=$work/results.txt
: >"$results"
for i in "${selected[@]}"; do
    file=$src/${files[$i]}
    cp -p "$file" "$work/original"
    substitute "$file" "${olds[$i]}" "${news[$i]}" apply
    log=$work/${names[$i]}.log
    select_areas "${areas[$i]}"
    if ! cmake --build "$build" -j "$jobs" --target "${programs[@]}" >"$log" 2>&1; then
        verdict="build failed (not counted as caught)"
        broken=$((broken + 1))
    elif (cd "$build" && ctest -j "$jobs" --timeout "$case_timeout" --stop-on-failure -R "$regex" >>"$log" 2>&1); then
        verdict=survived
        survived=$((survived + 1))
    else
        failed=$(sed -n '/tests FAILED/,$p' "$log" | grep -m1 -oE '[0-9]+ - [A-Za-z0-9_./]+' | sed 's/^[0-9]* - //' || true)
        verdict="caught${failed:+ by $failed}"
        caught=$((caught + 1))
    fi
    # A fresh time stamp, so the next build puts the original back.
    cat "$work/original" >"$file"
    printf '%-26s %-24s %s\n' "${names[$i]}" "${files[$i]}" "$verdict" | tee -a "$results"
done
select_areas "$chosen_areas"
cmake --build "$build" -j "$jobs" --target "${programs[@]}" >"$work/build.log" 2>&1 || true
summary="$caught caught, $survived survived"
[ "$broken" -eq 0 ] || summary="$summary, $broken did not build"
echo "$summary" | tee -a "$results"
