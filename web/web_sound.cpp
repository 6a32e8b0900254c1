// The sound device in the browser. The callback runs on the page's thread
// when a buffer is due; the audio lock only has to keep it from running
// while the demo rewrites the music's loop.
#include "web_sound.h"

#include "web_sdl.h"

#include <SDL.h>
#include <emscripten.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

constexpr double sound_lead_seconds = 0.25;  // sound scheduled ahead of the audio clock

struct Sound {
    SDL_AudioSpec spec{};
    bool open = false;
    bool paused = true;
    int32_t lock_depth = 0;
    std::vector<uint8_t> stream;
    std::vector<int16_t> played;  // every value of an exact run, for the tests
};

Sound sound;

// ---- The page's side ----

EM_JS(void, page_first_frame, (), {
    if (Module.onFirstFrame) Module.onFirstFrame();
});

EM_ASYNC_JS(void, page_wait_for_start, (), {
    await Module.startGate;
});

// Seconds of sound already scheduled beyond the audio clock; infinite while
// there is no running audio context, so that nothing is pulled.
EM_JS(double, page_sound_ahead, (), {
    var context = Module.audioContext;
    if (!context || context.state !== 'running') return Infinity;
    if (!Module.soundNext || Module.soundNext < context.currentTime) Module.soundNext = context.currentTime + 0.05;
    return Module.soundNext - context.currentTime;
});

EM_JS(void, page_sound_play, (const int16_t* values, int count, int rate), {
    var context = Module.audioContext;
    var buffer = context.createBuffer(1, count, rate);
    var out = buffer.getChannelData(0);
    var first = values >> 1;
    for (var i = 0; i < count; ++i) out[i] = HEAP16[first + i] / 32768;
    var source = context.createBufferSource();
    source.buffer = buffer;
    source.connect(context.destination);
    source.start(Module.soundNext);
    Module.soundNext += count / rate;
});

// ---- Buffers ----

bool buffer_due()
{
    if (!sound.open || sound.lock_depth > 0) {
        return false;
    }
    const bool exact = web_run.kind == WebClock::exact;
    return exact ? virtual_clock_take_audio(&web_run.clock) : page_sound_ahead() < sound_lead_seconds;
}

// One callback buffer: silence first, then the callback's values unless paused.
void pull_buffer()
{
    std::fill(sound.stream.begin(), sound.stream.end(), sound.spec.silence);
    if (!sound.paused) {
        sound.spec.callback(sound.spec.userdata, sound.stream.data(), static_cast<int>(sound.stream.size()));
    }
    const auto* values = reinterpret_cast<const int16_t*>(sound.stream.data());
    const size_t count = sound.stream.size() / 2;
    if (web_run.kind == WebClock::exact) {
        sound.played.insert(sound.played.end(), values, values + count);
    } else {
        page_sound_play(values, static_cast<int>(count), sound.spec.freq);
    }
}

}  // namespace

void web_sound_catch_up()
{
    while (buffer_due()) {
        pull_buffer();
    }
}

// ---- Calls from the page ----

extern "C" {

EMSCRIPTEN_KEEPALIVE const int16_t* web_sound_values()
{
    return sound.played.data();
}

EMSCRIPTEN_KEEPALIVE uint32_t web_sound_count()
{
    return static_cast<uint32_t>(sound.played.size());
}

}  // extern "C"

// ---- SDL ----

int SDL_OpenAudio(SDL_AudioSpec* desired, SDL_AudioSpec* obtained)
{
    if (sound.open || !desired || !desired->callback || desired->freq <= 0 || desired->channels != 1 ||
        desired->samples == 0 || desired->format != AUDIO_S16LSB) {
        return -1;
    }
    sound.spec = *desired;
    sound.spec.silence = 0;
    sound.spec.size = Uint32{desired->samples} * 2;
    sound.stream.assign(sound.spec.size, 0);
    if (obtained) {
        *obtained = sound.spec;
    }
    sound.open = true;
    sound.paused = true;
    virtual_clock_open_audio(&web_run.clock, desired->freq, desired->samples);
    return 0;
}

void SDL_PauseAudio(int pause_on)
{
    sound.paused = pause_on != 0;
}

// The first music step is where sound would start; a paced run waits there
// for the page's first gesture, with the first frame on screen.
void SDL_LockAudio()
{
    if (web_run.kind == WebClock::paced && !web_run.started) {
        page_first_frame();
        page_wait_for_start();
        web_run.started = true;
    }
    sound.lock_depth += 1;
}

// A held lock keeps the sound waiting, as SDL's would; the unlock catches up.
void SDL_UnlockAudio()
{
    if (sound.lock_depth > 0) {
        sound.lock_depth -= 1;
    }
    if (web_run.kind == WebClock::exact) {
        web_sound_catch_up();
    }
}

void SDL_CloseAudio()
{
    sound.open = false;
    virtual_clock_close_audio(&web_run.clock);
}
