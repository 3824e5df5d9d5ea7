#pragma once
// The process's CPU time as a std::chrono clock. The benchmarks time their ratios with it, so
// that other work on a busy machine (which takes the processor away, not the work) does not
// count; the work here is the process's own (file writes of the embedded engine are buffered).
#include <chrono>
#include <ctime>

struct CpuClock {
    using duration = std::chrono::nanoseconds;
    using rep = duration::rep;
    using period = duration::period;
    using time_point = std::chrono::time_point<CpuClock>;
    static constexpr bool is_steady = true;
    static time_point now() noexcept
    {
        timespec ts{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
        return time_point(duration(std::chrono::seconds(ts.tv_sec) + std::chrono::nanoseconds(ts.tv_nsec)));
    }
};
