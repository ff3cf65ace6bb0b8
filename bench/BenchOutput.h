#pragma once

// What every benchmark prints: one line per figure,
//   BENCH <name> <value> <limit-value> <ratio> <target-ratio>
// so bench/run-all.sh can gather them into one table.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace zdawnik::bench {

namespace detail {

// Wall time of one call of work, in microseconds, over repeat calls.
inline double MicrosecondsPerCall(const std::function<void()>& work, int repeat)
{
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < repeat; ++i)
        work();
    const std::chrono::duration<double, std::micro> spent = std::chrono::steady_clock::now() - start;
    return spent.count() / repeat;
}

inline double Median(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

} // namespace detail

// Median wall time of one call of work, in microseconds, over rounds of repeat calls each.
inline double MedianMicroseconds(const std::function<void()>& work, int repeat, int rounds = 15)
{
    work(); // warm caches and lazy initialisation
    std::vector<double> samples;
    for (int round = 0; round < rounds; ++round)
        samples.push_back(detail::MicrosecondsPerCall(work, repeat));
    return detail::Median(std::move(samples));
}

// Median wall times of one call of work and of one call of its limit, in microseconds, over rounds
// of repeat calls each. The two take turns round by round, so that a change in the machine's load
// falls on both alike.
struct PairedTimes
{
    double work = 0;
    double limit = 0;
};

inline PairedTimes MedianPairedMicroseconds(const std::function<void()>& work,
                                            const std::function<void()>& limit, int repeat, int rounds = 15)
{
    work(); // warm caches and lazy initialisation
    limit();
    std::vector<double> works;
    std::vector<double> limits;
    for (int round = 0; round < rounds; ++round) {
        works.push_back(detail::MicrosecondsPerCall(work, repeat));
        limits.push_back(detail::MicrosecondsPerCall(limit, repeat));
    }
    return {detail::Median(std::move(works)), detail::Median(std::move(limits))};
}

inline std::string FormatMicroseconds(double us)
{
    char text[32];
    if (us >= 1000.0)
        std::snprintf(text, sizeof text, "%.2fms", us / 1000.0);
    else
        std::snprintf(text, sizeof text, "%.2fus", us);
    return text;
}

inline void Report(const std::string& name, const std::string& value, const std::string& limit, double ratio,
                   double target)
{
    std::printf("BENCH %s %s %s %.2f %.2f\n", name.c_str(), value.c_str(), limit.c_str(), ratio, target);
    std::fflush(stdout);
}

inline void ReportTimes(const std::string& name, double us, double limitUs, double target)
{
    Report(name, FormatMicroseconds(us), FormatMicroseconds(limitUs), us / limitUs, target);
}

} // namespace zdawnik::bench
