// VirtualClock: presents, virtual time, sound buffers coming due and
// scheduled events, all in whole numbers so that every run is the same.
#include "virtual_clock.h"

#include <algorithm>

namespace {

constexpr uint64_t us_per_ms = 1000;
constexpr uint64_t us_per_second = 1000000;

}  // namespace

void virtual_clock_pace(VirtualClock* clock, int32_t frames_per_second)
{
    if (!clock) {
        return;
    }
    clock->present_us = frames_per_second > 0 ? static_cast<uint32_t>(us_per_second / frames_per_second) : 0;
}

void virtual_clock_present(VirtualClock* clock)
{
    if (clock) {
        clock->presents += 1;
    }
}

void virtual_clock_advance(VirtualClock* clock, uint64_t us)
{
    if (!clock) {
        return;
    }
    clock->now_us += us;
    clock->audio_us += us;
}

uint32_t virtual_clock_ticks(const VirtualClock* clock)
{
    return clock ? static_cast<uint32_t>(clock->now_us / us_per_ms) : 0;
}

void virtual_clock_open_audio(VirtualClock* clock, int32_t rate, int32_t buffer_values)
{
    if (!clock || rate <= 0 || buffer_values <= 0) {
        return;
    }
    clock->audio_open = true;
    clock->audio_rate = rate;
    clock->audio_buffer = buffer_values;
    clock->audio_us = 0;
    clock->audio_buffers = 0;
}

void virtual_clock_close_audio(VirtualClock* clock)
{
    if (clock) {
        clock->audio_open = false;
    }
}

// Compared in whole microsecond-values, so a buffer comes due at the very
// microsecond its first value is to be played.
bool virtual_clock_take_audio(VirtualClock* clock)
{
    if (!clock || !clock->audio_open) {
        return false;
    }
    const uint64_t first_value_at = clock->audio_buffers * static_cast<uint64_t>(clock->audio_buffer) * us_per_second;
    if (first_value_at > clock->audio_us * static_cast<uint64_t>(clock->audio_rate)) {
        return false;
    }
    clock->audio_buffers += 1;
    return true;
}

void virtual_clock_push_event(VirtualClock* clock, uint64_t present, const SDL_Event& event)
{
    if (!clock) {
        return;
    }
    const auto after = std::upper_bound(clock->events.begin(), clock->events.end(), present,
                                        [](uint64_t at, const VirtualEvent& queued) { return at < queued.present; });
    clock->events.insert(after, VirtualEvent{present, event});
}

void virtual_clock_push_key(VirtualClock* clock, uint64_t present, int32_t symbol, bool down)
{
    if (symbol < 0) {
        return;
    }
    SDL_Event event{};
    event.key.type = static_cast<decltype(event.key.type)>(down ? SDL_KEYDOWN : SDL_KEYUP);
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = static_cast<SDLKey>(symbol);
    virtual_clock_push_event(clock, present, event);
}

void virtual_clock_press_keys(VirtualClock* clock, std::span<const VirtualKey> keys)
{
    std::vector<VirtualKey> ordered(keys.begin(), keys.end());
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const VirtualKey& a, const VirtualKey& b) { return a.frame < b.frame; });
    int32_t held = -1;
    for (const VirtualKey& key : ordered) {
        if (key.frame < 0 || key.symbol < 0) {
            continue;
        }
        const uint64_t present = static_cast<uint64_t>(key.frame) + 1;
        virtual_clock_push_key(clock, present, held, false);
        virtual_clock_push_key(clock, present, key.symbol, true);
        held = key.symbol;
    }
}

int virtual_clock_poll_event(VirtualClock* clock, SDL_Event* event)
{
    if (!clock || clock->events.empty() || clock->events.front().present > clock->presents) {
        return 0;
    }
    if (event) {
        *event = clock->events.front().event;
        clock->events.erase(clock->events.begin());
    }
    return 1;
}
