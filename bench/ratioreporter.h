#pragma once

// The benchmarks' reporter: Google Benchmark's console output, plus the time per iteration of
// each benchmark, for targets given as ratios to a baseline measured in the same run.

#include <benchmark/benchmark.h>

#include <iostream>
#include <map>
#include <string>
#include <vector>

namespace velmora {

/** Console output as usual, plus the time per iteration of each benchmark for the ratios. */
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
                m_seconds[run.benchmark_name()] = run.real_accumulated_time / run.iterations;
            }
        }
    }

    /** Prints cost/baseline against the target; returns false when over it or not measured. */
    bool ratio(const std::string &cost, const std::string &baseline, double target,
               const std::string &note = "") {
        if (!m_seconds.count(cost) || !m_seconds.count(baseline)) {
            return true;  // filtered out of this run
        }
        const double value = m_seconds[cost] / m_seconds[baseline];
        std::cout << cost << " / " << baseline << " = " << value << " (target <= " << target << ")"
                  << note << (value <= target ? "" : "  OVER TARGET") << '\n';
        return value <= target;
    }

    /** Seconds per iteration of the benchmark with that name; 0 when it did not run. */
    double seconds(const std::string &name) const {
        const auto found = m_seconds.find(name);
        return found == m_seconds.end() ? 0.0 : found->second;
    }

private:
    std::map<std::string, double> m_seconds;
};

}  // namespace velmora
