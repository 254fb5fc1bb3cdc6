// A console reporter that also collects each benchmark's median time and, at
// the end, prints every "ours" benchmark as a ratio to its baseline measured in
// the same run. Benchmarks are named "<operation>/ours" and
// "<operation>/baseline".
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace kamo::bench {

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  // goal: the largest acceptable ratio for an operation (printed beside it).
  explicit RatioReporter(std::map<std::string, double> goals) : goals_(std::move(goals)) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& r : runs) {
      if (r.run_type != Run::RT_Aggregate || r.aggregate_name != "median") continue;
      std::string name = r.run_name.function_name;
      if (!r.run_name.args.empty()) name += "/" + r.run_name.args;
      medians_[name] = r.GetAdjustedRealTime();
      unit_ = benchmark::GetTimeUnitString(r.time_unit);
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\n%-34s %14s %14s %8s %6s\n", "operation", "ours", "baseline", "ratio", "goal");
    bool allMet = true;
    for (const auto& [name, ours] : medians_) {
      const auto slash = name.rfind("/ours");
      if (slash == std::string::npos) continue;
      const std::string op = name.substr(0, slash);
      auto base = medians_.find(op + "/baseline");
      if (base == medians_.end()) continue;
      const double ratio = ours / base->second;
      const auto goal = goals_.find(op);
      const bool met = goal == goals_.end() || ratio <= goal->second;
      allMet = allMet && met;
      std::printf("%-34s %11.3f %-2s %11.3f %-2s %8.2f %6s%s\n", op.c_str(), ours, unit_.c_str(), base->second,
                  unit_.c_str(), ratio, goal == goals_.end() ? "" : std::to_string(goal->second).substr(0, 4).c_str(),
                  met ? "" : "  (over goal)");
    }
    std::printf("%s\n", allMet ? "every ratio within its goal" : "some ratios over their goals");
  }

 private:
  std::map<std::string, double> goals_;
  std::map<std::string, double> medians_;
  std::string unit_;
};

}  // namespace kamo::bench
