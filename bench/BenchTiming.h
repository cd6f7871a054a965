#pragma once
// Small timing helpers shared by the benchmarks that time by hand.
#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

namespace cbbench {

inline double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Wall time of one call in milliseconds.
inline double TimeMs(const std::function<void()>& f) {
    const auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

}  // namespace cbbench
