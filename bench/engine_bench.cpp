// Measures the engine's throughput on a realistic flight script repeated to several sizes, and in the
// same run a plain line copy of the same bytes (text-mode read, text-mode write, no rules), so that
// the cost of the rules shows as a ratio that does not depend on the machine; and the rewrite with the
// structure check attached, as a run makes it, against the rewrite alone.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>

#include "base/console.h"
#include "engine/line_reader.h"
#include "engine/line_writer.h"
#include "rules/rewrite_script.h"
#include "structure/structure_check.h"

namespace {

using aplpatch::ByteSink;
using aplpatch::ByteSource;

// Serves a string without copying it.
class ViewSource : public ByteSource {
 public:
  explicit ViewSource(const std::string& bytes) : bytes_(bytes) {}
  std::size_t read(char* buffer, std::size_t size) override {
    std::size_t n = std::min(size, bytes_.size() - pos_);
    std::memcpy(buffer, bytes_.data() + pos_, n);
    pos_ += n;
    return n;
  }

 private:
  const std::string& bytes_;
  std::size_t pos_ = 0;
};

// Counts what it is given and keeps nothing.
class CountingSink : public ByteSink {
 public:
  bool write(const char* data, std::size_t size) override {
    benchmark::DoNotOptimize(data);
    written += size;
    return true;
  }
  std::size_t written = 0;
};

// Keeps what it is given.
class StringSink : public ByteSink {
 public:
  explicit StringSink(std::string& bytes) : bytes_(bytes) {}
  bool write(const char* data, std::size_t size) override {
    bytes_.append(data, size);
    return true;
  }

 private:
  std::string& bytes_;
};

class QuietConsole : public aplpatch::Console {
 public:
  void print(std::string_view) override {}
};

// The example flight repeated until the script holds at least `megabytes` MiB.
const std::string& scriptOfSize(int megabytes) {
  static std::map<int, std::string> scripts;
  auto found = scripts.find(megabytes);
  if (found != scripts.end()) return found->second;
  std::ifstream in(APLPATCH_BENCH_EXAMPLE, std::ios::binary);
  std::string example((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (example.empty()) example = "PRINT \"EMPTY EXAMPLE\"\r\n";
  std::string script;
  const std::size_t target = static_cast<std::size_t>(megabytes) << 20;
  script.reserve(target + example.size());
  while (script.size() < target) script += example;
  return scripts.emplace(megabytes, std::move(script)).first->second;
}

// Every benchmark counts in bytes of the original script and states how many bytes it wrote for each
// of them (a CSV report needs the same counters in every run).
void reportSizes(benchmark::State& state, const std::string& script, std::size_t written) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(script.size()));
  state.counters["output_size_ratio"] = static_cast<double>(written) / static_cast<double>(script.size());
}

// The rewrite as a run makes it, through the switches, every feature on.
void BM_Engine(benchmark::State& state) {
  const std::string& script = scriptOfSize(static_cast<int>(state.range(0)));
  std::size_t written = 0;
  for (auto _ : state) {
    ViewSource source(script);
    CountingSink sink;
    QuietConsole console;
    aplpatch::rewriteScript(source, sink, console, aplpatch::FeatureSwitches{});
    benchmark::DoNotOptimize(written = sink.written);
  }
  reportSizes(state, script, written);
}

// The rewrite as a run makes it with the structure check attached: the script scanned as it is read,
// the rewrite as it is written, and the two compared at the end.
void BM_EngineChecked(benchmark::State& state) {
  const std::string& script = scriptOfSize(static_cast<int>(state.range(0)));
  std::size_t written = 0;
  for (auto _ : state) {
    ViewSource bytesIn(script);
    CountingSink bytesOut;
    QuietConsole console;
    aplpatch::StructureCheck check;
    aplpatch::rewriteScript(check.watchInput(bytesIn), check.watchOutput(bytesOut), console, aplpatch::FeatureSwitches{});
    benchmark::DoNotOptimize(check.faults());
    benchmark::DoNotOptimize(written = bytesOut.written);
  }
  reportSizes(state, script, written);
}

// The plain line copy: text-mode read, text-mode write, no rules.
std::size_t copyLines(const std::string& bytes) {
  ViewSource source(bytes);
  CountingSink sink;
  aplpatch::LineReader reader(source);
  aplpatch::LineWriter writer(sink);
  std::string line;
  while (reader.readLine(line)) writer.write(line);
  writer.flush();
  return sink.written;
}

void BM_PlainCopy(benchmark::State& state) {
  const std::string& script = scriptOfSize(static_cast<int>(state.range(0)));
  std::size_t written = 0;
  for (auto _ : state) benchmark::DoNotOptimize(written = copyLines(script));
  reportSizes(state, script, written);
}

// The same copy of the rewritten script, counted in bytes of the original: what reading the script
// and writing its (longer) rewrite costs without any rule, the most the engine could reach.
void BM_CopyOfRewrite(benchmark::State& state) {
  const std::string& script = scriptOfSize(static_cast<int>(state.range(0)));
  std::string rewrite;
  {
    ViewSource source(script);
    StringSink sink(rewrite);
    QuietConsole console;
    aplpatch::rewriteScript(source, sink, console, aplpatch::FeatureSwitches{});
  }
  std::size_t written = 0;
  for (auto _ : state) benchmark::DoNotOptimize(written = copyLines(rewrite));
  reportSizes(state, script, written);
}

BENCHMARK(BM_PlainCopy)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyOfRewrite)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);
// The rewrite with and without the check counts the processor time of the whole process; the wall
// time is in every report too.
BENCHMARK(BM_Engine)->Arg(1)->Arg(10)->Arg(100)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EngineChecked)->Arg(1)->Arg(10)->Arg(100)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

