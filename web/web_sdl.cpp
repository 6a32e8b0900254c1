// SDL's time, present and event calls in the browser, on the page's clock
// or on the virtual one of an exact run, and the calls the page makes.
#include "web_sdl.h"

#include "benchmark.h"
#include "demo.h"
#include "ring.h"
#include "web_sound.h"

#include <SDL.h>
#include <emscripten.h>

#include <algorithm>
#include <deque>
#include <vector>

WebRun web_run{};

namespace {

constexpr uint64_t us_per_ms = 1000;
constexpr double frame_ms = 1000.0 / demo_frame_rate;
constexpr uint64_t exact_breath_presents = 100;  // an exact run lets the page draw this often

std::vector<VirtualKey> scripted_keys;  // until the exact run starts

// The on-screen controls' taps, in the order made. The first is pressed
// until one poll has handed its press out, and released with the next
// frame's poll; the next tap is pressed with that release. So every tap
// acts once, however short, and taps in quick succession each act.
struct Taps {
    std::deque<int32_t> waiting;  // the front one is down while `pressed`
    bool pressed;
    bool releasing;               // the front one's release is queued
};

Taps taps{};

// ---- The page's side ----

// Every present writes the whole window surface, so locking it need not
// read the canvas back into memory first.
EM_JS(void, page_skip_readback, (), {
    SDL.defaults.discardOnLock = true;
});

EM_JS(void, page_frame_reached, (int frame), {
    if (Module.onFrame) Module.onFrame(frame);
});

EM_ASYNC_JS(void, page_wait_until_shown, (), {
    await new Promise(resolve => { Module.wakeShown = resolve; });
});

EM_JS(void, page_wake_shown, (), {
    if (Module.wakeShown) Module.wakeShown();
    Module.wakeShown = null;
});

// ---- Frames ----

double real_ms()
{
    return emscripten_get_now();
}

// Sleeps `ms` through ASYNCIFY: the browser draws the canvas and runs its
// events meanwhile.
void hand_page_control(uint32_t ms)
{
    emscripten_sleep(ms);
    web_run.page_ms = real_ms();
}

// The demo's time: the virtual clock's in an exact run, else real time less
// the spans the page was hidden.
uint32_t demo_ms()
{
    if (web_run.kind == WebClock::exact) {
        return virtual_clock_ticks(&web_run.clock);
    }
    const double now = web_run.hidden ? web_run.hidden_since_ms : real_ms();
    return static_cast<uint32_t>(now - web_run.origin_ms);
}

void advance_exact_clock(uint64_t us)
{
    virtual_clock_advance(&web_run.clock, us);
    web_sound_catch_up();
}

void present_exact()
{
    VirtualClock& clock = web_run.clock;
    if (clock.presents == web_run.stop_presents) {
        page_frame_reached(static_cast<int>(clock.presents - 1));
        emscripten_exit_with_live_runtime();
    }
    advance_exact_clock(clock.present_us);
    if (clock.presents % exact_breath_presents == 0) {
        emscripten_sleep(0);
    }
}

// A hidden page holds the demo here until it is shown again. A demo that
// has not slept for a frame period (full speed, a fade) lets the page draw.
void present_paced()
{
    web_sound_catch_up();
    while (web_run.hidden) {
        page_wait_until_shown();
    }
    if (real_ms() - web_run.page_ms >= frame_ms) {
        hand_page_control(0);
    }
}

void present()
{
    virtual_clock_present(&web_run.clock);
    if (web_run.kind == WebClock::exact) {
        present_exact();
    } else if (web_run.kind == WebClock::paced) {
        present_paced();
    }
}

// Keys from the page come due in the order they came: at `present`, or
// with the last event queued if that is later. A release queued for a tap
// thus never comes after, and cancels, a key pressed later.
void push_page_key(uint64_t present, int32_t symbol, bool down)
{
    VirtualClock& clock = web_run.clock;
    const uint64_t after_queued = clock.events.empty() ? present : std::max(present, clock.events.back().present);
    virtual_clock_push_key(&clock, after_queued, symbol, down);
}

void press_next_tap(uint64_t present)
{
    taps.pressed = !taps.waiting.empty();
    taps.releasing = false;
    if (taps.pressed) {
        push_page_key(present, taps.waiting.front(), true);
    }
}

// A poll handed out `event`: the tap pressed now moves on a step.
void follow_tap(const SDL_Event& event)
{
    const bool down = event.type == SDL_KEYDOWN;
    if (!taps.pressed || (!down && event.type != SDL_KEYUP) || event.key.keysym.sym != taps.waiting.front()) {
        return;
    }
    if (down && !taps.releasing) {
        push_page_key(web_run.clock.presents + 1, taps.waiting.front(), false);
        taps.releasing = true;
    } else if (!down && taps.releasing) {
        taps.waiting.pop_front();
        press_next_tap(web_run.clock.presents);
    }
}

}  // namespace

