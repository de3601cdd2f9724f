// Timing helpers of the benchmarks. clock_gettime: <chrono> does not build with the CP932
// execution character set.
#pragma once

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace zv::bench {

inline double NowUs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) * 1e6 + static_cast<double>(ts.tv_nsec) / 1e3;
}

inline double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// One line of the benchmark report that ./bench gathers into its table: a figure and the
// floor it is compared with, measured in the same run, in the same unit.
inline void Report(const char* name, double value, const char* floorName, double floor,
                   const char* unit) {
    std::printf("BENCH\t%s\t%.3f\t%s\t%.3f\t%s\n", name, value, floorName, floor, unit);
}

}  // namespace zv::bench
