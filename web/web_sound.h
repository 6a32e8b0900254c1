// The sound device in the browser: SDL's audio calls answered on the page's
// one thread. An exact run keeps every value for the tests; a paced run
// hands each buffer to Web Audio, a little ahead of its clock.
#pragma once

// Pulls every callback buffer that is due: by the virtual clock in an exact
// run, by the sound scheduled ahead of Web Audio's clock in a paced one.
// A held audio lock keeps them waiting.
void web_sound_catch_up();