// ---- Calls from the page ----

extern "C" {

// Before main: run on the exact clock and stop after frame `frame`.
EMSCRIPTEN_KEEPALIVE void web_run_exact(uint32_t frame)
{
    web_run.kind = WebClock::exact;
    web_run.stop_presents = uint64_t{frame} + 1;
    virtual_clock_pace(&web_run.clock, demo_frame_rate);
    virtual_clock_press_keys(&web_run.clock, scripted_keys);
}

// Before web_run_exact: press `symbol` after frame `frame`.
EMSCRIPTEN_KEEPALIVE void web_script_key(uint32_t frame, int32_t symbol)
{
    scripted_keys.push_back({frame, symbol});
}

// A key went down or up on the page: due at once, after the keys queued.
EMSCRIPTEN_KEEPALIVE void web_key(int32_t symbol, int32_t down)
{
    push_page_key(web_run.clock.presents, symbol, down != 0);
}

// An on-screen control: a press of `symbol` that acts once, however short.
EMSCRIPTEN_KEEPALIVE void web_tap(int32_t symbol)
{
    if (symbol < 0) {
        return;
    }
    taps.waiting.push_back(symbol);
    if (!taps.pressed) {
        press_next_tap(web_run.clock.presents);
    }
}

// The page was hidden or shown. Hidden, the demo's time stands still and it
// holds at its next present; shown, both go on from where they stopped.
EMSCRIPTEN_KEEPALIVE void web_set_hidden(int32_t hidden)
{
    const bool now_hidden = hidden != 0;
    if (now_hidden == web_run.hidden) {
        return;
    }
    web_run.hidden = now_hidden;
    if (now_hidden) {
        web_run.hidden_since_ms = real_ms();
        return;
    }
    web_run.origin_ms += real_ms() - web_run.hidden_since_ms;
    page_wake_shown();
}

EMSCRIPTEN_KEEPALIVE double web_frames()
{
    return static_cast<double>(web_run.frames);
}

// The time SDL_GetTicks tells the demo, in ms.
EMSCRIPTEN_KEEPALIVE uint32_t web_demo_ms()
{
    return demo_ms();
}

// The name of the part running now (between parts, of the last one), or null.
EMSCRIPTEN_KEEPALIVE const char* web_running_part()
{
    return ring_running >= 0 && ring_running < ring_size ? ring_parts[ring_running].name : nullptr;
}

// Instead of main: start-up, then every part drawn back to back and timed,
// printed as kelp4090-capture --benchmark prints it.
EMSCRIPTEN_KEEPALIVE void web_benchmark()
{
    web_run.kind = WebClock::benchmark;
    demo_init();
    std::vector<double> presents = benchmark_parts();
    benchmark_print_row("present", presents);
}

}  // extern "C"

// ---- SDL ----

// No global listeners: the page forwards the keys itself.
int SDL_Init(Uint32)
{
    web_run.origin_ms = real_ms();
    web_run.page_ms = web_run.origin_ms;
    page_skip_readback();
    return 0;
}

Uint32 SDL_GetTicks()
{
    web_run.frames += 1;
    return demo_ms();
}

void SDL_Delay(Uint32 ms)
{
    if (web_run.kind == WebClock::exact) {
        advance_exact_clock(uint64_t{ms} * us_per_ms);
    } else {
        hand_page_control(ms);
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

int SDL_PollEvent(SDL_Event* event)
{
    if (!event) {
        return virtual_clock_poll_event(&web_run.clock, nullptr);
    }
    if (!virtual_clock_poll_event(&web_run.clock, event)) {
        return 0;
    }
    follow_tap(*event);
    return 1;
}

// Emscripten's SDL 1.2 leaves this out; the display module names it for
// windows whose layout it cannot fill itself, which the canvas never is.
SDL_Surface* SDL_DisplayFormat(SDL_Surface* surface)
{
    SDL_Surface* window = SDL_GetVideoSurface();
    return surface && window ? SDL_ConvertSurface(surface, window->format, 0) : nullptr;
}
