// How well outputs fit into a size: generated inputs of different difficulty (a
// still picture, moving pictures, noise, a still first half and a noisy second half;
// 480p to 4K; with and without audio; 5 s to 2 min), each made into three sizes
// through the job engine, as the window and kovadle-cli make them. For every case
// it reports the output's size against its target and the time against a quality
// 95 % job of the same input; then the median and the extremes, and the time the
// analysis run takes of a size job. `bench_size quick` runs the first four inputs.
//
// The sizes are spread over what each input can be made in: from the smallest size
// its lowest quality row allows to the size at which it already fits at 99 %.
#include <sys/resource.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "jobs/JobFile.h"
#include "jobs/JobManager.h"
#include "log/TraceOutput.h"
#include "planning/EncoderRuns.h"
#include "planning/SizePlan.h"
#include "planning/SizeText.h"
#include "platform/OSUtil.h"
#include "probe/MediaInfoCache.h"
#include "process/ProcessRunner.h"

namespace {

enum class Picture { Still, Moving, Noisy, StillThenNoisy };

struct Input {
  const char* name;
  Picture picture;
  int width;
  int height;
  int seconds;
  int audioTracks;
  const char* format;  // of the outputs
};

// Small enough to run in about half an hour on a busy 2-core machine: the large
// frames are short, the long input is small.
const Input kInputs[] = {
    {"moving_720p", Picture::Moving, 1280, 720, 12, 1, ".mp4"},
    {"still_then_noisy_480p", Picture::StillThenNoisy, 854, 480, 20, 1, ".mkv"},
    {"noisy_1080p", Picture::Noisy, 1920, 1080, 6, 0, ".mp4"},
    {"still_1080p", Picture::Still, 1920, 1080, 10, 1, ".flv"},
    {"moving_480p_2min", Picture::Moving, 854, 480, 120, 1, ".mp4"},
    {"still_480p", Picture::Still, 854, 480, 15, 0, ".avi"},
    {"noisy_480p", Picture::Noisy, 854, 480, 10, 1, ".ts"},
    {"still_720p", Picture::Still, 1280, 720, 8, 1, ".mp4"},
    {"noisy_720p", Picture::Noisy, 1280, 720, 8, 0, ".mkv"},
    {"still_then_noisy_720p", Picture::StillThenNoisy, 1280, 720, 16, 2, ".mkv"},
    {"moving_1080p", Picture::Moving, 1920, 1080, 15, 1, ".ts"},
    {"still_then_noisy_1080p", Picture::StillThenNoisy, 1920, 1080, 10, 1, ".mp4"},
    {"moving_2k", Picture::Moving, 2560, 1440, 6, 1, ".mkv"},
    {"noisy_2k", Picture::Noisy, 2560, 1440, 5, 1, ".avi"},
    {"moving_4k", Picture::Moving, 3840, 2160, 5, 1, ".mp4"},
    {"still_then_noisy_4k", Picture::StillThenNoisy, 3840, 2160, 6, 0, ".flv"},
};

// Where along the range of sizes each target lies (0: the smallest, 1: fits).
const double kTargetPlaces[] = {0.1, 0.5, 0.9};

std::string g_home;

std::string encoderPath() {
  return OSUtil::pathJoin(OSUtil::pathJoin(OSUtil::getAppDir(), "bin"),
                          "encoder" + OSUtil::executableSuffix());
}

bool run(const QStringList& arguments) {
  QProcess tool;
  tool.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  tool.setStandardOutputFile(QProcess::nullDevice());
  tool.start(QString::fromStdString(encoderPath()), arguments);
  return tool.waitForFinished(-1) && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
}

// The input as a camera or a screen recorder would hand it over: H.264 at a rate
// its picture needs (capped), AAC tracks.
std::string generate(const Input& input) {
  const std::string path = g_home + "/" + input.name + ".mp4";
  const QString size = QString("%1x%2").arg(input.width).arg(input.height);
  const QString seconds = QString::number(input.seconds);
  const QString half = QString::number(input.seconds / 2.0);
  QString video = "testsrc2=size=" + size + ":rate=30:duration=" + seconds;
  // A frame frozen: nothing moves.
  const QString frozen = ",trim=end_frame=1,loop=loop=-1:size=1,setpts=N/30/TB,trim=duration=" + seconds;
  switch (input.picture) {
    case Picture::Still:
      video += frozen;
      break;
    case Picture::Moving:
      break;
    case Picture::Noisy:
      video += ",noise=alls=24:allf=t+u";
      break;
    case Picture::StillThenNoisy:
      video += frozen + ",noise=alls=24:allf=t+u:enable='gte(t," + half + ")'";
      break;
  }
  QStringList arguments = {"-y", "-loglevel", "error", "-f", "lavfi", "-i", video};
  for (int track = 0; track < input.audioTracks; ++track) {
    arguments << "-f"
              << "lavfi"
              << "-i"
              << (track == 0 ? "anoisesrc=color=pink:sample_rate=48000:amplitude=0.3:duration=" + seconds
                             : "sine=frequency=330:sample_rate=44100:duration=" + seconds);
  }
  for (int stream = 0; stream <= input.audioTracks; ++stream) arguments << "-map" << QString::number(stream);
  const QString cap = input.width > 2000 ? "30M" : "12M";
  arguments << "-c:v"
            << "libx264"
            << "-preset"
            << "veryfast"
            << "-crf"
            << "20"
            << "-maxrate" << cap << "-bufsize" << cap << "-pix_fmt"
            << "yuv420p";
  if (input.audioTracks > 0)
    arguments << "-c:a"
              << "aac"
              << "-b:a"
              << "128k"
              << "-ac"
              << "2";
  arguments << QString::fromStdString(path);
  return run(arguments) ? path : std::string();
}

double cpuOfChildren() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec +
         usage.ru_stime.tv_usec / 1e6;
}

