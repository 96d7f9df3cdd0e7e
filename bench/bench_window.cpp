// Costs of the main window: opening it on many stored jobs (how soon it shows, how
// soon every table is filled, the interface thread's longest pause meanwhile, the
// memory each job takes), applying one progress snapshot, and how long the
// interface thread is kept from its events while a video is added (the probe must
// run on the pool).
#include <benchmark/benchmark.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QtConcurrent>
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
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

enum class Stored { Interrupted, Stopped, Failed, Completed, DeletedCompleted, DeletedStopped };

// A JobID of the usual shape, different for each number.
std::string job_id(int n) {
  char id[40];
  std::snprintf(id, sizeof id, "%08x-0000-4000-8000-%012x", n, n * 7919);
  return id;
}

// Job files written directly, oldest first, a second apart: saving each through the
// program (lock, atomic rename) takes far longer than what is measured.
void store_jobs(int count, Stored (*kind)(int)) {
  const QString folder = QString::fromStdString(get_appjobfile_dir());
  QDir(folder).removeRecursively();
  QDir().mkpath(folder);
  const QDateTime first = QDateTime::currentDateTime().addSecs(-count - 60);
  for (int i = 0; i < count; ++i) {
    const Stored k = kind(i);
    const bool completed = k == Stored::Completed || k == Stored::DeletedCompleted;
    const bool deleted = k == Stored::DeletedCompleted || k == Stored::DeletedStopped;
    const bool stopped = k == Stored::Stopped || k == Stored::Failed || k == Stored::DeletedStopped;
    char name[32];
    std::snprintf(name, sizeof name, "clip_%05d", i);
    const std::string path = OSUtil::pathJoin(get_appjobfile_dir(), job_id(i) + ".jobfile");
    {
      std::ofstream file(path);
      file << "{\"JobID\":\"" << job_id(i) << "\",\"GeneratedTime\":\"2023-05-01 12:00:00\","
           << "\"InputFile\":\"/home/user/Videos/Holiday 2023/" << name << ".mp4\","
           << "\"OutputFile\":\"/home/user/Videos/Kovadle_Output/" << name << "_output.mp4\","
           << "\"Quality\":\"95\",\"OutputCodec\":\"h264\",\"OutputFormat\":\".mp4\","
           << "\"IsCompleted\":\"" << (completed ? "true" : "false") << "\",\"IsDeleted\":\""
           << (deleted ? "true" : "false") << "\",\"IsStopped\":\"" << (stopped ? "true" : "false")
           << "\",\"Outcome\":\""
           << (k == Stored::Failed ? "failed"
               : completed         ? "completed"
               : stopped           ? "stopped"
                                   : "")
           << "\",\"ErrorLines\":\"" << (k == Stored::Failed ? "No space left on device" : "") << "\"}\n";
    }
    QFile stamp(QString::fromStdString(path));
    if (stamp.open(QIODevice::ReadWrite))
      stamp.setFileTime(first.addSecs(i), QFileDevice::FileModificationTime);
  }
}

// 5,000 job files as a long-used program leaves them: most in Transcoding (stopped
// or interrupted), many completed, some in the recycle bin.
Stored mostly_unfinished(int i) {
  if (i % 10 < 3) return Stored::Completed;
  if (i % 10 == 9) return Stored::DeletedStopped;
  return i % 10 == 4 ? Stored::Stopped : Stored::Interrupted;
}

// Years of a few videos a day: nearly all completed, a tenth in the recycle bin, a
// few stopped, cut short or failed.
Stored mostly_finished(int i) {
  switch (i % 100) {
    case 87:
      return Stored::Stopped;
    case 88:
      return Stored::Interrupted;
    case 89:
      return Stored::Failed;
    default:
      return i % 100 < 87 ? Stored::Completed : i % 2 ? Stored::DeletedCompleted : Stored::DeletedStopped;
  }
}

void store_jobs() { store_jobs(kStoredJobs, mostly_unfinished); }

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

