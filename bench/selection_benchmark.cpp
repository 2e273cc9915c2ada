// The backup run's list building over synthetic trees of 100k and 1M files, beside the floors
// of a bare getdents64 walk, a walk that stats every file and one that reads every file's
// extended attribute, all measured in this run; ends with each figure as a ratio against its
// floor, and the list's peak bytes per selected file. The run is also measured with the
// temporary mark kept (as the tests keep it), which costs an attribute read per taken file.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "bench/allocation_counter.h"
#include "bench/tree_generator.h"
#include "bench/tree_writer.h"
#include "bench/walk_baselines.h"
#include "engine/backup_run.h"
#include "platform/host_path.h"
#include "platform/temporary_mark.h"

namespace {


std::string TreeFolder(size_t files) {
  const char* base = std::getenv("BKQN_BENCH_DIR");
  return std::string(base != nullptr ? base : "/tmp") + "/bkqn-tree-" + std::to_string(files);
}

// The host and Windows-form roots of the tree of `files` files, written on first use.
struct Tree {
  std::string host;
  std::string windows;
};

const Tree& TreeOf(size_t files) {
  static std::map<size_t, Tree> trees;
  auto it = trees.find(files);
  if (it == trees.end()) {
    const std::string host = TreeFolder(files);
    const std::string windows = EnsureTreeOnDisk(GenerateTree(kBenchTreeSeed, files, kBenchTreeNow), host);
    it = trees.emplace(files, Tree{host, windows}).first;
  }
  return it->second;
}

BackupList Entries(const Tree& tree, bool withDateRule) {
  CFolderEntry folder;
  folder.m_strPath = tree.windows;
  folder.m_strIncludeMasks = "*.doc | *.txt | *.jpg";
  folder.m_strExcludeMasks = "*.bak | *.tmp";
  if (withDateRule) {
    folder.m_nIncludeRule = RULE_LAST_MONTHS;
    folder.m_nIncludeCount = 6;
  }
  return {folder};
}

void BareWalkBenchmark(benchmark::State& state, size_t files) {
  const Tree& tree = TreeOf(files);
  for (auto _ : state) benchmark::DoNotOptimize(BareWalk(tree.host));
}

void StatWalkBenchmark(benchmark::State& state, size_t files) {
  const Tree& tree = TreeOf(files);
  for (auto _ : state) benchmark::DoNotOptimize(StatWalk(tree.host));
}

void AttributeWalkBenchmark(benchmark::State& state, size_t files) {
  const Tree& tree = TreeOf(files);
  for (auto _ : state) benchmark::DoNotOptimize(AttributeWalk(tree.host));
}

void BuildListBenchmark(benchmark::State& state, size_t files, bool withDateRule, bool temporaryMark) {
  const Tree& tree = TreeOf(files);
  platform::KeepTemporaryMark(temporaryMark);
  const BackupList entries = Entries(tree, withDateRule);
  const RuleClock clock{kBenchTreeNow / 86400, 1};
  size_t selected = 0, peak = 0;
  for (auto _ : state) {
    const size_t baseline = AllocatedBytes();
    ResetPeakAllocatedBytes();
    BackupItems items = BuildBackupList(entries, clock);
    peak = PeakAllocatedBytes() - baseline;
    selected = items.size();
    benchmark::DoNotOptimize(items);
  }
  platform::KeepTemporaryMark(false);
  state.counters["files"] = static_cast<double>(selected);
  state.counters["peak_bytes_per_file"] = selected ? static_cast<double>(peak) / selected : 0;
}

// Keeps the median of every benchmark and prints the ratios at the end.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.aggregate_name != "median") continue;
      std::string name = run.run_name.function_name;
      m_medians[name] = run.GetAdjustedRealTime();
      auto bytes = run.counters.find("peak_bytes_per_file");
      if (bytes != run.counters.end()) m_bytes[name] = bytes->second;
    }
  }

  void PrintRatios() const {
    std::printf("\nMedians as ratios against the floors measured in this run:\n");
    for (const char* size : {"100k", "1M"}) {
      const std::string suffix = std::string("/") + size;
      auto at = [&](const std::string& name) {
        auto it = m_medians.find(name + suffix);
        return it == m_medians.end() ? 0.0 : it->second;
      };
      const double bare = at("BareWalk"), stat = at("StatWalk"), attribute = at("AttributeWalk");
      const double plain = at("BuildBackupList"), dated = at("BuildBackupListWithDateRule");
      const double marked = at("BuildBackupListTemporaryMarkKept");
      if (bare <= 0 || stat <= 0) continue;
      std::printf("  %-4s  no date rules: %.2fx the bare walk   include date rule: %.2fx the stat walk"
                  "   (stat walk: %.2fx, attribute walk: %.2fx the bare walk)\n",
                  size, plain / bare, dated / stat, stat / bare, attribute / bare);
      std::printf("  %-4s  no date rules, temporary mark kept: %.2fx the bare walk\n", size, marked / bare);
      for (const char* name : {"BuildBackupList", "BuildBackupListWithDateRule"}) {
        auto it = m_bytes.find(name + suffix);
        if (it != m_bytes.end()) std::printf("  %-4s  %s: %.0f bytes per selected file at peak\n", size, name, it->second);
      }
    }
  }

 private:
  std::map<std::string, double> m_medians;
  std::map<std::string, double> m_bytes;
};

}  // namespace

int main(int argc, char** argv) {
  const std::pair<const char*, size_t> sizes[] = {{"100k", 100000}, {"1M", 1000000}};
  for (const auto& [label, files] : sizes) {
    const std::string suffix = std::string("/") + label;
    for (auto* b : {benchmark::RegisterBenchmark(("BareWalk" + suffix).c_str(), BareWalkBenchmark, files),
                    benchmark::RegisterBenchmark(("StatWalk" + suffix).c_str(), StatWalkBenchmark, files),
                    benchmark::RegisterBenchmark(("AttributeWalk" + suffix).c_str(), AttributeWalkBenchmark, files),
                    benchmark::RegisterBenchmark(("BuildBackupList" + suffix).c_str(), BuildListBenchmark, files, false,
                                                 false),
                    benchmark::RegisterBenchmark(("BuildBackupListWithDateRule" + suffix).c_str(), BuildListBenchmark,
                                                 files, true, false),
                    benchmark::RegisterBenchmark(("BuildBackupListTemporaryMarkKept" + suffix).c_str(),
                                                 BuildListBenchmark, files, false, true)}) {
      b->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond)->UseRealTime();
    }
  }
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}
