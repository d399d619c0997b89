// bench_startup: how long the program takes from process start to its first
// painted frame, and how much memory it has needed by then, against a bare Qt
// window. It runs bench_window in its two modes in turn (vaskelo, bare, vaskelo,
// bare, ...) and prints each mode's median, minimum and maximum and the ratios.
//
//     bench_startup [PAIRS] [--real [PATH/TO/PROGRAM]]
//
// With --real the real program (programs/vaskelo built alongside unless a path is
// given) joins each round; as it cannot report its own first frame, the X server
// is watched for its window, which is then polled until its pixels change.
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/utsname.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "bench/process_figures.h"

namespace {

using vaskelo::bench::monotonicNanos;

constexpr std::int64_t kNanosPerMilli = 1'000'000;
constexpr int kRecommendedPairs = 20;

enum class Subject { Vaskelo, Bare, Program };

std::string_view nameOf(Subject subject) {
    switch (subject) {
        case Subject::Vaskelo: return "vaskelo";
        case Subject::Bare: return "bare";
        case Subject::Program: return "real program";
    }
    return "?";
}

struct Sample {
    double ms;
    long hwmKb;     // VmHWM at the first frame
    long maxRssKb;  // the child's peak over its whole life, from wait4
    double cpuMs;   // user and system time over its whole life: what other work
                    // on the machine stretches least
};

// What wait4 tells of a child that ended as it should.
struct Ended {
    long maxRssKb;
    double cpuMs;
};

struct FreeDeleter {
    void operator()(void* pointer) const { std::free(pointer); }
};
// xcb hands out replies and events allocated with malloc.
template <typename T>
using XcbPointer = std::unique_ptr<T, FreeDeleter>;

// A started child: its pid, the CLOCK_MONOTONIC time it took just before exec,
// and the read end of its standard output if that was captured.
struct Launched {
    pid_t pid;
    std::int64_t startNanos;
    int output;
};

void closeIfOpen(int fd) {
    if (fd >= 0) close(fd);
}

// Forks and execs args[0]. The child reads the clock as the last thing before exec
// and sends it back through a pipe, so the time counted includes loading the
// program; with passStart it is also appended to the arguments.
Launched launch(std::vector<std::string> args, bool passStart, bool captureOutput) {
    std::array<int, 2> startPipe{-1, -1};
    std::array<int, 2> outputPipe{-1, -1};
    if (pipe2(startPipe.data(), O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    if (captureOutput && pipe2(outputPipe.data(), O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");

    // Everything exec needs is allocated before the fork; the child only fills in
    // the start time.
    std::array<char, 32> startText{};
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    if (passStart) argv.push_back(startText.data());
    argv.push_back(nullptr);

    const pid_t pid = fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        if (captureOutput) dup2(outputPipe[1], STDOUT_FILENO);
        const std::int64_t start = monotonicNanos();
        std::snprintf(startText.data(), startText.size(), "%lld", static_cast<long long>(start));
        if (write(startPipe[1], &start, sizeof start) != static_cast<ssize_t>(sizeof start)) _exit(126);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(startPipe[1]);
    closeIfOpen(outputPipe[1]);
    std::int64_t start = 0;
    const ssize_t got = read(startPipe[0], &start, sizeof start);
    close(startPipe[0]);
    if (got != static_cast<ssize_t>(sizeof start)) throw std::runtime_error("the child sent no start time");
    return {pid, start, outputPipe[0]};
}

std::string readAll(int fd) {
    std::string text;
    std::array<char, 512> buffer{};
    for (;;) {
        const ssize_t n = read(fd, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        text.append(buffer.data(), static_cast<std::size_t>(n));
    }
    close(fd);
    return text;
}

double millis(const timeval& t) { return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3; }

// Reaps the child; nothing if it did not end well.
std::optional<Ended> reap(pid_t pid, bool killed) {
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) return std::nullopt;
    const bool ended = killed ? WIFSIGNALED(status) || WIFEXITED(status) : WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (!ended) return std::nullopt;
    return Ended{usage.ru_maxrss, millis(usage.ru_utime) + millis(usage.ru_stime)};
}

// One run of bench_window; `about` gets the Qt version and platform it reported.
Sample runWindow(const std::string& benchWindow, Subject subject, std::string& about) {
    const Launched child = launch({benchWindow, std::string(nameOf(subject))}, true, true);
    const std::string output = readAll(child.output);
    const std::optional<Ended> ended = reap(child.pid, false);
    long long frameNanos = 0;
    long hwm = 0;
    if (!ended || std::sscanf(output.c_str(), "frame_ns=%lld vmhwm_kb=%ld", &frameNanos, &hwm) != 2) {
        throw std::runtime_error("bench_window " + std::string(nameOf(subject)) + " failed: " + output);
    }
    if (const auto qt = output.find("qt="); qt != std::string::npos) {
        about = output.substr(qt);
        while (!about.empty() && about.back() == '\n') about.pop_back();
    }
    return {static_cast<double>(frameNanos) / kNanosPerMilli, hwm, ended->maxRssKb, ended->cpuMs};
}

// Watches the X server for a new top-level window and for the first pixels drawn
// into it. Without a window manager (as under tools/with-display) a window's background is
// left as the root's until its program paints, so a change of colour is the frame.
class DisplayWatcher {
public:
    DisplayWatcher() {
        int screenNumber = 0;
        connection_ = xcb_connect(nullptr, &screenNumber);
        if (xcb_connection_has_error(connection_) != 0) {
            xcb_disconnect(connection_);
            throw std::runtime_error("cannot connect to the X server (run under tools/with-display)");
        }
        fcntl(xcb_get_file_descriptor(connection_), F_SETFD, FD_CLOEXEC);
        xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection_));
        for (int i = 0; i < screenNumber && screens.rem > 0; ++i) xcb_screen_next(&screens);
        root_ = screens.data->root;
        const std::uint32_t events = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &events);
        xcb_flush(connection_);
    }
    ~DisplayWatcher() { xcb_disconnect(connection_); }
    DisplayWatcher(const DisplayWatcher&) = delete;
    DisplayWatcher& operator=(const DisplayWatcher&) = delete;

    // Drops what earlier windows reported.
    void forget() {
        while (XcbPointer<xcb_generic_event_t> event{xcb_poll_for_event(connection_)}) {
        }
    }

    // The colour of the screen where no window is: the root's top-left pixel.
    std::optional<std::uint32_t> background() {
        const auto pixels = pixelsOf(root_, 0, 0, 1);
        if (!pixels) return std::nullopt;
        return pixels->front();
    }

    std::optional<xcb_window_t> nextMappedWindow(std::int64_t deadline) {
        for (;;) {
            while (XcbPointer<xcb_generic_event_t> event{xcb_poll_for_event(connection_)}) {
                if ((event->response_type & 0x7f) != XCB_MAP_NOTIFY) continue;
                const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(event.get());
                if (map->override_redirect == 0) return map->window;
            }
            const std::int64_t left = deadline - monotonicNanos();
            if (left <= 0 || xcb_connection_has_error(connection_) != 0) return std::nullopt;
            pollfd fd{xcb_get_file_descriptor(connection_), POLLIN, 0};
            poll(&fd, 1, static_cast<int>(left / kNanosPerMilli) + 1);
        }
    }

    // Whether anything on the window's middle row differs from the background;
    // nothing if the window is gone.
    std::optional<bool> painted(xcb_window_t window, std::uint32_t background) {
        const XcbPointer<xcb_get_geometry_reply_t> geometry{
            xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, window), nullptr)};
        if (!geometry) return std::nullopt;
        const auto row = pixelsOf(window, 0, geometry->height / 2, geometry->width);
        if (!row) return std::nullopt;
        return std::any_of(row->begin(), row->end(), [background](std::uint32_t pixel) { return pixel != background; });
    }

private:
    // A row of pixels as 0xRRGGBB; only 24- and 32-bit-deep screens (4 bytes a pixel).
    std::optional<std::vector<std::uint32_t>> pixelsOf(xcb_drawable_t drawable, int x, int y, int width) {
        const XcbPointer<xcb_get_image_reply_t> image{xcb_get_image_reply(
            connection_,
            xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, drawable, static_cast<std::int16_t>(x),
                          static_cast<std::int16_t>(y), static_cast<std::uint16_t>(width), 1, ~std::uint32_t{0}),
            nullptr)};
        if (!image || (image->depth != 24 && image->depth != 32)) return std::nullopt;
        const std::uint8_t* bytes = xcb_get_image_data(image.get());
        const int length = xcb_get_image_data_length(image.get());
        std::vector<std::uint32_t> pixels;
        for (int i = 0; i + 3 < length && static_cast<int>(pixels.size()) < width; i += 4) {
            pixels.push_back(std::uint32_t{bytes[i]} | std::uint32_t{bytes[i + 1]} << 8 | std::uint32_t{bytes[i + 2]} << 16);
        }
        if (pixels.empty()) return std::nullopt;
        return pixels;
    }

    xcb_connection_t* connection_ = nullptr;
    xcb_window_t root_ = 0;
};

