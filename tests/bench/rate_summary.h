#pragma once
// Collects each benchmark's throughput while the console shows the usual
// table, so the run can end with a summary of figures and ratios.

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

class RateCollector : public benchmark::ConsoleReporter {
  public:
    // Colours only on a terminal.
    explicit RateCollector(bool color) : ConsoleReporter(color ? OO_Defaults : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) Collect(run);
        ConsoleReporter::ReportRuns(runs);
    }

    // Bytes per second of a benchmark, 0 if it did not run; with
    // repetitions, the "max" aggregate if there is one, else the median.
    double BytesPerSecond(const std::string& name) const {
        const auto found = rates.find(name);
        return found == rates.end() ? 0 : found->second.value;
    }

  private:
    struct Rate {
        double value = 0;
        int rank = -1;  // a single run 0, the median 1, the maximum 2
    };

    void Collect(const Run& run) {
        if (run.error_occurred) return;
        int rank = 0;
        if (run.run_type == Run::RT_Aggregate) {
            if (run.aggregate_name == "median") rank = 1;
            else if (run.aggregate_name == "max") rank = 2;
            else return;
        }
        const auto rate = run.counters.find("bytes_per_second");
        if (rate == run.counters.end()) return;
        Rate& kept = rates[run.run_name.str()];
        if (rank >= kept.rank) kept = {rate->second.value, rank};
    }

    std::map<std::string, Rate> rates;
};
