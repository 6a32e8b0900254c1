// A deterministic stand-in for the part of SDL 1.2 the platform modules call.
// Test programs and the capture tool link it instead of libSDL: a
// VirtualClock that only SDL_Delay (and an optional per-present cost)
// advances, key events released by present count, every presented frame
// hashed and the last one kept, and the audio callback pulled as virtual
// time passes.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

struct VirtualClock;

using StandinPresentHook = void (*)(const uint32_t* pixels, int32_t width, int32_t height, void* user);

// Back to a fresh state: clock 0, 32-bit video, no events, frames or audio.
// The window surface is released, as by SDL_Quit.
void standin_reset();

// Surfaces keep the pixel block they were made with: SDL_DisplayFormat
// and SDL_UpperBlit read a source through it, whatever pointer the caller
// has put into `pixels` since, as sdl12-compat does.

// Video: bits per pixel of the window surface (32, 16 or 8; others are
// ignored); a failing mode. 16 bits are laid out 5-6-5, 8 bits 3-3-2. A
// new window's pixels start as bytes 0xBE.
void standin_set_video_depth(int32_t bits);
void standin_fail_video(bool fail);
// The window's red, green and blue masks, for a layout other than the
// depth's usual one (0x0000FF, 0x00FF00, 0xFF0000 is 32-bit 0x00BBGGRR);
// all zero returns to the usual one.
void standin_set_video_masks(uint32_t red, uint32_t green, uint32_t blue);
// Extra bytes at the end of every window row, as some drivers pad them.
void standin_set_video_row_padding(int32_t bytes);
// The window surface gets SDL_DOUBLEBUF even when the mode did not ask for it.
void standin_grant_doublebuf(bool grant);
// The display modes SDL_ListModes offers for fullscreen, largest first as
// SDL lists them; none (the start) refuses fullscreen.
void standin_set_fullscreen_modes(const std::vector<SDL_Rect>& modes);
// Audio: SDL_Init and SDL_OpenAudio fail, as on a machine without sound.
void standin_fail_audio(bool fail);

// Off: presents are counted but the window is neither read back nor hashed,
// so that a benchmark times the caller's own present alone. On at the start.
void standin_set_read_back(bool read_back);
// Virtual microseconds added at every present, standing for drawing work.
void standin_set_present_cost_us(uint32_t us);
// Moves the clock without letting time pass: no audio buffer comes due.
void standin_set_now_us(uint64_t us);
// The clock itself, for pacing and scripted keys.
VirtualClock* standin_clock();

// Queue an event that SDL_PollEvent hands out once `present` frames have
// been presented. standin_tap presses at `present` and releases one later.
// Key symbols outside SDL's range (0 .. SDLK_LAST - 1) are ignored.
void standin_push_event(uint64_t present, const SDL_Event& event);
void standin_key(uint64_t present, int32_t sym, bool down);
void standin_tap(uint64_t present, int32_t sym);

uint64_t standin_now_us();               // virtual clock
uint64_t standin_presents();             // flips and updates of the window so far
uint64_t standin_flips();                // the presents that were SDL_Flip calls
uint64_t standin_conversions();          // SDL_DisplayFormat calls
uint64_t standin_blits();                // SDL_UpperBlit calls that succeeded
int32_t standin_surfaces();              // surfaces made and not yet freed, the window's too
const std::vector<uint32_t>& standin_delays();  // every SDL_Delay argument, in order
const std::vector<uint32_t>& standin_last_frame();  // 0x00RRGGBB, window size
uint64_t standin_frames_hash();          // running hash over every presented frame
void standin_on_present(StandinPresentHook hook, void* user);

// Everything the audio callback produced, as signed 16-bit values; buffer k
// comes due k * samples / freq seconds of virtual time after SDL_OpenAudio.
// The device plays AUDIO_S16LSB only and starts paused, as SDL's does.
const std::vector<int16_t>& standin_audio();
bool standin_audio_open();
bool standin_audio_paused();
const SDL_AudioSpec& standin_audio_spec();  // as the last SDL_OpenAudio asked for it
int32_t standin_audio_lock_depth();         // SDL_LockAudio calls not yet unlocked

const char* standin_caption();           // last SDL_WM_SetCaption title, "" before
uint32_t standin_init_flags();           // flags of the last SDL_Init
