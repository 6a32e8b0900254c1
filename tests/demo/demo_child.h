// Shared helpers of the demo tests: a fresh demo on the stand-in, and runs in
// a child process so every run starts from a fresh program state (the demo's
// objects are program-wide and built once).
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "demo.h"
#include "sdl_standin.h"

// Presents of the fade that opens every part.
constexpr uint64_t fade = demo_fade_steps;

inline void start_demo()
{
    standin_reset();
    demo_init();
}

// The write end of the pipe in a run_in_child child, for words sent on a way
// out other than returning from the body.
inline int child_channel = -1;

inline bool send_words(const std::vector<uint64_t>& words)
{
    const auto bytes = static_cast<ssize_t>(words.size() * sizeof(uint64_t));
    return write(child_channel, words.data(), static_cast<size_t>(bytes)) == bytes;
}

// Runs `body` in a forked child and returns the words it produced; empty
// when the child failed or ended without returning (for example by exit).
inline std::vector<uint64_t> run_in_child(const std::function<std::vector<uint64_t>()>& body)
{
    int channel[2];
    if (pipe(channel) != 0) {
        return {};
    }
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        child_channel = channel[1];
        _exit(send_words(body()) ? 0 : 1);
    }
    close(channel[1]);
    std::vector<uint64_t> words;
    for (uint64_t word = 0; read(channel[0], &word, sizeof word) == static_cast<ssize_t>(sizeof word);) {
        words.push_back(word);
    }
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? words : std::vector<uint64_t>{};
}