// One run of the real program, timed from outside: map, then poll every 0.2 ms
// until the window shows something; its memory is read from /proc at that moment.
Sample runProgram(DisplayWatcher& watcher, const std::string& program) {
    watcher.forget();
    const std::optional<std::uint32_t> background = watcher.background();
    if (!background) throw std::runtime_error("cannot read the screen (needs a 24- or 32-bit-deep X screen)");
    const Launched child = launch({program}, false, false);
    const std::int64_t deadline = child.startNanos + 20'000 * kNanosPerMilli;

    std::optional<std::int64_t> frame;
    if (const std::optional<xcb_window_t> window = watcher.nextMappedWindow(deadline)) {
        while (!frame && monotonicNanos() < deadline) {
            const std::optional<bool> painted = watcher.painted(*window, *background);
            if (!painted) break;
            if (*painted) {
                frame = monotonicNanos();
            } else {
                const timespec pause{0, 200'000};
                nanosleep(&pause, nullptr);
            }
        }
    }
    const std::optional<long> hwm = vaskelo::bench::statusKilobytes(std::to_string(child.pid), "VmHWM");
    kill(child.pid, SIGTERM);
    const std::optional<Ended> ended = reap(child.pid, true);
    if (!frame || !hwm || !ended) throw std::runtime_error("the real program showed no painted window: " + program);
    return {static_cast<double>(*frame - child.startNanos) / kNanosPerMilli, *hwm, ended->maxRssKb, ended->cpuMs};
}

template <typename T>
T median(std::vector<T> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    if (values.size() % 2 == 1) return values[middle];
    return (values[middle - 1] + values[middle]) / 2;
}

struct Series {
    std::vector<double> ms;
    std::vector<long> hwmKb;
    std::vector<long> maxRssKb;
    std::vector<double> cpuMs;

    void add(const Sample& sample) {
        ms.push_back(sample.ms);
        hwmKb.push_back(sample.hwmKb);
        maxRssKb.push_back(sample.maxRssKb);
        cpuMs.push_back(sample.cpuMs);
    }
};

std::string machine() {
    std::string model = "unknown CPU";
    std::ifstream cpuinfo("/proc/cpuinfo");
    for (std::string line; std::getline(cpuinfo, line);) {
        if (line.starts_with("model name")) {
            model = line.substr(line.find(':') + 2);
            break;
        }
    }
    utsname system{};
    uname(&system);
    // Other work on the machine stretches both windows' times alike, which shrinks
    // the ratio; the load says how quiet the machine was.
    std::string load;
    std::getline(std::ifstream("/proc/loadavg"), load);
    return std::to_string(sysconf(_SC_NPROCESSORS_ONLN)) + " CPUs, " + model + ", Linux " + system.release +
           ", load " + load.substr(0, load.find(' '));
}

void printRow(std::string_view name, const Series& series) {
    const auto [least, most] = std::minmax_element(series.ms.begin(), series.ms.end());
    std::printf("%-22s %9.2f %9.2f %9.2f %9.2f %12ld %12ld\n", std::string(name).c_str(), median(series.ms), *least,
                *most, median(series.cpuMs), median(series.hwmKb), median(series.maxRssKb));
}

void printRatio(std::string_view what, double ratio) {
    std::printf("  %-40s %5.3f  %s\n", std::string(what).c_str(), ratio, ratio <= 1.10 ? "(target <= 1.10 met)" : "(target <= 1.10 MISSED)");
}

struct Options {
    int pairs = 25;
    std::optional<std::string> program;
};

std::optional<Options> parse(int argc, char* argv[]) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg(argv[i]);
        if (arg == "--real") {
            // A path names the program; without one it is the one built alongside.
            const bool path = i + 1 < argc && std::string_view(argv[i + 1]).find('/') != std::string_view::npos;
            options.program = path ? std::string(argv[++i]) : std::string(VASKELO_PROGRAM);
        } else if (!arg.empty() && std::all_of(arg.begin(), arg.end(), [](char c) { return c >= '0' && c <= '9'; })) {
            options.pairs = std::stoi(std::string(arg));
        } else {
            return std::nullopt;
        }
    }
    if (options.pairs < 1) return std::nullopt;
    return options;
}

}  // namespace

