// Start-up to a mapped window, and peak memory, of a program against a baseline program,
// measured alternately in one run on the X display in $DISPLAY.
//
// Usage: startup_bench PROGRAM BASELINE [RUNS]
// Each run starts the program, waits for its top-level window to be mapped (a MapNotify on the
// root window), lets it settle, ends it, and takes its peak resident memory from wait4().
// Prints the medians and the ratios program / baseline (targets: time <= 1.5, memory <= 1.3).
#include <X11/Xlib.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Sample {
    double startupMs;
    long peakKiB;
};

bool waitForMap(Display *display, Clock::time_point deadline) {
    const int fd = ConnectionNumber(display);
    while (Clock::now() < deadline) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && !event.xmap.override_redirect) {
                return true;
            }
        }
        pollfd waiting{fd, POLLIN, 0};
        poll(&waiting, 1, 50);
    }
    return false;
}

Sample measure(Display *display, const char *program) {
    XSync(display, True);  // drop events left from the previous run
    const Clock::time_point start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execl(program, program, static_cast<char *>(nullptr));
        _exit(127);
    }
    if (!waitForMap(display, start + std::chrono::seconds(20))) {
        std::fprintf(stderr, "%s mapped no window within 20 s\n", program);
        kill(pid, SIGKILL);
        std::exit(1);
    }
    const double startupMs =
        std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    // Let it paint and settle before it is ended; its peak memory is kept by the kernel.
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    kill(pid, SIGTERM);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    return {startupMs, usage.ru_maxrss};
}

template <typename T>
T median(std::vector<T> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s PROGRAM BASELINE [RUNS]\n", argv[0]);
        return 2;
    }
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 9;
    Display *display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "cannot open the X display\n");
        return 1;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);

    measure(display, argv[1]);  // warm the file cache for both
    measure(display, argv[2]);
    std::vector<double> programMs, baselineMs;
    std::vector<long> programKiB, baselineKiB;
    for (int run = 0; run < runs; ++run) {
        const Sample p = measure(display, argv[1]);
        const Sample b = measure(display, argv[2]);
        programMs.push_back(p.startupMs);
        programKiB.push_back(p.peakKiB);
        baselineMs.push_back(b.startupMs);
        baselineKiB.push_back(b.peakKiB);
    }
    XCloseDisplay(display);

    const double timeRatio = median(programMs) / median(baselineMs);
    const double memoryRatio = static_cast<double>(median(programKiB)) / median(baselineKiB);
    std::printf(
        "start-up to mapped window: %.1f ms, baseline %.1f ms, ratio %.2f (target <= 1.5)%s\n",
        median(programMs), median(baselineMs), timeRatio, timeRatio <= 1.5 ? "" : "  OVER TARGET");
    std::printf("peak memory: %ld KiB, baseline %ld KiB, ratio %.2f (target <= 1.3)%s\n",
                median(programKiB), median(baselineKiB), memoryRatio,
                memoryRatio <= 1.3 ? "" : "  OVER TARGET");
    return timeRatio <= 1.5 && memoryRatio <= 1.3 ? 0 : 1;
}
