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
#include <QtConcurrent>
#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <iostream>
#include <sstream>
#include <vector>

#include "BenchSupport.h"
#include "environment/AppConstants.h"
#include "environment/UserSettings.h"
#include "jobs/JobEngine.h"
#include "jobs/JobFile.h"
#include "jobs/JobManager.h"
#include "platform/OSUtil.h"
#include "probe/MediaInfoCache.h"
#include "ui/Widget.h"
#include "ui/dialogs/SettingWindow1File.h"

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
    JobEngine engine(manager);
    QElapsedTimer timer;
    timer.start();
    {
      Widget window(engine);
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
  JobEngine engine(manager);
  Widget window(engine);
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
    JobsStatus snapshot;
    for (size_t i = 0; i < jobIDs.size(); ++i) {
      JobStatus job;
      job.jobID = jobIDs[i];
      job.state = JobState::Encoding;
      job.progress = ((step + i) % 99) / 100.0;
      job.timeLeft = 3725.5 - step;
      snapshot.push_back(job);
    }
    ++step;
    state.ResumeTiming();
    window.update_jobsProgress_mainWindowUI(snapshot);
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

double thread_cpu_ms() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// The longest stretch in which the interface thread handled no event (wall
// time), and the most processor time it spent in one such stretch: a long
// stretch with little of its own work is the machine's load, not a block.
class Heartbeat {
 public:
  Heartbeat() {
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
    since_.start();
    cpu_ = thread_cpu_ms();
    timer_.start(2);
  }
  void finish(std::vector<double>& gaps, std::vector<double>& busy) {
    tick();
    gaps.push_back(longest_);
    busy.push_back(busiest_);
  }

 private:
  void tick() {
    const double cpu = thread_cpu_ms();
    longest_ = std::max(longest_, static_cast<double>(since_.restart()));
    busiest_ = std::max(busiest_, cpu - cpu_);
    cpu_ = cpu;
  }
  QTimer timer_;
  QElapsedTimer since_;
  double cpu_ = 0, longest_ = 0, busiest_ = 0;
};

// Runs one iteration's work under a heartbeat; the iteration's time is its wall time.
void measure_interface_thread(benchmark::State& state, std::vector<double>& gaps, std::vector<double>& busy,
                              const std::function<void()>& work) {
  Heartbeat heartbeat;
  QElapsedTimer whole;
  whole.start();
  work();
  heartbeat.finish(gaps, busy);
  state.SetIterationTime(whole.nsecsElapsed() / 1e9);
}

void report_gaps(benchmark::State& state, const std::vector<double>& gaps, const std::vector<double>& busy) {
  state.counters["longest_gap_ms"] = *std::max_element(gaps.begin(), gaps.end());
  state.counters["median_gap_ms"] = median_of(gaps);
  state.counters["longest_busy_ms"] = *std::max_element(busy.begin(), busy.end());
}

// A copy of the 1080p clip under a new name each time, so the probe really runs.
std::string fresh_clip() {
  static int n = 0;
  const std::string clip = g_home + "/clip1080p.mp4";
  if (!QFile::exists(QString::fromStdString(clip)) && !make_1080p_clip(clip)) return std::string();
  const std::string copy = g_home + "/added_" + std::to_string(n++) + ".mp4";
  QFile::copy(QString::fromStdString(clip), QString::fromStdString(copy));
  return copy;
}

// The same measurement while only a probe runs on the pool and the interface
// thread has nothing to do: what the machine's load and the probe alone cost.
void BM_InterfaceThreadWhileProbeRunsAlone(benchmark::State& state) {
  std::vector<double> gaps, busy;
  for (auto _ : state) {
    const std::string input = fresh_clip();
    measure_interface_thread(state, gaps, busy, [&input] {
      QFuture<void> probe = QtConcurrent::run([input] { MediaInfoCache::GetInstance().GetMediaInfo(input); });
      while (!probe.isFinished()) QApplication::processEvents(QEventLoop::AllEvents, 5);
    });
  }
  report_gaps(state, gaps, busy);
}
BENCHMARK(BM_InterfaceThreadWhileProbeRunsAlone)
    ->Iterations(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_InterfaceThreadWhileAddingVideo(benchmark::State& state) {
  QDir(QString::fromStdString(get_appjobfile_dir())).removeRecursively();
  JobManager manager;
  JobEngine engine(manager);
  Widget window(engine);
  window.show();
  QObject answers;
  accept_settings_later(&answers);
  std::vector<double> gaps, busy;
  for (auto _ : state) {
    const std::string input = fresh_clip();
    measure_interface_thread(state, gaps, busy, [&] {
      if (!window.add_video_file(QString::fromStdString(input)))
        state.SkipWithError("the video was not added");
    });
    state.PauseTiming();
    for (const JobView& job : engine.Views()) engine.Stop(job.jobID);
    state.ResumeTiming();
  }
  report_gaps(state, gaps, busy);
}
BENCHMARK(BM_InterfaceThreadWhileAddingVideo)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  g_home = isolate_bench_folders();
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Keep-awake and the desktop's bus are not what is measured here.
  qputenv("DBUS_SESSION_BUS_ADDRESS", QByteArray::fromStdString("unix:path=" + g_home + "/no-session-bus"));
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
  benchmark::ConsoleReporter reporter(benchmark::ConsoleReporter::OO_Tabular);
  reporter.SetOutputStream(&results);
  reporter.SetErrorStream(&std::cerr);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  std::cout.rdbuf(results.rdbuf());
  return 0;
}
