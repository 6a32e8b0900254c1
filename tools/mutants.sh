#!/usr/bin/env bash
# Plants small faults in a copy of the sources, one at a time, and counts
# how many of them the test suite catches.
#
#   tools/mutants.sh            every fault in the table
#   tools/mutants.sh NAME...    only the named faults
#
# The copy lives in build/mutants/src with one sanitizer test build beside
# it, so each fault costs an incremental build and a ctest run that stops at
# the first failing case; faults in the browser glue cost an emscripten
# build of the copy and the browser test (tests/web/web_test.mjs). A fault
# whose copy no longer builds is reported as such and does not count as
# caught. A fault whose old text is not found exactly once stops the script
# before anything runs: the table has to be kept in step with the code.
# MUTANT_WORK names another place under the tree for the copy, so two runs
# can go side by side.
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

# Each area: the test cases it runs (test suites, or whole test names with
# their dot) and the programs holding them. A fault is tried against the
# tests of its own area and of the parts built on it; only those programs
# are rebuilt, so none of them ever runs stale. The generated pictures, the
# texts and the wave table are checked against the stored references by
# their own tests; the encoder by the capture program's video and still
# tests; the browser glue (area web) by the browser test against the same
# references. The slowest whole-program runs (the ring, the Xvfb runs) are
# left out; MUTANT_ALL=1 builds and runs every ctest case for every fault.
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
area_tests[pictures]='AssetDecode|AssetFont'
area_programs[pictures]='assets_tests'
area_tests[texts]='AssetTexts|AssetSpinTable|AssetDecode'
area_programs[texts]='assets_tests'
area_tests[waves]='WaveTable|Synth'
area_programs[waves]='waves_tests'
area_tests[encoder]='CapturePicture|CaptureProgram\.(VideoKeeps|StillsAndSound)[A-Za-z0-9]*'
area_programs[encoder]='capture_tests kelp4090-capture capture_program_tests'
area_tests[scale]='DisplayScale|DisplayPresent'
area_programs[scale]='platform_tests'
area_tests[web]='GlibcRandom'
area_programs[web]='web_tests kelp_waves kelp_assets'