struct Outcome {
  bool completed = false;
  int64_t bytes = -1;
  bool remade = false;
  double wall = 0;
  double cpu = 0;
  std::string reason;
};

// One job through the engine, as a front end adds it; its output removed after.
Outcome runJob(JobManager& manager, const std::string& input, const std::string& format, int64_t target) {
  const std::string output = g_home + "/output" + format;
  auto* record = new JobFile;
  record->Init(input, output, "95", "h264", format, false, "", target);
  const double cpu = cpuOfChildren();
  QElapsedTimer timer;
  timer.start();
  JobV3* job = manager.AddAndRunJob(record);
  while (JobStateRules::IsActive(job->GetState())) OSUtil::sleepMs(20);
  Outcome outcome;
  outcome.wall = timer.nsecsElapsed() / 1e9;
  outcome.cpu = cpuOfChildren() - cpu;
  outcome.completed = job->GetState() == JobState::Completed;
  outcome.reason = job->GetFailureReason();
  const std::string made = job->GetJobFile()->GetOutputFile();
  outcome.bytes = QFileInfo(QString::fromStdString(made)).size();
  outcome.remade = job->GetJobFile()->GetOversizedBytes() >= 0;
  OSUtil::removeFile(made);
  manager.GetJobsProgress();  // drops the finished job from the run list
  return outcome;
}

// The two runs of a size job started directly: the analysis run's share of the time.
double analysisShare(const std::string& input, const std::string& format, int64_t target) {
  const std::string output = g_home + "/share_output" + format;
  QTemporaryDir logs(QDir::tempPath() + "/kovadle-bench-XXXXXX");
  const EncoderRuns runs = EncoderRuns::ForSize(input, output, target, false)
                               .WithPassLog(logs.filePath(QStringLiteral("pass")).toStdString());
  double seconds[2] = {0, 0};
  const CommandLine* commands[2] = {&runs.analysis, &runs.output};
  for (int i = 0; i < 2; ++i) {
    QElapsedTimer timer;
    timer.start();
    ProcessRunner runner(*commands[i], ProcessRunner::Output::Merged);
    runner.Start();
    runner.RunToEnd(3600000);
    seconds[i] = timer.nsecsElapsed() / 1e9;
  }
  OSUtil::removeFile(output);
  return seconds[0] / (seconds[0] + seconds[1]);
}

