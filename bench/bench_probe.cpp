// Probe cost: the program's probe (command building, runner, parsing) against the
// same probe command run directly, a cached lookup, and a file whose container tag
// holds 3.3 MB of a word the parser removes from every video line.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <algorithm>
#include <chrono>
#include <iostream>
#include <map>
#include <vector>

#include "BenchSupport.h"
#include "platform/OSUtil.h"
#include "probe/FFprobeUtil.h"
#include "probe/MediaInfoCache.h"

namespace {

std::string g_clip;
std::string g_flooded;

// g_clip with the tag "xrotate" holding "coded_width" 300 000 times.
bool makeFloodedClip(const std::string& home) {
  QByteArray meta = ";FFMETADATA1\nxrotate=";
  for (int i = 0; i < 300000; ++i) meta += "coded_width";
  QFile file(QString::fromStdString(home + "/meta.txt"));
  if (!file.open(QIODevice::WriteOnly) || file.write(meta + "\n") <= 0) return false;
  file.close();
  g_flooded = home + "/flooded.mp4";
  QProcess ffmpeg;
  ffmpeg.start("ffmpeg", {"-y", "-loglevel", "error", "-i", QString::fromStdString(g_clip), "-i",
                          file.fileName(), "-map", "0", "-map_metadata", "1", "-c", "copy", "-movflags",
                          "use_metadata_tags", QString::fromStdString(g_flooded)});
  return ffmpeg.waitForFinished(120000) && ffmpeg.exitStatus() == QProcess::NormalExit &&
         ffmpeg.exitCode() == 0;
}

void BM_ProbeThroughProgram(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(FFprobeUtil::GetMediaInfo(g_clip));
}

// The same probe command, started without the program's quoting, runner or parsing.
QByteArray probeDirectly(const std::string& path = g_clip) {
  const QStringList args = {"-loglevel",    "quiet", "-print_format", "ini", "-show_streams",
                            "-show_format", "-i"};
  QProcess process;
  process.start(QString::fromStdString(FFprobeUtil::GetProbePath()),
                args + QStringList{QString::fromStdString(path)});
  process.waitForFinished(30000);
  return process.readAllStandardOutput();
}

void BM_ProbeDirect(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(probeDirectly());
}

void BM_ProbeFloodedTag(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(FFprobeUtil::GetMediaInfo(g_flooded));
}

void BM_ProbeFloodedTagDirect(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(probeDirectly(g_flooded));
}

void BM_CachedLookup(benchmark::State& state) {
  MediaInfoCache::GetInstance().GetMediaInfo(g_clip);
  for (auto _ : state) benchmark::DoNotOptimize(MediaInfoCache::GetInstance().GetMediaInfo(g_clip));
}

// The probe runs in a child process: wall-clock time is what counts.
BENCHMARK(BM_ProbeThroughProgram)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5)
    ->Repetitions(11);
BENCHMARK(BM_ProbeDirect)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5)->Repetitions(11);
BENCHMARK(BM_ProbeFloodedTag)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(5);
BENCHMARK(BM_ProbeFloodedTagDirect)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(5);
BENCHMARK(BM_CachedLookup)->Unit(benchmark::kMicrosecond)->Repetitions(5);

// Prints the usual table and keeps the medians for the summary.
class MedianReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.aggregate_name == "median") medians[run.run_name.function_name] = run.GetAdjustedRealTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> medians;
};

template <typename F>
double secondsOf(F&& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Alternating pairs, so load from other work on the machine hits both sides alike.
double pairedMedianRatio(int pairs) {
  std::vector<double> ratios;
  for (int i = 0; i < pairs; ++i) {
    const double program = secondsOf([] { benchmark::DoNotOptimize(FFprobeUtil::GetMediaInfo(g_clip)); });
    const double direct = secondsOf([] { benchmark::DoNotOptimize(probeDirectly()); });
    ratios.push_back(program / direct);
  }
  return median_of(ratios);
}

}  // namespace

int main(int argc, char** argv) {
  // Logs and any per-user data go to a throw-away home, never the real one.
  const std::string home = isolate_bench_folders();
  QCoreApplication app(argc, argv);
  g_clip = home + "/clip_1080p_10s.mp4";
  if (!make_1080p_clip(g_clip)) {
    std::cerr << "could not generate the 1080p clip with ffmpeg" << std::endl;
    return 1;
  }
  if (!makeFloodedClip(home)) {
    std::cerr << "could not generate the clip with the flooded tag" << std::endl;
    return 1;
  }

  benchmark::Initialize(&argc, argv);
  MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  const auto& m = reporter.medians;
  if (m.count("BM_ProbeThroughProgram") && m.count("BM_ProbeDirect") && m.at("BM_ProbeDirect") > 0) {
    std::cout << "ratio of the medians above (program / direct): "
              << m.at("BM_ProbeThroughProgram") / m.at("BM_ProbeDirect") << std::endl;
  }
  std::cout << "median ratio over 21 alternating pairs (program / direct): " << pairedMedianRatio(21)
            << " (target <= 1.10)" << std::endl;
  if (m.count("BM_ProbeFloodedTag") && m.count("BM_ProbeFloodedTagDirect")) {
    std::cout << "median probe of the 3.3 MB flooded tag: " << m.at("BM_ProbeFloodedTag")
              << " ms, the probe tool alone " << m.at("BM_ProbeFloodedTagDirect")
              << " ms (target < 1000 ms on an idle machine)" << std::endl;
  }
  if (m.count("BM_CachedLookup")) {
    std::cout << "median cached lookup: " << m.at("BM_CachedLookup") << " us (target < 1000 us)" << std::endl;
  }
  benchmark::Shutdown();
  return 0;
}
