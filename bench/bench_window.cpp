// Costs of the main window: opening it on many stored jobs, applying one progress
// snapshot, and how long the interface thread is kept from its events while a
// video is added (the probe must run on the pool).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <vector>

#include "BenchSupport.h"
#include "Util/AppConstants.h"
#include "Util/OSUtil.h"
#include "Util/UserSettings.h"
#include "jobs/JobFile.h"
#include "jobs/JobManager.h"
#include "planning/SettingWindow1File.h"
#include "ui/Widget.h"

namespace {

std::string g_home;
const int kStoredJobs = 5000;

// 5,000 job files as a long-used program leaves them: most in Transcoding (stopped
// or interrupted), many completed, some in the recycle bin.
void store_jobs() {
  QDir(QString::fromStdString(get_appjobfile_dir())).removeRecursively();
  for (int i = 0; i < kStoredJobs; ++i) {
    JobFile record;
    record.Init("/videos/holiday/input_" + std::to_string(i) + ".mp4",
                "/out/input_" + std::to_string(i) + "_output.mp4", "95", "h264", ".mp4");
    if (i % 10 < 3) record.SetIsCompleted(true);
    if (i % 10 == 9) record.SetIsDeleted(true);
    if (i % 10 == 4) record.SetIsStopped(true);
  }
}

void BM_OpenWindowWithStoredJobs(benchmark::State& state) {
  store_jobs();
  for (auto _ : state) {
    JobManager manager;
    QElapsedTimer timer;
    timer.start();
    {
      Widget window(manager);
      window.show();
      QApplication::processEvents();  // the first layout and paint
      state.SetIterationTime(timer.nsecsElapsed() / 1e9);
      if (manager.GetAllJobCount() != kStoredJobs) state.SkipWithError("not every job loaded");
    }
  }
}
BENCHMARK(BM_OpenWindowWithStoredJobs)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_ApplySnapshotOf20RunningJobs(benchmark::State& state) {
  store_jobs();
  JobManager manager;
  Widget window(manager);
  window.show();
  QApplication::processEvents();
  auto* running = window.findChild<QTableWidget*>("tableWidgetRunning");
  // The last 20 rows: the slowest to find.
  std::vector<std::string> jobIDs;
  for (int row = running->rowCount() - 20; row < running->rowCount(); ++row)
    jobIDs.push_back(window.UIOp_GetJobID(running, row));
  int step = 0;
  for (auto _ : state) {
    state.PauseTiming();
    std::ostringstream snapshot;
    snapshot << '{';
    for (size_t i = 0; i < jobIDs.size(); ++i) {
      const double progress = ((step + i) % 99) / 100.0;
      snapshot << (i ? "," : "") << '"' << jobIDs[i] << "\":\"" << (3725.5 - step) << '|' << progress << '"';
    }
    snapshot << '}';
    const QString text = QString::fromStdString(snapshot.str());
    ++step;
    state.ResumeTiming();
    window.update_jobsProgress_mainWindowUI(text);
  }
}
BENCHMARK(BM_ApplySnapshotOf20RunningJobs)->Unit(benchmark::kMicrosecond);

// Accepts the settings dialog once it has been shown for a while, like a user would.
void accept_settings_later(QObject* owner) {
  auto* poll = new QTimer(owner);
  QObject::connect(poll, &QTimer::timeout, [] {
    for (QWidget* top : QApplication::topLevelWidgets()) {
      auto* settings = qobject_cast<SettingWindow1File*>(top);
      if (settings == nullptr || !settings->isVisible()) continue;
      for (QPushButton* button : settings->findChildren<QPushButton*>())
        if (button->text() == "Start Transcoding") button->click();
    }
  });
  poll->start(300);
}

// Measures the longest stretch in which the interface thread handled no event.
class Heartbeat {
 public:
  Heartbeat() {
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] { longest_ = std::max(longest_, since_.restart()); });
    since_.start();
    timer_.start(2);
  }
  qint64 longestMs() { return std::max(longest_, since_.elapsed()); }

 private:
  QTimer timer_;
  QElapsedTimer since_;
  qint64 longest_ = 0;
};

// The same measurement with nothing to do: what the machine's load alone costs.
void BM_InterfaceThreadIdle(benchmark::State& state) {
  std::vector<double> gaps;
  for (auto _ : state) {
    Heartbeat heartbeat;
    QElapsedTimer whole;
    whole.start();
    while (whole.elapsed() < 1000) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    gaps.push_back(static_cast<double>(heartbeat.longestMs()));
    state.SetIterationTime(whole.nsecsElapsed() / 1e9);
  }
  state.counters["longest_block_ms"] = *std::max_element(gaps.begin(), gaps.end());
  state.counters["median_block_ms"] = median_of(gaps);
}
BENCHMARK(BM_InterfaceThreadIdle)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_InterfaceThreadWhileAddingVideo(benchmark::State& state) {
  QDir(QString::fromStdString(get_appjobfile_dir())).removeRecursively();
  const std::string clip = g_home + "/clip1080p.mp4";
  if (!QFile::exists(QString::fromStdString(clip)) && !make_1080p_clip(clip)) {
    state.SkipWithError("could not generate the 1080p clip");
    return;
  }
  JobManager manager;
  Widget window(manager);
  window.show();
  QObject answers;
  accept_settings_later(&answers);
  std::vector<double> gaps;
  int n = 0;
  for (auto _ : state) {
    // A path of its own each time, so the probe really runs.
    const std::string input = g_home + "/added_" + std::to_string(n++) + ".mp4";
    QFile::copy(QString::fromStdString(clip), QString::fromStdString(input));
    Heartbeat heartbeat;
    QElapsedTimer whole;
    whole.start();
    if (!window.add_video_file(QString::fromStdString(input))) state.SkipWithError("the video was not added");
    gaps.push_back(static_cast<double>(heartbeat.longestMs()));
    state.SetIterationTime(whole.nsecsElapsed() / 1e9);
    state.PauseTiming();
    for (JobV3* job : manager.GetAllJobs()) manager.StopJob(job->GetJobFile()->GetJobID());
    state.ResumeTiming();
  }
  state.counters["longest_block_ms"] = *std::max_element(gaps.begin(), gaps.end());
  state.counters["median_block_ms"] = median_of(gaps);
}
BENCHMARK(BM_InterfaceThreadWhileAddingVideo)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  g_home = isolate_bench_folders();
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  // Keep-awake and the desktop's bus are not what is measured here.
  setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + g_home + "/no-session-bus").c_str(), 1);
  QApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");
  OSUtil::setShutdownAction([] { std::cerr << "the shutdown action was reached" << std::endl; });
  UserSettings::instance().setOutputDir(g_home + "/out");
  QDir().mkpath(QString::fromStdString(g_home + "/out"));
  // The program's trace lines would drown the results; a window has no console either.
  struct Discard : std::streambuf {
    int overflow(int c) override { return c; }
  } discard;
  std::ostream results(std::cout.rdbuf());
  std::cout.rdbuf(&discard);
  benchmark::Initialize(&argc, argv);
  benchmark::ConsoleReporter reporter;
  reporter.SetOutputStream(&results);
  reporter.SetErrorStream(&std::cerr);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  std::cout.rdbuf(results.rdbuf());
  return 0;
}
