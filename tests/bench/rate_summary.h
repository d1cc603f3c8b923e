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
    // repetitions, the median.
    double BytesPerSecond(const std::string& name) const {
        const auto found = rates.find(name);
        return found == rates.end() ? 0 : found->second;
    }

  private:
    void Collect(const Run& run) {
        if (run.error_occurred) return;
        const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        if (run.run_type == Run::RT_Aggregate && !median) return;
        const auto rate = run.counters.find("bytes_per_second");
        if (rate == run.counters.end()) return;
        const std::string name = run.run_name.str();
        if (median || !medians.count(name)) rates[name] = rate->second.value;
        if (median) medians[name] = true;
    }

    std::map<std::string, double> rates;
    std::map<std::string, bool> medians;
};
