// What the start-up benchmark's two programs agree on: the clock a start time is
// taken with on one side of exec and read on the other, and the memory figures
// the kernel keeps for a process.
#pragma once

#include <cstdint>
#include <ctime>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

namespace vaskelo::bench {

// CLOCK_MONOTONIC is one clock for every process on the machine, so a time taken
// in the driver just before exec can be subtracted from one taken in the child.
inline std::int64_t monotonicNanos() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

// A "Field:   1234 kB" line of /proc/<pid>/status in kB ("self" for this process);
// nothing if the process or the field is gone.
inline std::optional<long> statusKilobytes(const std::string& pid, std::string_view field) {
    std::ifstream status("/proc/" + pid + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.size() > field.size() && line.starts_with(field) && line[field.size()] == ':') {
            return std::stol(line.substr(field.size() + 1));
        }
    }
    return std::nullopt;
}

}  // namespace vaskelo::bench
