// The browser build's own answers to the SDL calls that decide time, keys
// and sound; the window surface and its copy to the page's canvas stay with
// emscripten's SDL. Everything runs on the page's one thread: the demo hands
// control to the browser in its frame wait (SDL_Delay), where ASYNCIFY
// suspends the whole call stack, so the part loops stay as they are.
//
// The page runs the demo on one of two clocks:
// - paced (what people watch): real time. The demo holds at its first music
//   step until the first click or key, since browsers allow sound only after
//   a gesture; sound is pulled as the Web Audio clock needs it.
// - exact (?frames=N): the clock of kelp4090-capture. Every present lasts
//   20 ms, sound buffers are pulled when due on that clock, scripted keys are
//   pressed after given frames, and at frame N the page hashes the canvas and
//   the demo stops.
#include <SDL.h>
#include <emscripten.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <deque>
#include <vector>

namespace {

constexpr uint64_t us_per_ms = 1000;
constexpr uint64_t us_per_second = 1000000;
constexpr uint64_t exact_present_us = 20000;  // one frame at 50 per second
constexpr uint64_t exact_breath_presents = 100;  // an exact run lets the page draw this often
constexpr double sound_lead_seconds = 0.25;     // sound scheduled ahead of the audio clock
constexpr size_t ring_parts = 5;

struct ScriptedEvent {
    uint64_t present;  // handed out once this many frames have been presented
    SDL_Event event;
};

struct ScriptedKey {
    uint32_t frame;
    int32_t symbol;
};

struct Sound {
    SDL_AudioSpec spec{};
    bool open = false;
    bool paused = true;
    int32_t lock_depth = 0;
    uint64_t buffers = 0;    // pulled since SDL_OpenAudio
    uint64_t opened_us = 0;  // exact clock at SDL_OpenAudio
    std::vector<uint8_t> stream;
    std::vector<int16_t> played;  // every value of an exact run, for the tests
};

// How long the demo's own drawing takes per frame in a paced run: from the
// end of one frame's music step to the next frame's fps_tick, skipping the
// frames that open a part, whose span holds a fade.
struct DrawTimes {
    double frame_end_ms = -1;
    bool ticked = true;            // an fps_tick came since the last present
    bool last_present_framed = true;
    uint64_t fades = 0;            // each part opens with one
    uint64_t frames = 0;           // fps_ticks so far
    std::array<std::vector<float>, ring_parts> draw_us;
};

struct Web {
    bool exact = false;
    uint64_t stop_presents = 0;
    uint64_t now_us = 0;  // exact clock
    double origin_ms = 0;  // paced clock's zero: SDL_Init
    uint64_t presents = 0;
    bool started = false;
    std::vector<ScriptedKey> keys;
    std::deque<ScriptedEvent> scripted;
    std::deque<SDL_Event> typed;
    DrawTimes draw;
    Sound sound;
};

Web web;

// ---- The page's side ----

// Every present writes the whole window surface, so locking it need not
// read the canvas back into memory first.
EM_JS(void, page_skip_readback, (), {
    SDL.defaults.discardOnLock = true;
});

EM_JS(void, page_first_frame, (), {
    if (Module.onFirstFrame) Module.onFirstFrame();
});

EM_ASYNC_JS(void, page_wait_for_start, (), {
    await Module.startGate;
});

EM_JS(void, page_frame_reached, (int frame), {
    if (Module.onFrame) Module.onFrame(frame);
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

// ---- Sound ----

bool buffer_due_exactly(uint64_t index)
{
    const SDL_AudioSpec& spec = web.sound.spec;
    const uint64_t elapsed_us = web.now_us - web.sound.opened_us;
    return index * spec.samples * us_per_second <= elapsed_us * static_cast<uint64_t>(spec.freq);
}

bool buffer_due()
{
    if (!web.sound.open || web.sound.lock_depth > 0) {
        return false;
    }
    return web.exact ? buffer_due_exactly(web.sound.buffers) : page_sound_ahead() < sound_lead_seconds;
}

// One callback buffer: silence first, then the callback's values unless paused.
void pull_buffer()
{
    Sound& sound = web.sound;
    std::fill(sound.stream.begin(), sound.stream.end(), sound.spec.silence);
    if (!sound.paused) {
        sound.spec.callback(sound.spec.userdata, sound.stream.data(), static_cast<int>(sound.stream.size()));
    }
    sound.buffers += 1;
    const auto* values = reinterpret_cast<const int16_t*>(sound.stream.data());
    const size_t count = sound.stream.size() / 2;
    if (web.exact) {
        sound.played.insert(sound.played.end(), values, values + count);
    } else {
        page_sound_play(values, static_cast<int>(count), sound.spec.freq);
    }
}

void pull_due_sound()
{
    while (buffer_due()) {
        pull_buffer();
    }
}

void advance_exact_clock(uint64_t us)
{
    web.now_us += us;
    pull_due_sound();
}

// ---- Frames ----

// A present with no fps_tick since the one before belongs to a fade, and
// every fade opens the next part of the ring.
void note_fade()
{
    DrawTimes& draw = web.draw;
    if (!draw.ticked && draw.last_present_framed) {
        draw.fades += 1;
    }
    draw.last_present_framed = draw.ticked;
    draw.ticked = false;
    draw.frame_end_ms = -1;
}

void note_draw_end()
{
    DrawTimes& draw = web.draw;
    draw.frames += 1;
    draw.ticked = true;
    if (draw.frame_end_ms >= 0 && draw.fades > 0) {
        const double drawn_us = (emscripten_get_now() - draw.frame_end_ms) * us_per_ms;
        draw.draw_us[(draw.fades - 1) % ring_parts].push_back(static_cast<float>(drawn_us));
    }
}

void present()
{
    note_fade();
    web.presents += 1;
    if (!web.exact) {
        pull_due_sound();
        return;
    }
    if (web.presents == web.stop_presents) {
        page_frame_reached(static_cast<int>(web.presents - 1));
        emscripten_exit_with_live_runtime();
    }
    advance_exact_clock(exact_present_us);
    if (web.presents % exact_breath_presents == 0) {
        emscripten_sleep(0);
    }
}

// Each key is pressed after its frame and held until the next one is
// pressed, so that it acts once, as kelp4090-capture presses them.
void schedule_keys()
{
    std::stable_sort(web.keys.begin(), web.keys.end(),
                     [](const ScriptedKey& a, const ScriptedKey& b) { return a.frame < b.frame; });
    int32_t held = -1;
    for (const ScriptedKey& key : web.keys) {
        const uint64_t present = uint64_t{key.frame} + 1;
        SDL_Event event{};
        if (held >= 0) {
            event.key.type = SDL_KEYUP;
            event.key.keysym.sym = held;
            web.scripted.push_back({present, event});
        }
        event.key.type = SDL_KEYDOWN;
        event.key.keysym.sym = key.symbol;
        web.scripted.push_back({present, event});
        held = key.symbol;
    }
}

}  // namespace

// ---- Calls from the page ----

extern "C" {

// Before main: run on the exact clock and stop after frame `frame`.
EMSCRIPTEN_KEEPALIVE void web_run_exact(uint32_t frame)
{
    web.exact = true;
    web.stop_presents = uint64_t{frame} + 1;
    schedule_keys();
}

// Before web_run_exact: press `symbol` after frame `frame`.
EMSCRIPTEN_KEEPALIVE void web_script_key(uint32_t frame, int32_t symbol)
{
    web.keys.push_back({frame, symbol});
}

// A key went down or up on the page.
EMSCRIPTEN_KEEPALIVE void web_key(int32_t symbol, int32_t down)
{
    SDL_Event event{};
    event.key.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.keysym.sym = symbol;
    web.typed.push_back(event);
}

EMSCRIPTEN_KEEPALIVE const int16_t* web_sound_values()
{
    return web.sound.played.data();
}

EMSCRIPTEN_KEEPALIVE uint32_t web_sound_count()
{
    return static_cast<uint32_t>(web.sound.played.size());
}

// Frames drawn so far (fps_ticks), for the page's frame-rate measurement.
EMSCRIPTEN_KEEPALIVE double web_frames()
{
    return static_cast<double>(web.draw.frames);
}

// Median drawing time in µs of the part at `index` in the ring, or -1.
EMSCRIPTEN_KEEPALIVE double web_draw_median_us(uint32_t index)
{
    if (index >= ring_parts || web.draw.draw_us[index].empty()) {
        return -1;
    }
    std::vector<float> times = web.draw.draw_us[index];
    const auto middle = times.begin() + static_cast<ptrdiff_t>(times.size() / 2);
    std::nth_element(times.begin(), middle, times.end());
    return *middle;
}

EMSCRIPTEN_KEEPALIVE uint32_t web_draw_count(uint32_t index)
{
    return index < ring_parts ? static_cast<uint32_t>(web.draw.draw_us[index].size()) : 0;
}

}  // extern "C"

// ---- SDL ----

// No global listeners: the page forwards the keys itself.
int SDL_Init(Uint32)
{
    web.origin_ms = emscripten_get_now();
    page_skip_readback();
    return 0;
}

Uint32 SDL_GetTicks()
{
    note_draw_end();
    if (web.exact) {
        return static_cast<Uint32>(web.now_us / us_per_ms);
    }
    return static_cast<Uint32>(emscripten_get_now() - web.origin_ms);
}

void SDL_Delay(Uint32 ms)
{
    if (web.exact) {
        advance_exact_clock(ms * us_per_ms);
    } else {
        emscripten_sleep(ms);
    }
}

// emscripten's SDL_UnlockSurface has already copied the frame to the canvas.
int SDL_Flip(SDL_Surface*)
{
    present();
    return 0;
}

void SDL_UpdateRect(SDL_Surface*, Sint32, Sint32, Uint32, Uint32)
{
    present();
}

// Scripted keys whose frame has been presented come first, then the page's.
int SDL_PollEvent(SDL_Event* event)
{
    const bool scripted_due = !web.scripted.empty() && web.scripted.front().present <= web.presents;
    if (!scripted_due && web.typed.empty()) {
        return 0;
    }
    const SDL_Event next = scripted_due ? web.scripted.front().event : web.typed.front();
    if (scripted_due) {
        web.scripted.pop_front();
    } else {
        web.typed.pop_front();
    }
    if (event) {
        *event = next;
    }
    return 1;
}

int SDL_OpenAudio(SDL_AudioSpec* desired, SDL_AudioSpec* obtained)
{
    if (web.sound.open || !desired || !desired->callback || desired->freq <= 0 || desired->channels != 1 ||
        desired->samples == 0 || desired->format != AUDIO_S16LSB) {
        return -1;
    }
    Sound& sound = web.sound;
    sound.spec = *desired;
    sound.spec.silence = 0;
    sound.spec.size = Uint32{desired->samples} * 2;
    sound.stream.assign(sound.spec.size, 0);
    if (obtained) {
        *obtained = sound.spec;
    }
    sound.open = true;
    sound.paused = true;
    sound.buffers = 0;
    sound.opened_us = web.now_us;
    return 0;
}

void SDL_PauseAudio(int pause_on)
{
    web.sound.paused = pause_on != 0;
}

// The first music step is where sound would start; a paced run waits there
// for the page's first gesture, with the first frame on screen.
void SDL_LockAudio()
{
    if (!web.exact && !web.started) {
        page_first_frame();
        page_wait_for_start();
        web.started = true;
    }
    web.sound.lock_depth += 1;
}

// A held lock keeps the sound waiting, as SDL's would; the unlock catches up.
void SDL_UnlockAudio()
{
    if (web.sound.lock_depth > 0) {
        web.sound.lock_depth -= 1;
    }
    if (web.exact) {
        pull_due_sound();
    }
    web.draw.frame_end_ms = emscripten_get_now();
}

void SDL_CloseAudio()
{
    web.sound.open = false;
}

// Emscripten's SDL 1.2 leaves this out; the display module names it for
// windows whose layout it cannot fill itself, which the canvas never is.
SDL_Surface* SDL_DisplayFormat(SDL_Surface* surface)
{
    SDL_Surface* window = SDL_GetVideoSurface();
    return surface && window ? SDL_ConvertSurface(surface, window->format, 0) : nullptr;
}