int main(int argc, char* argv[]) {
    const std::optional<Options> options = parse(argc, argv);
    if (!options) {
        std::fputs("usage: bench_startup [PAIRS] [--real [PATH/TO/PROGRAM]]\n", stderr);
        return 2;
    }
    if (options->pairs < kRecommendedPairs) {
        std::fprintf(stderr, "bench_startup: fewer than %d pairs make rough medians\n", kRecommendedPairs);
    }
    // Under tools/with-display the X platform is the one meant even where a Wayland session exists.
    setenv("QT_QPA_PLATFORM", "xcb", 0);
    const std::string benchWindow = VASKELO_BENCH_WINDOW;

    try {
        std::unique_ptr<DisplayWatcher> watcher;
        std::vector<Subject> round{Subject::Vaskelo, Subject::Bare};
        if (options->program) {
            watcher = std::make_unique<DisplayWatcher>();
            round.push_back(Subject::Program);
        }
        std::string about;
        const auto run = [&](Subject subject) {
            switch (subject) {
                case Subject::Vaskelo:
                case Subject::Bare: return runWindow(benchWindow, subject, about);
                case Subject::Program: return runProgram(*watcher, *options->program);
            }
            throw std::logic_error("unknown subject");
        };

        // One untimed round first, so every run finds the libraries and the font
        // cache in memory.
        for (const Subject subject : round) run(subject);

        std::array<Series, 3> series;
        std::vector<double> pairRatios;
        std::vector<double> pairDifferences;
        for (int pair = 0; pair < options->pairs; ++pair) {
            std::array<double, 3> ms{};
            for (const Subject subject : round) {
                const Sample sample = run(subject);
                const auto index = static_cast<std::size_t>(subject);
                series[index].add(sample);
                ms[index] = sample.ms;
            }
            pairRatios.push_back(ms[0] / ms[1]);
            pairDifferences.push_back(ms[0] - ms[1]);
        }

        std::printf("Start-up to the first painted frame, %d rounds of %s\n", options->pairs,
                    options->program ? "vaskelo, bare, real program" : "vaskelo, bare");
        std::printf("%s; %s\n\n", machine().c_str(), about.c_str());
        std::printf("%-22s %9s %9s %9s %9s %12s %12s\n", "", "median ms", "min ms", "max ms", "CPU ms", "VmHWM kB",
                    "maxRSS kB");
        for (const Subject subject : round) printRow(nameOf(subject), series[static_cast<std::size_t>(subject)]);
        const Series& vaskelo = series[0];
        const Series& bare = series[1];
        std::printf("\nvaskelo / bare\n");
        printRatio("time, ratio of the medians", median(vaskelo.ms) / median(bare.ms));
        printRatio("time, median of the rounds' own ratios", median(pairRatios));
        std::printf("  %-40s %+5.2f ms\n", "time, median of the rounds' differences", median(pairDifferences));
        std::printf("  %-40s %5.3f\n", "CPU time of the whole run, medians", median(vaskelo.cpuMs) / median(bare.cpuMs));
        printRatio("VmHWM at the first frame, medians",
                   static_cast<double>(median(vaskelo.hwmKb)) / static_cast<double>(median(bare.hwmKb)));
        printRatio("max RSS over the whole run, medians",
                   static_cast<double>(median(vaskelo.maxRssKb)) / static_cast<double>(median(bare.maxRssKb)));
        if (options->program) {
            const Series& program = series[2];
            std::printf("\nreal program (watched from outside, within ~0.3 ms) / bare\n");
            printRatio("time, ratio of the medians", median(program.ms) / median(bare.ms));
            printRatio("VmHWM at the first frame, medians",
                       static_cast<double>(median(program.hwmKb)) / static_cast<double>(median(bare.hwmKb)));
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bench_startup: %s\n", error.what());
        return 1;
    }
    return 0;
}