// Passes every report on to the reporter that the command line chose (--benchmark_format), and keeps
// each benchmark's figures for the summary of ratios after the run: the median of the repetitions
// when there are several (--benchmark_repetitions), else the run itself.
class RateCollector : public benchmark::BenchmarkReporter {
 public:
  explicit RateCollector(benchmark::BenchmarkReporter& display) : display_(display) {}

  bool ReportContext(const Context& context) override { return display_.ReportContext(context); }

  void ReportRuns(const std::vector<Run>& runs) override {
    display_.ReportRuns(runs);
    for (const Run& run : runs) {
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (run.run_type != Run::RT_Iteration && !median) continue;
      auto rate = run.counters.find("bytes_per_second");
      if (rate == run.counters.end() || run.iterations <= 0 || run.real_accumulated_time <= 0) continue;
      Figures& figures = figures_[run.run_name.function_name][run.run_name.args];
      if (figures.fromMedian && !median) continue;
      const auto iterations = static_cast<double>(run.iterations);
      figures.cpuRate = rate->second.value;
      figures.cpuSeconds = run.cpu_accumulated_time / iterations;
      figures.wallRate = figures.cpuRate * run.cpu_accumulated_time / run.real_accumulated_time;
      figures.fromMedian = median;
    }
  }

  void Finalize() override { display_.Finalize(); }

  // At each size, one line each: the engine's throughput as a share of the plain copy's and of the
  // copy of the rewrite's; and the rewrite with the structure check against the rewrite alone, in
  // throughput by the wall clock and in processor time.
  void printRatios(std::FILE* out) {
    auto& copy = figures_["BM_PlainCopy"];
    auto& copyOfRewrite = figures_["BM_CopyOfRewrite"];
    for (const auto& [size, engine] : figures_["BM_Engine"]) {
      auto plain = copy.find(size);
      if (plain != copy.end() && plain->second.cpuRate > 0) {
        std::fprintf(out, "%s MiB: engine %.1f MiB/s, plain copy %.1f MiB/s, ratio %.2f", size.c_str(),
                     engine.cpuRate / kMiB, plain->second.cpuRate / kMiB, engine.cpuRate / plain->second.cpuRate);
        auto ceiling = copyOfRewrite.find(size);
        if (ceiling != copyOfRewrite.end() && ceiling->second.cpuRate > 0) {
          std::fprintf(out, " (copy of the rewrite %.1f MiB/s, ratio %.2f)", ceiling->second.cpuRate / kMiB,
                       engine.cpuRate / ceiling->second.cpuRate);
        }
        std::fprintf(out, "\n");
      }
      printCheck(out, size, engine);
    }
  }

 private:
  struct Figures {
    double cpuRate = 0;      // bytes of the script per second of processor time (the report's bytes_per_second)
    double wallRate = 0;     // bytes of the script per second by the wall clock
    double cpuSeconds = 0;   // processor time per rewrite, of the whole process
    bool fromMedian = false;
  };
  static constexpr double kMiB = 1048576.0;

  void printCheck(std::FILE* out, const std::string& size, const Figures& engine) {
    auto& sizes = figures_["BM_EngineChecked"];
    auto checked = sizes.find(size);
    if (checked == sizes.end() || engine.wallRate <= 0 || engine.cpuSeconds <= 0) return;
    const Figures& with = checked->second;
    std::fprintf(out,
                 "%s MiB, structure check: %.1f MiB/s by the wall clock against %.1f without, ratio %.2f; "
                 "%.1f ms of processor time against %.1f, ratio %.2f\n",
                 size.c_str(), with.wallRate / kMiB, engine.wallRate / kMiB, with.wallRate / engine.wallRate,
                 with.cpuSeconds * 1000, engine.cpuSeconds * 1000, with.cpuSeconds / engine.cpuSeconds);
  }

  benchmark::BenchmarkReporter& display_;
  std::map<std::string, std::map<std::string, Figures>> figures_;  // by benchmark, then size
};

}  // namespace

// The ratios go to the error stream, after the run, so that a machine-readable report on the output
// (--benchmark_format=json) stays whole.
int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RateCollector collector(*benchmark::CreateDefaultDisplayReporter());
  benchmark::RunSpecifiedBenchmarks(&collector);
  std::fflush(stdout);
  collector.printRatios(stderr);
  benchmark::Shutdown();
  return 0;
}