void summary(const char* what, std::vector<double> values, const char* unit) {
  if (values.empty()) return;
  std::sort(values.begin(), values.end());
  std::printf("%-34s median %.3f%s  lowest %.3f%s  highest %.3f%s  (%zu cases)\n", what, median_of(values),
              unit, values.front(), unit, values.back(), unit, values.size());
}

}  // namespace

int main(int argc, char** argv) {
  g_home = isolate_bench_folders();
  QCoreApplication app(argc, argv);
  // The engine's traces would bury the table.
  TraceOutput::ToTerminal(false);
  const bool quick = argc > 1 && std::string(argv[1]) == "quick";
  JobManager manager;
  std::vector<double> ratios, wallRatios, cpuRatios, shares;
  int over = 0, under = 0, failed = 0, remade = 0;
  std::printf("%-24s %-4s %10s %10s %6s %3s %7s %6s %6s\n", "input", "fmt", "target", "actual", "ratio",
              "row", "time s", "/q95", "cpu/q95");
  const size_t count = quick ? 4 : std::size(kInputs);
  for (size_t i = 0; i < count; ++i) {
    const Input& input = kInputs[i];
    const std::string path = generate(input);
    if (path.empty()) {
      std::printf("%-24s could not be generated\n", input.name);
      continue;
    }
    const MediaInfo info = MediaInfoCache::GetInstance().GetMediaInfo(path);
    const int64_t smallest = SizePlan::For(info, 1, input.format).smallestBytes;
    const SizePlan whole = SizePlan::For(info, SizeText::kLargest, input.format);
    const int64_t fits = std::min<int64_t>(static_cast<int64_t>(whole.expectedBytes / SizePlan::kAim),
                                           info.fileSize.AsInt64() - 1);
    const Outcome q95 = runJob(manager, path, input.format, 0);
    for (double place : kTargetPlaces) {
      const double wanted = smallest * std::pow(std::max(1.0, double(fits) / smallest), place);
      const int64_t target = std::max<int64_t>(smallest, static_cast<int64_t>(wanted) / 10000 * 10000);
      const SizePlan plan = SizePlan::For(info, target, input.format);
      const Outcome sized = runJob(manager, path, input.format, target);
      const double ratio = double(sized.bytes) / target;
      if (!sized.completed) {
        ++failed;
        std::printf("%-24s %-4s %10s  failed: %s\n", input.name, input.format + 1,
                    SizeText::Decimal(target).c_str(), sized.reason.c_str());
        continue;
      }
      ratios.push_back(ratio);
      wallRatios.push_back(sized.wall / q95.wall);
      cpuRatios.push_back(sized.cpu / std::max(q95.cpu, 1e-6));
      over += sized.bytes > target;
      under += ratio < 0.93;
      remade += sized.remade;
      std::printf("%-24s %-4s %10s %10s %6.3f %3s %7.1f %6.2f %6.2f%s\n", input.name, input.format + 1,
                  SizeText::Decimal(target).c_str(), SizeText::Decimal(sized.bytes).c_str(), ratio,
                  plan.quality.c_str(), sized.wall, sized.wall / q95.wall,
                  sized.cpu / std::max(q95.cpu, 1e-6), sized.remade ? "  made again" : "");
      std::fflush(stdout);
    }
    // One case per resolution class: how much of a size job the analysis run takes.
    if (i < 4 || input.width >= 2560)
      shares.push_back(analysisShare(path, input.format, std::max(smallest, (smallest + fits) / 2)));
    QFile::remove(QString::fromStdString(path));
  }
  std::printf("\n");
  summary("output / target", ratios, "");
  summary("time / quality 95 % job", wallRatios, "x");
  summary("encoder time / quality 95 % job", cpuRatios, "x");
  summary("analysis run's share of the time", shares, "");
  std::printf("over the target: %d, under 0.93 of it: %d, made again: %d, failed: %d\n", over, under, remade,
              failed);
  return over == 0 && failed == 0 ? 0 : 1;
}
