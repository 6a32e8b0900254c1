// The browser's drawing benchmark: how long each part of the ring takes to
// draw a frame in a paced run, measured from the end of one frame's music
// step to the next frame's fps_tick. The first frame of every part is left
// out, since its span holds the opening fade. The page reads the figures
// through the web_draw_* and web_part_* exports.
#pragma once

// The frame's drawing is done: the frame limiter asks for the time.
void web_draw_times_drawn();
// A present: frame or fade. Only a frame's music step ends the next span.
void web_draw_times_present();
// The frame's music step is done: the next frame's drawing starts.
void web_draw_times_frame_end();
