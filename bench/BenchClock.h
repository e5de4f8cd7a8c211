// Timing for the benchmark programs: every figure is run repeatedly and reported as the minimum and
// the median of its runs, one tab-separated line a figure and subject:
//     figure <TAB> subject <TAB> min_us <TAB> median_us
// "ours" is the framework; any other subject is the reference the figure is compared with, measured
// in the same process with the same build flags. tools/bench.sh turns the lines into ratios.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

namespace bench {

struct TFigure {
    double minUs = 0;
    double medianUs = 0;
};

// `--quick` runs every figure once on tiny inputs: it proves the program works, nothing more.
struct TOptions {
    bool quick = false;
    int runs = 15;
};

inline TOptions ParseOptions(int argc, char** argv)
{
    TOptions options;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--quick") == 0) {
            options.quick = true;
            options.runs = 1;
        }
    }
    return options;
}

// Minimum and median of samples taken some other way (at least one).
inline TFigure Summarize(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    TFigure figure;
    figure.minUs = samples.front();
    figure.medianUs = samples[samples.size() / 2];
    return figure;
}

// The figure of one field over every run's record, for benchmarks that time several steps a run.
template <class Record> TFigure SummarizeField(const std::vector<Record>& runs, double Record::*field)
{
    std::vector<double> samples;
    for (const Record& run : runs)
        samples.push_back(run.*field);
    return Summarize(samples);
}

template <class Body> TFigure Measure(int runs, Body&& body)
{
    std::vector<double> times;
    times.reserve(static_cast<size_t>(runs));
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        body();
        const auto end = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    return Summarize(times);
}

// Runs quick bodies many times per sample so that timer resolution does not dominate.
template <class Body> TFigure MeasureBatched(int runs, int batch, Body&& body)
{
    TFigure figure = Measure(runs, [&] {
        for (int i = 0; i < batch; ++i)
            body();
    });
    figure.minUs /= batch;
    figure.medianUs /= batch;
    return figure;
}

// One sample of a step inside a larger sequence that cannot be repeated on its own.
using Clock = std::chrono::steady_clock;
inline double MicrosecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

inline void Print(const char* figure, const char* subject, const TFigure& value)
{
    std::printf("%s\t%s\t%.3f\t%.3f\n", figure, subject, value.minUs, value.medianUs);
    std::fflush(stdout);
}

// Keeps a computed value alive so the optimiser cannot drop the work that made it.
inline void Consume(size_t value)
{
    static volatile size_t sink;
    sink = sink + value;
}

}  // namespace bench
