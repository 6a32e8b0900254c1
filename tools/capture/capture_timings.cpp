// Stage times: wall clock from steady_clock, processor time of the calling
// thread from the kernel, of ended children from getrusage.
#include "capture_timings.h"

#include <sys/resource.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <ctime>

namespace {

struct StageTime {
    double wall = 0;
    double cpu = 0;
    bool used = false;
};

constexpr std::array<const char*, 5> step_names = {"drawing", "conversion", "pipe", "encoder", "sound"};
std::array<StageTime, step_names.size()> stages;

double seconds(const timeval& time)
{
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

double usage_cpu(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

}  // namespace

CaptureMoment capture_moment()
{
    timespec cpu{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu);
    const auto wall = std::chrono::steady_clock::now().time_since_epoch();
    return {std::chrono::duration<double>(wall).count(),
            static_cast<double>(cpu.tv_sec) + static_cast<double>(cpu.tv_nsec) / 1e9};
}

void capture_timings_add(CaptureStep step, double wall, double cpu)
{
    StageTime& stage = stages[static_cast<size_t>(step)];
    stage.wall += wall;
    stage.cpu += cpu;
    stage.used = true;
}

void capture_timings_add_since(CaptureStep step, const CaptureMoment& since)
{
    const CaptureMoment now = capture_moment();
    capture_timings_add(step, now.wall - since.wall, now.cpu - since.cpu);
}

double capture_children_cpu()
{
    return usage_cpu(RUSAGE_CHILDREN);
}

void capture_timings_print(const CaptureMoment& start, int64_t frames)
{
    const double per_frame = frames > 0 ? 1000.0 / static_cast<double>(frames) : 0;
    fprintf(stderr, "kelp4090-capture: time per stage, %lld frames\n", static_cast<long long>(frames));
    fprintf(stderr, "  %-12s %9s %9s %13s %13s\n", "stage", "wall s", "cpu s", "wall ms/frame", "cpu ms/frame");
    for (size_t step = 0; step < stages.size(); ++step) {
        const StageTime& stage = stages[step];
        if (stage.used) {
            fprintf(stderr, "  %-12s %9.2f %9.2f %13.3f %13.3f\n", step_names[step], stage.wall, stage.cpu,
                    stage.wall * per_frame, stage.cpu * per_frame);
        }
    }
    const double wall = capture_moment().wall - start.wall;
    const double own = usage_cpu(RUSAGE_SELF);
    const double children = capture_children_cpu();
    fprintf(stderr, "  %-12s %9.2f %9.2f   (kelp4090-capture %.2f, ffmpeg %.2f)\n", "whole", wall, own + children,
            own, children);
}