# Sets `regex`, `programs` and `browser` (1 when the browser test runs) for
# the space-separated area names.
select_areas()
{
    local area alternatives=()
    programs=()
    browser=
    for area in $1; do
        alternatives+=("${area_tests[$area]}")
        read -r -a more <<<"${area_programs[$area]}"
        programs+=("${more[@]}")
        [ "$area" != web ] || browser=1
    done
    regex="^($(IFS='|'; echo "${alternatives[*]}"))(\\.|\$)"
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
# pictures and font
fault font-letter-k-pixel       "pictures"       tools/pictures/font8x8.txt \
    $'glyph 75 K\n##..##..' \
    $'glyph 75 K\n##..#...'
fault font-rows-mirrored        "pictures"       tools/pictures/glyphs.cpp \
    'row |= 0x80 >> x;' \
    'row |= 1 << x;'
fault outline-scale2x-flat-and  "pictures"       tools/pictures/glyphs.cpp \
    'const bool flat = up == down || left == right;' \
    'const bool flat = up == down && left == right;'
fault pnm-red-blue-swapped      "pictures"       tools/pictures/canvas.cpp \
    $'file += static_cast<char>(pixel >> 16 & 0xFF);\n        file += static_cast<char>(pixel >> 8 & 0xFF);\n        file += static_cast<char>(pixel & 0xFF);' \
    $'file += static_cast<char>(pixel & 0xFF);\n        file += static_cast<char>(pixel >> 8 & 0xFF);\n        file += static_cast<char>(pixel >> 16 & 0xFF);'
fault block-red-as-blue         "pictures"       tools/pictures/sheet_small.cpp \
    '{0.9f, 0.1f, 0.1f}' \
    '{0.1f, 0.1f, 0.9f}'
fault bubble-glint-one-late     "pictures"       tools/pictures/sheet_small.cpp \
    '(step >= 3 && g <' \
    '(step > 3 && g <'
fault window-left-edge          "pictures"       tools/pictures/sheet_window.cpp \
    'constexpr float left = 4.0f;' \
    'constexpr float left = 3.0f;'
fault logo-shadow-offset        "pictures"       tools/pictures/sheet_logo.cpp \
    'constexpr float shadow = 4.0f;' \
    'constexpr float shadow = 3.0f;'
fault heart-paint-top-colour    "pictures"       tools/pictures/sheet_sprites.cpp \
    '{1.0f, 0.35f, 0.55f}' \
    '{1.0f, 0.55f, 0.35f}'
# texts
fault big-scroll-letter         "texts"          demo/assets_texts.cpp \
    'ELECTRONIC/HOUSE MUSIC!' \
    'ELECTRONIC/HOUSE MUSIC?'
fault greeting-letter           "texts"          demo/assets_texts.cpp \
    'KRILL KOMMANDO' \
    'KRILL COMMANDO'
fault grid-letter               "texts"          demo/assets_texts.cpp \
    '"TIDE@EXAMPLE.ORG"' \
    '"TIDE@EXAMPLE.COM"'
fault hearts-scroll-letter      "texts"          demo/assets_texts.cpp \
    '"- this sine wave scroller \n"' \
    '"- this sine wave scroler \n"'
fault spin-table-sign           "texts"          demo/assets_texts.cpp \
    $'    -2,  -6,  -9, -12,' \
    $'     2,  -6,  -9, -12,'
# wave synthesis
fault note-a440-off-by-one      "waves"          tools/waves/oscillators.cpp \
    'std::exp2((note - 69) / 12.0)' \
    'std::exp2((note - 68) / 12.0)'
fault saw-blep-sign             "waves"          tools/waves/oscillators.cpp \
    'return 2.0 * phase - 1.0 - poly_blep(phase, step);' \
    'return 2.0 * phase - 1.0 + poly_blep(phase, step);'
fault fade-in-starts-high       "waves"          tools/waves/envelopes.cpp \
    'return 0.5 - 0.5 * std::cos(std::numbers::pi * t / attack);' \
    'return 0.5 + 0.5 * std::cos(std::numbers::pi * t / attack);'
fault highpass-numerator-sign   "waves"          tools/waves/filters.cpp \
    'b0 = b2 = -b1 / 2.0;' \
    'b0 = b2 = b1 / 2.0;'
fault noise-shift               "waves"          tools/waves/noise.cpp \
    'x ^= x >> 17;' \
    'x ^= x >> 15;'
fault clap-gap                  "waves"          tools/waves/kit.cpp \
    '.clap_gap = 0.010,' \
    '.clap_gap = 0.011,'
fault lay-rounds-toward-zero    "waves"          tools/waves/sequencer.cpp \
    'loop[j] = (3 * loop[j] + placed[j]) >> 2;' \
    'loop[j] = (3 * loop[j] + placed[j]) / 4;'
fault table-count-short         "waves"          tools/waves/table_writer.cpp \
    '"const int32_t wave_count = " << waves.size()' \
    '"const int32_t wave_count = " << waves.size() - 1'
# capture encoder
fault encoder-primaries-tag     "encoder"        tools/capture/capture_ffmpeg.cpp \
    '"-color_primaries", "bt709"' \
    '"-color_primaries", "bt470bg"'
fault encoder-blue-reads-red    "encoder"        tools/capture/capture_picture.cpp \
    'return rgb & 0xFF;' \
    'return (rgb >> 16) & 0xFF;'
fault encoder-full-range-luma   "encoder"        tools/capture/capture_picture.cpp \
    'constexpr int64_t luma_black = 16;' \
    'constexpr int64_t luma_black = 0;'
fault encoder-enlarged-rows     "encoder"        tools/capture/capture_picture.cpp \
    'for (int32_t copy = 1; copy < layout.scale; ++copy) {' \
    'for (int32_t copy = 1; copy < layout.scale - 1; ++copy) {'
# scaled present
fault scale-centre-unscaled     "scale"          platform/display.cpp \
    'placement.top = std::max(0, (window_surface->h - height * placement.scale) / 2);' \
    'placement.top = std::max(0, (window_surface->h - height) / 2);'
fault scale-block-rows          "scale"          platform/display.cpp \
    'for (int32_t copy = 1; copy < scale; ++copy) {' \
    'for (int32_t copy = 1; copy < scale - 1; ++copy) {'
fault scale-block-width         "scale"          platform/display.cpp \
    'std::fill_n(out + x * scale, scale, map(in[x]));' \
    'std::fill_n(out + x * scale, scale - 1, map(in[x]));'
fault fullscreen-mode-max-side  "scale"          platform/display.cpp \
    'const int32_t scale = std::min(mode.w / width, mode.h / height);' \
    'const int32_t scale = std::max(mode.w / width, mode.h / height);'
# browser glue
fault web-stops-a-frame-early   "web"            web/web_sdl.cpp \
    'web_run.stop_presents = uint64_t{frame} + 1;' \
    'web_run.stop_presents = uint64_t{frame};'
fault web-scripted-key-late     "web"            web/web_sdl.cpp \
    'scripted_keys.push_back({frame, symbol});' \
    'scripted_keys.push_back({frame + 1, symbol});'
fault web-sound-half-kept       "web"            web/web_sound.cpp \
    'const size_t count = sound.stream.size() / 2;' \
    'const size_t count = sound.stream.size() / 4;'
fault page-hash-red-blue        "web"            web/index.html \
    'bytes[i] = rgba[i + 2];' \
    'bytes[i] = rgba[i];'
fault page-scale-rounds-up      "web"            web/index.html \
    'Math.floor(Math.min(width, height) * ratio / side)' \
    'Math.ceil(Math.min(width, height) * ratio / side)'
fault glibc-random-drops        "web"            web/glibc_random.cpp \
    'constexpr uint32_t dropped_draws = 310;' \
    'constexpr uint32_t dropped_draws = 311;'
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

# The browser build of the copy: emscripten compiles the modules and the
# glue, with the pictures and the wave table the sanitizer build generated.
build_web()
{
    local env=(env NODE_PATH=/usr/share/nodejs)
    if [ ! -f "$work/web-cmake/CMakeCache.txt" ]; then
        "${env[@]}" emcmake cmake -S "$src/web" -B "$work/web-cmake" -DKELP_GENERATED="$build/tools" \
            -DKELP_WEB_OUT="$work/web" -DKELP_WERROR=ON >/dev/null || return 1
    fi
    "${env[@]}" cmake --build "$work/web-cmake" -j "$jobs"
}

# The areas' programs, and the browser build when the browser test runs.
build_programs()
{
    cmake --build "$build" -j "$jobs" --target "${programs[@]}" && { [ -z "$browser" ] || build_web; }
}

# The areas' ctest cases (with any further ctest options), then the browser
# test, whose packages the copy borrows from the tree.
run_tests()
{
    (cd "$build" && ctest -j "$jobs" --timeout "$case_timeout" "$@" -R "$regex") || return 1
    [ -n "$browser" ] || return 0
    ln -sfn "$root/tests/web/node_modules" "$src/tests/web/node_modules"
    node "$src/tests/web/web_test.mjs" "$src/tests/reference" "$work/web"
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
build_programs >"$work/build.log" 2>&1 ||
    { echo "the unchanged copy does not build: $work/build.log" >&2; exit 2; }
echo "running the tests on the unchanged copy"
run_tests >"$work/ctest.log" 2>&1 ||
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
    if ! build_programs >"$log" 2>&1; then
        verdict="build failed (not counted as caught)"
        broken=$((broken + 1))
    elif run_tests --stop-on-failure >>"$log" 2>&1; then
        verdict=survived
        survived=$((survived + 1))
    else
        failed=$(sed -n '/tests FAILED/,$p' "$log" | grep -m1 -oE '[0-9]+ - [A-Za-z0-9_./]+' | sed 's/^[0-9]* - //' ||
                 true)
        [ -n "$failed" ] || failed=$(grep -m1 '^not ok - ' "$log" | sed 's/^not ok - /the browser test: /' || true)
        verdict="caught${failed:+ by $failed}"
        caught=$((caught + 1))
    fi
    # A fresh time stamp, so the next build puts the original back.
    cat "$work/original" >"$file"
    printf '%-26s %-36s %s\n' "${names[$i]}" "${files[$i]}" "$verdict" | tee -a "$results"
done
select_areas "$chosen_areas"
build_programs >"$work/build.log" 2>&1 || true
summary="$caught caught, $survived survived"
[ "$broken" -eq 0 ] || summary="$summary, $broken did not build"
summary="$summary, in $((SECONDS / 60)) min"
echo "$summary" | tee -a "$results"
