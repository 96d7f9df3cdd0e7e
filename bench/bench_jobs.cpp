// Costs of the job engine: what running an encode through it adds to running the
// encoder directly, and how long start-up loading of many stored jobs takes.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <memory>
#include <vector>

#include "Util/AppConstants.h"
#include "Util/CmdUtil.h"
#include "Util/OSUtil.h"
#include "jobs/JobFile.h"
#include "jobs/JobManager.h"

namespace {

std::unique_ptr<QTemporaryDir> g_home;

// Keeps job files, logs and clips away from the real user folders.
void isolate_user_folders() {
  g_home = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/kovadle-bench-XXXXXX");
  const QByteArray home = g_home->path().toUtf8();
  setenv("HOME", home.constData(), 1);
  setenv("XDG_DATA_HOME", (home + "/data").constData(), 1);
  setenv("XDG_CONFIG_HOME", (home + "/config").constData(), 1);
  setenv("XDG_CACHE_HOME", (home + "/cache").constData(), 1);
}

std::string work_path(const std::string& name) { return g_home->path().toStdString() + "/" + name; }

const std::string& clip_1080p() {
  static const std::string path = [] {
    const std::string clip = work_path("clip1080p.mp4");
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", {"-y",
                            "-loglevel",
                            "error",
                            "-f",
                            "lavfi",
                            "-i",
                            "testsrc2=size=1920x1080:rate=30:duration=10",
                            "-f",
                            "lavfi",
                            "-i",
                            "sine=frequency=440:sample_rate=44100:duration=10",
                            "-c:v",
                            "libx264",
                            "-preset",
                            "ultrafast",
                            "-b:v",
                            "8M",
                            "-c:a",
                            "aac",
                            QString::fromStdString(clip)});
    ffmpeg.waitForFinished(300000);
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

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
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
void encode_directly(const std::string& command) {
  QStringList parts = CmdUtil::SplitCommand(QString::fromStdString(command));
  const QString program = parts.takeFirst();
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
    const std::string command = planned.GetFFmpegCmd();
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
  state.counters["direct_s"] = median(directWall);
  state.counters["engine_s"] = median(engineWall);
  state.counters["wall_ratio"] = median(engineWall) / median(directWall);
  state.counters["own_cpu_pct_of_encoder"] = median(engineShare);
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
  isolate_user_folders();
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
