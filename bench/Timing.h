// The timing of the benchmark programs: wall-clock milliseconds of a run and medians over runs.
#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <utility>
#include <vector>

namespace zor::bench {

// Milliseconds of one run of `run`.
inline double Ms(const std::function<void()>& run) {
    const auto t0 = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

// The median of at least one figure.
inline double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The median milliseconds of `runs` runs (at least one).
inline double MedianMs(int runs, const std::function<void()>& run) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) ms.push_back(Ms(run));
    return Median(ms);
}

// Medians of two pictures timed turn about, so that both meet the same load of the machine.
inline std::pair<double, double> InterleavedMedianMs(int runs, const std::function<void()>& a,
                                                     const std::function<void()>& b) {
    std::vector<double> ma, mb;
    for (int i = 0; i < runs; ++i) {
        ma.push_back(Ms(a));
        mb.push_back(Ms(b));
    }
    return {Median(ma), Median(mb)};
}

} // namespace zor::bench
