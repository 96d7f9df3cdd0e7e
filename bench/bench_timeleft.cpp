// How well the time left is estimated: replays recorded encoder output (every line
// stamped with the time it arrived) through the job's figures and compares what
// would be shown with what really remained, beside the figure of the encoder's own
// average speed. `bench_timeleft record INPUT TRACE` records a trace;
// `bench_timeleft first-figure` measures how soon the first figure reaches a front end.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "BenchSupport.h"
#include "jobs/EncoderProgressLine.h"
#include "jobs/Job.h"
#include "jobs/JobCreation.h"
#include "jobs/JobManager.h"
#include "jobs/UpdateGUIThread.h"
#include "planning/FFmpegCmdGenerator.h"
#include "probe/FFprobeUtil.h"
#include "probe/MediaInfoCache.h"
#include "process/ProcessRunner.h"

namespace {

// --- Recording ---------------------------------------------------------------------

// Transcodes input as a job at the default quality would, and writes each output line
// with the milliseconds since the start, then the encoder's end and the end of the
// output's check (the job's end).
int record(const std::string& input, const std::string& tracePath) {
  const std::string folder = QDir::tempPath().toStdString();
  const std::string output = folder + "/kovadle-trace-output.mp4";
  const CommandLine command = FFmpegCmdGenerator::Generate(input, output, "95");
  std::ofstream trace(tracePath);
  if (!trace) {
    std::cerr << "cannot write " << tracePath << std::endl;
    return 1;
  }
  trace << "0 command " << command.ToString() << "\n";
  // The encoder holds more frames on a machine with more processors.
  trace << "0 processors " << std::thread::hardware_concurrency() << "\n";
  QElapsedTimer clock;
  clock.start();
  ProcessRunner runner(command, ProcessRunner::Output::Merged);
  if (!runner.Start()) {
    std::cerr << "the encoder did not start" << std::endl;
    return 1;
  }
  while (!runner.IsCompleted()) {
    std::string line = runner.ReadLine();
    const qint64 at = clock.elapsed();
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    if (!line.empty()) trace << at << " line " << line << "\n";
  }
  trace << clock.elapsed() << " exit " << runner.ExitCode() << "\n";
  const MediaInfo checked = FFprobeUtil::GetMediaInfo(output);
  trace << clock.elapsed() << " checked " << checked.overallDuration.AsDouble() << "\n";
  QFile::remove(QString::fromStdString(output));
  return runner.ExitCode() == 0 ? 0 : 1;
}

// --- Replaying ---------------------------------------------------------------------

struct Record {
  int64_t ms = 0;
  std::string kind;  // command, processors, line, exit, checked
  std::string text;
};

std::vector<Record> readTrace(const std::string& path) {
  std::vector<Record> records;
  std::ifstream in(path);
  std::string row;
  while (std::getline(in, row)) {
    std::istringstream fields(row);
    Record record;
    fields >> record.ms >> record.kind;
    std::getline(fields, record.text);
    if (!record.text.empty() && record.text.front() == ' ') record.text.erase(0, 1);
    if (!record.kind.empty()) records.push_back(record);
  }
  return records;
}

std::vector<std::string> words(const std::string& text) {
  std::vector<std::string> result;
  std::istringstream stream(text);
  for (std::string word; stream >> word;) {
    word.erase(std::remove(word.begin(), word.end(), '"'), word.end());
    result.push_back(word);
  }
  return result;
}

// What one way of estimating showed for one trace.
struct Verdict {
  std::vector<double> ratios;        // shown / real at each progress line past 10 %
  std::vector<double> atProgress;    // at 10, 25, 50, 75 %: shown / real, NAN while nothing shown
  int lines = 0;                     // progress lines past 10 %
  int within = 0;                    // of those, shown within 15 % of the real time left
  double frozenSeconds = 0;          // showing 1 s or less while more than 3 s remained
  double finishingEarlySeconds = 0;  // "Finishing" while more than 3 s remained
  double firstFigureSeconds = -1;    // when the first figure was shown
};

const double kMarks[] = {0.10, 0.25, 0.50, 0.75};
constexpr int64_t kTickMs = 100;

// Judges a way of estimating: shownAt(ms) is what the user would read at that moment,
// after the trace's records up to ms were handled.
template <typename Handle, typename ShownAt, typename ProgressOf>
Verdict judge(const std::vector<Record>& records, Handle handle, ShownAt shownAt, ProgressOf progressOf) {
  Verdict verdict;
  verdict.atProgress.assign(4, NAN);
  int64_t endMs = 0;
  for (const Record& record : records) endMs = std::max(endMs, record.ms);
  size_t next = 0;
  int mark = 0;
  for (int64_t now = 0; now <= endMs; now += kTickMs) {
    bool progressLine = false;
    int64_t lineMs = now;
    for (; next < records.size() && records[next].ms <= now; ++next) {
      handle(records[next]);
      if (records[next].kind == "line" && records[next].text.find("frame=") != std::string::npos &&
          records[next].text.find("Lsize=") == std::string::npos) {
        progressLine = true;
        lineMs = records[next].ms;
      }
    }
    const double real = (endMs - now) / 1000.0;
    const TimeLeft shown = shownAt(now);
    if (shown.kind == TimeLeft::Kind::Seconds && verdict.firstFigureSeconds < 0)
      verdict.firstFigureSeconds = now / 1000.0;
    if (shown.kind == TimeLeft::Kind::Seconds && shown.seconds <= 1 && real > 3)
      verdict.frozenSeconds += kTickMs / 1000.0;
    if (shown.kind == TimeLeft::Kind::Finishing && real > 3)
      verdict.finishingEarlySeconds += kTickMs / 1000.0;
    if (!progressLine) continue;
    // A line is judged as shown right when it arrived.
    const double progress = progressOf();
    const TimeLeft atLine = shownAt(lineMs);
    const double realAtLine = (endMs - lineMs) / 1000.0;
    const double ratio = atLine.kind == TimeLeft::Kind::Seconds ? atLine.seconds / realAtLine : NAN;
    while (mark < 4 && progress >= kMarks[mark]) verdict.atProgress[mark++] = ratio;
    if (progress < kMarks[0]) continue;
    ++verdict.lines;
    if (!std::isnan(ratio)) verdict.ratios.push_back(ratio);
    if (std::fabs(ratio - 1) <= 0.15) ++verdict.within;
  }
  return verdict;
}

// The job's estimate, fed the trace as the encoder thread feeds it.
Verdict judgeEstimator(const std::vector<Record>& records) {
  Job job;
  std::vector<std::string> command;
  unsigned processors = 0;
  for (const Record& record : records) {
    if (record.kind == "command") command = words(record.text);
    if (record.kind == "processors") processors = static_cast<unsigned>(std::stoul(record.text));
  }
  job.BeginRun(TimeLeftEstimator::PipelineOf(command, processors));
  return judge(
      records,
      [&job](const Record& record) {
        // A job learns its input's length from the probe before the encoder starts; the
        // recorded inputs are plain files whose header tells the same length.
        if (record.kind == "line" && record.text.find("Duration:") != std::string::npos)
          job.SetDuration(EncoderProgressLine::ExtractDuration(record.text));
        if (record.kind == "line") job.HandleOutputLine(record.text + "\n", record.ms);
        if (record.kind == "exit") job.EncoderEnded();
      },
      [&job](int64_t now) { return job.GetTimeLeftAt(now); }, [&job] { return job.GetProgress(); });
}

// The encoder's average speed since its start: (duration - time) / speed, taken
// again at each line and standing still between lines.
Verdict judgeAverageSpeed(const std::vector<Record>& records) {
  double duration = -1;
  double time = -1;
  double speed = -1;
  return judge(
      records,
      [&](const Record& record) {
        if (record.kind != "line") return;
        if (record.text.find("Duration:") != std::string::npos)
          duration = EncoderProgressLine::ExtractDuration(record.text);
        if (record.text.find("frame=") == std::string::npos) return;
        const double t = EncoderProgressLine::ExtractTime(record.text);
        const double s = EncoderProgressLine::ExtractSpeed(record.text);
        if (t > 0) time = t;
        if (s > 0) speed = s;
      },
      [&](int64_t) {
        if (duration <= 0 || speed <= 0) return TimeLeft::Estimating();
        return TimeLeft::InSeconds(std::max(duration - std::max(time, 0.0), 0.0) / speed);
      },
      [&] { return duration > 0 ? std::min(std::max(time, 0.0) / duration, 0.9999) : -1.0; });
}

std::string figure(double value, int decimals = 2) {
  if (std::isnan(value)) return "-";
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string row(const std::string& name, const std::string& way, const Verdict& v) {
  char text[256];
  const double share = v.lines > 0 ? 100.0 * v.within / v.lines : 0;
  std::snprintf(text, sizeof text, "%-17s %-9s %6s %6s %6s %6s %7s %6.0f%% %7.1f %8.1f %7s\n", name.c_str(),
                way.c_str(), figure(v.atProgress[0]).c_str(), figure(v.atProgress[1]).c_str(),
                figure(v.atProgress[2]).c_str(), figure(v.atProgress[3]).c_str(),
                figure(v.ratios.empty() ? NAN : median_of(v.ratios)).c_str(), share, v.frozenSeconds,
                v.finishingEarlySeconds, figure(v.firstFigureSeconds, 1).c_str());
  return text;
}

// Uniform content must be right on 80 % of its lines, content that changes on 60 %.
bool meetsTargets(const std::string& name, const Verdict& v) {
  const double median = v.ratios.empty() ? NAN : median_of(v.ratios);
  const double wanted = name == "uniform" || name == "4k" || name == "720p60" ? 0.8 : 0.6;
  return median >= 0.85 && median <= 1.15 && v.lines > 0 && v.within >= wanted * v.lines &&
         v.frozenSeconds == 0;
}

int replay(const std::string& folder) {
  QStringList names = QDir(QString::fromStdString(folder)).entryList({"*.trace"}, QDir::Files, QDir::Name);
  if (names.isEmpty()) {
    std::cerr << "no traces in " << folder << std::endl;
    return 1;
  }
  std::cout << "shown/real time left at 10/25/50/75 % progress; past 10 %: median, lines within 15 %,\n"
               "seconds showing <= 1 s while > 3 s remained, seconds of Finishing while > 3 s remained,\n"
               "first figure (s). estimate: the job's figure; average: (duration - time) / speed.\n\n";
  std::printf("%-17s %-9s %6s %6s %6s %6s %7s %7s %7s %8s %7s\n", "trace", "way", "10%", "25%", "50%", "75%",
              "median", "in15%", "<=1s", "finish", "first");
  bool allMet = true;
  for (const QString& file : names) {
    const std::vector<Record> records = readTrace(folder + "/" + file.toStdString());
    const std::string name = QFileInfo(file).completeBaseName().toStdString();
    const Verdict estimate = judgeEstimator(records);
    const Verdict average = judgeAverageSpeed(records);
    const bool met = meetsTargets(name, estimate);
    allMet = allMet && met;
    std::cout << row(name, "estimate", estimate) << row("", "average", average)
              << (met ? "" : "  ^ misses its target\n");
  }
  std::cout << (allMet ? "\nevery trace meets its target\n" : "\nsome traces miss their target\n");
  return allMet ? 0 : 1;
}

// --- The first figure ----------------------------------------------------------------

// Seconds from the encoder's start to its first progress line, run directly.
double firstLineDirect(const std::string& clip, const std::string& output) {
  QElapsedTimer clock;
  clock.start();
  ProcessRunner runner(FFmpegCmdGenerator::Generate(clip, output, "95"), ProcessRunner::Output::Merged);
  runner.Start();
  while (!runner.IsCompleted()) {
    const std::string line = runner.ReadLine();
    if (line.find("frame=") != std::string::npos && line.find("time=") != std::string::npos)
      return clock.nsecsElapsed() / 1e9;
  }
  return NAN;
}

// Seconds from adding the video (already probed, as the add flows do) to the first
// figure a front end receives.
double firstFigureThroughTheEngine(const std::string& clip, const std::string& output) {
  JobManager manager;
  UpdateGUIThread publisher(manager);
  QElapsedTimer clock;
  std::atomic<qint64> figureAt{-1};
  QObject::connect(
      &publisher, &UpdateGUIThread::signal_jobs_status, &publisher,
      [&](const JobsStatus& status) {
        for (const JobStatus& job : status)
          if (job.progress >= 0 && figureAt < 0) figureAt = clock.nsecsElapsed();
      },
      Qt::DirectConnection);
  publisher.start();
  QThread::msleep(300);  // inside its pause, as between two cycles
  clock.start();
  const JobCreation::Result created = JobCreation::Create(clip, output, "95", "h264", ".mp4");
  if (created.record == nullptr) return NAN;
  manager.AddAndRunJob(created.record);
  for (int waited = 0; figureAt < 0 && waited < 60000; waited += 5) QThread::msleep(5);
  manager.StopAllJobs();
  publisher.Stop();
  return figureAt < 0 ? NAN : figureAt / 1e9;
}

void reportFirstFigure(const std::string& home) {
  const std::string clip = home + "/clip1080p.mp4";
  if (!make_1080p_clip(clip)) {
    std::cerr << "could not generate the 1080p clip with ffmpeg" << std::endl;
    return;
  }
  MediaInfoCache::GetInstance().GetMediaInfo(clip);
  std::vector<double> direct;
  std::vector<double> engine;
  for (int run = 0; run < 5; ++run) {
    direct.push_back(firstLineDirect(clip, home + "/direct.mp4"));
    engine.push_back(firstFigureThroughTheEngine(clip, home + "/engine.mp4"));
  }
  std::printf(
      "\nfirst figure, median (slowest) of 5 runs in seconds: the encoder's first progress line\n"
      "when run directly %.3f (%.3f); the first figure a front end receives after adding the\n"
      "video %.3f (%.3f)\n",
      median_of(direct), *std::max_element(direct.begin(), direct.end()), median_of(engine),
      *std::max_element(engine.begin(), engine.end()));
}
}  // namespace

int main(int argc, char** argv) {
  const std::string home = isolate_bench_folders();
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() == 4 && args[1] == "record") return record(args[2].toStdString(), args[3].toStdString());
  if (args.size() == 2 && args[1] == "first-figure") {
    reportFirstFigure(home);
    return 0;
  }
  return replay(args.size() == 2 ? args[1].toStdString() : std::string(KOVADLE_TRACE_FOLDER));
}
