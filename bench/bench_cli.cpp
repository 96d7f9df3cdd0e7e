// What kovadle-cli costs on top of the encoder: the whole `transcode` process
// against the identical encoder command run directly, each a process of its own.
// Target: for a 10-second 1080p clip at quality "95", a median wall-time ratio of
// at most 1.03. On a loaded machine the encode itself varies by more than that, so
// the fixed cost (start-up, probe, job file, noticing the end) is also measured on
// a 1-second clip, where it stands out, as the median of paired differences.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <algorithm>
#include <vector>

#include "BenchSupport.h"
#include "planning/FFmpegCmdGenerator.h"
#include "platform/OSUtil.h"
#include "process/CommandLine.h"

namespace {

std::string g_home;

struct Timing {
  double wall = -1;  // -1: the process did not end well
  double cpu = 0;    // of the process and everything it waited for
};

double children_cpu_seconds() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec +
         usage.ru_stime.tv_usec / 1e6;
}

Timing timed_run(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.setStandardOutputFile(QProcess::nullDevice());
  process.setStandardErrorFile(QProcess::nullDevice());
  const double cpuBefore = children_cpu_seconds();
  QElapsedTimer timer;
  timer.start();
  process.start(program, arguments);
  process.waitForFinished(-1);
  Timing timing;
  if (process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
    timing.wall = timer.nsecsElapsed() / 1e9;
  timing.cpu = children_cpu_seconds() - cpuBefore;
  return timing;
}

// Runs the CLI and the encoder command it builds, in alternating order so drift in
// the machine's load hits both alike, once per iteration.
void compare(benchmark::State& state, int clipSeconds) {
  const std::string name = "clip" + std::to_string(clipSeconds) + "s";
  const std::string clip = g_home + "/" + name + ".mp4";
  const std::string outDir = g_home + "/out";
  OSUtil::mkpath(outDir);
  if (!make_1080p_clip(clip, clipSeconds))
    return state.SkipWithError("could not generate the clip with ffmpeg");
  // The name the CLI gives the output, so both write the same file.
  const std::string output = OSUtil::pathJoin(outDir, name + "_output.mp4");
  const CommandLine command = FFmpegCmdGenerator::Generate(clip, output, "95");
  QStringList direct;
  for (const std::string& argument : command.Arguments()) direct << QString::fromStdString(argument);
  const QString encoder = QString::fromStdString(command.Program());
  const QString cli = QString::fromStdString(OSUtil::pathJoin(OSUtil::getAppDir(), "kovadle-cli"));
  const QStringList cliArguments = {"transcode", QString::fromStdString(clip), "--output-dir",
                                    QString::fromStdString(outDir)};

  std::vector<double> cliWall, directWall, ratios, differences, cpuRatios;
  bool cliFirst = true;
  for (auto _ : state) {
    Timing cliRun, directRun;
    for (int turn = 0; turn < 2; ++turn) {
      OSUtil::removeFile(output);
      if ((turn == 0) == cliFirst) {
        cliRun = timed_run(cli, cliArguments);
      } else {
        directRun = timed_run(encoder, direct);
      }
    }
    cliFirst = !cliFirst;
    if (cliRun.wall < 0 || directRun.wall < 0) return state.SkipWithError("a transcode failed");
    state.SetIterationTime(cliRun.wall);
    cliWall.push_back(cliRun.wall);
    directWall.push_back(directRun.wall);
    ratios.push_back(cliRun.wall / directRun.wall);
    differences.push_back(cliRun.wall - directRun.wall);
    cpuRatios.push_back(cliRun.cpu / std::max(directRun.cpu, 1e-9));
  }
  state.counters["direct_s"] = median_of(directWall);
  state.counters["cli_s"] = median_of(cliWall);
  state.counters["wall_ratio"] = median_of(ratios);
  state.counters["ratio_min"] = *std::min_element(ratios.begin(), ratios.end());
  state.counters["ratio_max"] = *std::max_element(ratios.begin(), ratios.end());
  state.counters["extra_ms"] = 1000 * median_of(differences);
  state.counters["cpu_ratio"] = median_of(cpuRatios);
}

void BM_CliTranscodeVsDirect(benchmark::State& state) { compare(state, 10); }
BENCHMARK(BM_CliTranscodeVsDirect)->Iterations(7)->UseManualTime()->Unit(benchmark::kSecond);

void BM_CliFixedCost(benchmark::State& state) { compare(state, 1); }
BENCHMARK(BM_CliFixedCost)->Iterations(15)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  // The CLI inherits this home: its job files and log stay in the temporary folder.
  g_home = isolate_bench_folders();
  QCoreApplication app(argc, argv);
  return run_benchmarks(argc, argv);
}
