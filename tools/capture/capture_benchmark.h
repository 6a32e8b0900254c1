// Times every part's drawing and the present path, without pacing and
// without encoding, and prints the figures.
#pragma once

// Returns the process exit status.
int capture_benchmark();
