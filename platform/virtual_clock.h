// VirtualClock: time that passes only when its owner says so, for runs of
// the demo that come out the same at every run and on every machine. It
// counts presents, lets a fixed time pass with each, tells when the sound
// device's next callback buffer is due, and hands out events (scripted key
// presses among them) once a given number of frames has been presented.
// The SDL stand-in and the browser's exact runs keep one each.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <span>
#include <vector>

struct VirtualEvent {
    uint64_t present;  // handed out once this many frames have been presented
    SDL_Event event;
};

// A key pressed after frame `frame` (counted from 0, fades included).
struct VirtualKey {
    int64_t frame;
    int32_t symbol;  // SDL key symbol
};

struct VirtualClock {
    uint64_t now_us;         // virtual time
    uint64_t presents;       // frames presented so far
    uint32_t present_us;     // virtual time each present lasts
    bool audio_open;
    int32_t audio_rate;      // values per second of the sound device
    int32_t audio_buffer;    // values per callback buffer
    uint64_t audio_us;       // virtual time passed since the device opened
    uint64_t audio_buffers;  // buffers taken since the device opened
    std::vector<VirtualEvent> events;  // by present, then in the order pushed
};

// Every present lasts one frame at `frames_per_second` (below 1: no time).
void virtual_clock_pace(VirtualClock* clock, int32_t frames_per_second);
// One more frame presented; events scheduled for it come due. Its time
// passes with virtual_clock_advance(clock, clock->present_us), once the
// frame has been looked at.
void virtual_clock_present(VirtualClock* clock);
void virtual_clock_advance(VirtualClock* clock, uint64_t us);
// SDL_GetTicks: milliseconds, wrapping at 32 bits as SDL's do.
uint32_t virtual_clock_ticks(const VirtualClock* clock);

// A device playing `rate` values per second in buffers of `buffer_values`;
// its time starts now.
void virtual_clock_open_audio(VirtualClock* clock, int32_t rate, int32_t buffer_values);
void virtual_clock_close_audio(VirtualClock* clock);
// True, and the buffer counted as taken, when buffer k (k = buffers taken so
// far) is due: k * buffer_values / rate seconds after the device opened.
bool virtual_clock_take_audio(VirtualClock* clock);

void virtual_clock_push_event(VirtualClock* clock, uint64_t present, const SDL_Event& event);
// Queues a key-down or key-up of `symbol` (negative symbols are ignored).
void virtual_clock_push_key(VirtualClock* clock, uint64_t present, int32_t symbol, bool down);
// Presses each key after its frame, in frame order (keys of one frame in the
// order given), and holds it until the next one is pressed, so that every
// key acts once even when pressed during a fade.
void virtual_clock_press_keys(VirtualClock* clock, std::span<const VirtualKey> keys);
// As SDL_PollEvent: 1 and the next due event (removed unless `event` is
// null), or 0 when none is due.
int virtual_clock_poll_event(VirtualClock* clock, SDL_Event* event);
