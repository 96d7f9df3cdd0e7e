// Costs of the job engine: what running an encode through it adds to running the
// encoder directly, and how long start-up loading of many stored jobs takes.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <vector>

#include "BenchSupport.h"
#include "environment/AppConstants.h"
#include "jobs/JobFile.h"
#include "jobs/JobManager.h"
#include "platform/OSUtil.h"
#include "process/CommandLine.h"

namespace {

std::string g_home;

std::string work_path(const std::string& name) { return g_home + "/" + name; }

const std::string& clip_1080p() {
  static const std::string path = [] {
    const std::string clip = work_path("clip1080p.mp4");
    if (!make_1080p_clip(clip)) std::cerr << "could not generate the 1080p clip with ffmpeg" << std::endl;
    return clip;
  }();
  return path;
}

double cpu_seconds(int who) {
  rusage usage{};
  getrusage(who, &usage);
  return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec +
         usage.ru_stime.tv_usec / 1e6;
}

struct EncodeRun {
  double wall = 0;
  double selfCpu = 0;
  double childCpu = 0;
};

EncodeRun measure(const std::function<void()>& encode) {
  const double self = cpu_seconds(RUSAGE_SELF);
  const double children = cpu_seconds(RUSAGE_CHILDREN);
  QElapsedTimer timer;
  timer.start();
  encode();
  EncodeRun run;
  run.wall = timer.nsecsElapsed() / 1e9;
  run.selfCpu = cpu_seconds(RUSAGE_SELF) - self;
  run.childCpu = cpu_seconds(RUSAGE_CHILDREN) - children;
  return run;
}

// The same command the engine runs, started directly, its output discarded.
void encode_directly(const CommandLine& command) {
  QStringList parts;
  for (const std::string& argument : command.Arguments()) parts << QString::fromStdString(argument);
  const QString program = QString::fromStdString(command.Program());
  QProcess encoder;
  encoder.setStandardOutputFile(QProcess::nullDevice());
  encoder.setStandardErrorFile(QProcess::nullDevice());
  encoder.start(program, parts);
  encoder.waitForFinished(-1);
}

void encode_through_engine(JobManager& manager, const std::string& output) {
  JobFile* record = new JobFile;
  record->Init(clip_1080p(), output, "95", "h264", ".mp4");
  JobV3* job = manager.AddAndRunJob(record);
  while (job->IsRunning()) OSUtil::sleepMs(10);
  manager.GetJobsProgress();  // drops the finished job from the run list
}

void BM_TranscodeEngineVsDirect(benchmark::State& state) {
  JobManager manager;
  const std::string output = work_path("clip1080p_output.mp4");
  std::vector<double> engineWall, directWall, engineShare;
  bool engineFirst = true;
  for (auto _ : state) {
    JobV3 planned(new JobFile);
    planned.GetJobFile()->Init(clip_1080p(), output, "95", "h264", ".mp4");
    planned.GenerateFFmpegCmd();
    const CommandLine command = planned.GetFFmpegCmd();
    EncodeRun engine, direct;
    // Alternate the order so drift in machine load hits both alike.
    for (int turn = 0; turn < 2; ++turn) {
      OSUtil::removeFile(output);
      if ((turn == 0) == engineFirst) {
        engine = measure([&] { encode_through_engine(manager, output); });
      } else {
        direct = measure([&] { encode_directly(command); });
      }
    }
    engineFirst = !engineFirst;
    state.SetIterationTime(engine.wall);
    engineWall.push_back(engine.wall);
    directWall.push_back(direct.wall);
    engineShare.push_back(100.0 * engine.selfCpu / std::max(engine.childCpu, 1e-9));
  }
  state.counters["direct_s"] = median_of(directWall);
  state.counters["engine_s"] = median_of(engineWall);
  state.counters["wall_ratio"] = median_of(engineWall) / median_of(directWall);
  state.counters["own_cpu_pct_of_encoder"] = median_of(engineShare);
}
BENCHMARK(BM_TranscodeEngineVsDirect)->Iterations(3)->UseManualTime()->Unit(benchmark::kSecond);

void BM_LoadStoredJobs(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  QDir(QString::fromStdString(get_appjobfile_dir())).removeRecursively();
  for (int i = 0; i < count; ++i) {
    JobFile record;
    record.Init("/videos/input_" + std::to_string(i) + ".mp4",
                "/out/input_" + std::to_string(i) + "_output.mp4", "90", "h264", ".mp4");
  }
  for (auto _ : state) {
    JobManager manager;
    const std::vector<JobV3*> jobs = manager.LoadStoredJobs();
    if (static_cast<int>(jobs.size()) != count) state.SkipWithError("not every job loaded");
  }
}
BENCHMARK(BM_LoadStoredJobs)->Arg(5000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  g_home = isolate_bench_folders();
  QCoreApplication app(argc, argv);
  return run_benchmarks(argc, argv);
}
