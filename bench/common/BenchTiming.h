// What the benchmarks time with: a steady clock, the microseconds between
// two of its readings, and the median of a sample, so that one run slowed
// by the machine counts for nothing.
#ifndef ZEM_BENCHTIMING_H
#define ZEM_BENCHTIMING_H

#include <algorithm>
#include <chrono>
#include <vector>

namespace zembench {

using Clock = std::chrono::steady_clock;

inline double micros(Clock::time_point a, Clock::time_point b)
{
    return std::chrono::duration<double, std::micro>(b - a).count();
}

inline double median(std::vector<double> sample)
{
    if (sample.empty())
        return 0;
    std::sort(sample.begin(), sample.end());
    return sample[sample.size() / 2];
}

}

#endif
