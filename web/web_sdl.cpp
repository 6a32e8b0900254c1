// SDL's time, present and event calls in the browser, on the page's clock
// or on the virtual one of an exact run.
#include "web_sdl.h"

#include "demo.h"
#include "web_draw_times.h"
#include "web_sound.h"

#include <SDL.h>
#include <emscripten.h>

#include <vector>

WebRun web_run{};

namespace {

constexpr uint64_t us_per_ms = 1000;
constexpr uint64_t exact_breath_presents = 100;  // an exact run lets the page draw this often

std::vector<VirtualKey> scripted_keys;  // until the exact run starts

// ---- The page's side ----

// Every present writes the whole window surface, so locking it need not
// read the canvas back into memory first.
EM_JS(void, page_skip_readback, (), {
    SDL.defaults.discardOnLock = true;
});

EM_JS(void, page_frame_reached, (int frame), {
    if (Module.onFrame) Module.onFrame(frame);
});

// ---- Frames ----

void advance_exact_clock(uint64_t us)
{
    virtual_clock_advance(&web_run.clock, us);
    web_sound_catch_up();
}

void present()
{
    web_draw_times_present();
    VirtualClock& clock = web_run.clock;
    virtual_clock_present(&clock);
    if (!web_run.exact) {
        web_sound_catch_up();
        return;
    }
    if (clock.presents == web_run.stop_presents) {
        page_frame_reached(static_cast<int>(clock.presents - 1));
        emscripten_exit_with_live_runtime();
    }
    advance_exact_clock(clock.present_us);
    if (clock.presents % exact_breath_presents == 0) {
        emscripten_sleep(0);
    }
}

}  // namespace

// ---- Calls from the page ----

extern "C" {

// Before main: run on the exact clock and stop after frame `frame`.
EMSCRIPTEN_KEEPALIVE void web_run_exact(uint32_t frame)
{
    web_run.exact = true;
    web_run.stop_presents = uint64_t{frame} + 1;
    virtual_clock_pace(&web_run.clock, demo_frame_rate);
    virtual_clock_press_keys(&web_run.clock, scripted_keys);
}

// Before web_run_exact: press `symbol` after frame `frame`.
EMSCRIPTEN_KEEPALIVE void web_script_key(uint32_t frame, int32_t symbol)
{
    scripted_keys.push_back({frame, symbol});
}

// A key went down or up on the page: due at once, after the scripted keys
// already due.
EMSCRIPTEN_KEEPALIVE void web_key(int32_t symbol, int32_t down)
{
    virtual_clock_push_key(&web_run.clock, web_run.clock.presents, symbol, down != 0);
}

}  // extern "C"

// ---- SDL ----

// No global listeners: the page forwards the keys itself.
int SDL_Init(Uint32)
{
    web_run.origin_ms = emscripten_get_now();
    page_skip_readback();
    return 0;
}

Uint32 SDL_GetTicks()
{
    web_draw_times_drawn();
    if (web_run.exact) {
        return virtual_clock_ticks(&web_run.clock);
    }
    return static_cast<Uint32>(emscripten_get_now() - web_run.origin_ms);
}

void SDL_Delay(Uint32 ms)
{
    if (web_run.exact) {
        advance_exact_clock(uint64_t{ms} * us_per_ms);
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

int SDL_PollEvent(SDL_Event* event)
{
    return virtual_clock_poll_event(&web_run.clock, event);
}

// Emscripten's SDL 1.2 leaves this out; the display module names it for
// windows whose layout it cannot fill itself, which the canvas never is.
SDL_Surface* SDL_DisplayFormat(SDL_Surface* surface)
{
    SDL_Surface* window = SDL_GetVideoSurface();
    return surface && window ? SDL_ConvertSurface(surface, window->format, 0) : nullptr;
}
