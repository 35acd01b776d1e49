// Timing of monitoring passes for the benchmarks: medians, not means, since
// a pass now and then waits on the machine.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "watch/folder_watch.h"

struct Figures {
    double median;
    double p90;
    double max;
};

inline Figures Summarise(std::vector<double> us) {
    std::sort(us.begin(), us.end());
    return {us[us.size() / 2], us[us.size() * 9 / 10], us.back()};
}

// Runs before() and then one timed pass of the watch, passes times; figures
// in µs.
template <typename Before>
Figures TimePasses(FolderWatch& watch, int passes, Before before) {
    std::vector<double> us;
    us.reserve(static_cast<std::size_t>(passes));
    for (int i = 0; i < passes; ++i) {
        before();
        const auto start = std::chrono::steady_clock::now();
        watch.RunPass();
        const auto end = std::chrono::steady_clock::now();
        us.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    return Summarise(std::move(us));
}

// One line of figures: "pass, values equal:     median ... us  p90 ... us".
inline void PrintFigures(const char* label, const Figures& f, const char* note = "") {
    std::printf("%-24s median %8.2f us  p90 %8.2f us  max %8.2f us%s\n", label, f.median, f.p90,
                f.max, note);
}