int shown_rows(const Widget& window, const char* table) {
  return window.findChild<QAbstractItemView*>(table)->model()->rowCount();
}

// Until every stored job has its row: how soon the window shows, how soon the
// Transcoding table and all three are filled, the interface thread's longest pause
// after it showed, and the memory each job takes (against the same without jobs).
void BM_OpenWindowWithManyStoredJobs(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  store_jobs(count, mostly_finished);
  int unfinished = 0;
  for (int i = 0; i < count; ++i) {
    const Stored k = mostly_finished(i);
    unfinished += k == Stored::Stopped || k == Stored::Interrupted || k == Stored::Failed;
  }
  static bool warmed = false;
  if (!warmed) {  // fonts, styles and plugins are loaded once, not per job
    JobManager manager;
    JobEngine engine(manager);
    Widget window(engine);
    window.show();
    QApplication::processEvents();
    warmed = true;
  }
  static double rss_without_jobs = -1, heap_without_jobs = -1;
  std::vector<double> gaps, busy;
  for (auto _ : state) {
    const double rss_before = static_cast<double>(resident_bytes());
    const double heap_before = static_cast<double>(heap_in_use_bytes());
    JobManager manager;
    JobEngine engine(manager);
    QElapsedTimer timer;
    timer.start();
    Widget window(engine);
    window.show();
    QApplication::processEvents();  // the first layout and paint
    const double visible_ms = timer.nsecsElapsed() / 1e6;
    double transcoding_ms = -1;
    {
      Heartbeat heartbeat;
      for (;;) {
        const int running = shown_rows(window, "tableWidgetRunning");
        if (transcoding_ms < 0 && running >= unfinished) transcoding_ms = timer.nsecsElapsed() / 1e6;
        if (running + shown_rows(window, "tableWidgetDone") + shown_rows(window, "tableWidgetDel") >= count)
          break;
        if (timer.elapsed() > 600000) {
          state.SkipWithError("the tables were not filled within 10 minutes");
          break;
        }
        QApplication::processEvents(QEventLoop::AllEvents, 5);
      }
      heartbeat.finish(gaps, busy);
    }
    state.SetIterationTime(timer.nsecsElapsed() / 1e9);
    const double rss = static_cast<double>(resident_bytes()) - rss_before;
    const double heap = static_cast<double>(heap_in_use_bytes()) - heap_before;
    state.counters["visible_ms"] = visible_ms;
    state.counters["transcoding_ms"] = transcoding_ms;
    state.counters["filled_ms"] = timer.nsecsElapsed() / 1e6;
    if (count == 0) {
      rss_without_jobs = rss;
      heap_without_jobs = heap;
    } else if (rss_without_jobs >= 0) {
      state.counters["rss_per_job"] = (rss - rss_without_jobs) / count;
      if (heap_before >= 0) state.counters["heap_per_job"] = (heap - heap_without_jobs) / count;
    }
    if (manager.GetAllJobCount() != count) state.SkipWithError("not every job loaded");
  }
  state.counters["longest_gap_ms"] = *std::max_element(gaps.begin(), gaps.end());
  state.counters["longest_busy_ms"] = *std::max_element(busy.begin(), busy.end());
}
// Without jobs first: the memory per job is measured against it.
BENCHMARK(BM_OpenWindowWithManyStoredJobs)
    ->Arg(0)
    ->Arg(5000)
    ->Arg(50000)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_ApplySnapshotOf20RunningJobs(benchmark::State& state) {
  store_jobs();
  JobManager manager;
  JobEngine engine(manager);
  Widget window(engine);
  window.show();
  while (!window.stored_jobs_shown()) QApplication::processEvents(QEventLoop::AllEvents, 5);
  auto* running = window.findChild<QTableView*>("tableWidgetRunning");
  // The last 20 rows: the slowest to find.
  std::vector<std::string> jobIDs;
  for (int row = running->model()->rowCount() - 20; row < running->model()->rowCount(); ++row)
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
