// Leaves the program while one job encodes and another waits, through the exit
// path the program itself takes: "quit" ends the event loop as a closed window
// does, "term" waits for SIGTERM, "stuck" leaves while the encoder's thread is held
// up and cannot end in time. Prints the encoder's pid and both job files.
#include <QCoreApplication>
#include <QTimer>
#include <atomic>
#include <iostream>
#include <string>

#include "jobs/JobEngine.h"
#include "jobs/JobManager.h"
#include "jobs/UpdateGUIThread.h"
#include "platform/OSUtil.h"
#include "process/CommandLine.h"
#include "process/QuitSignalWatcher.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc < 4) return 2;
  const std::string mode = argv[1];
  const std::string input = argv[2];
  const std::string folder = argv[3];
  const bool stuck = mode == "stuck";
  QuitSignalWatcher quitOnSignal;
  // A busy machine: the second job stays queued.
  UpdateGUIThread::setLoadSampler([](int ms) {
    OSUtil::sleepMs(ms);
    return 100;
  });
  // The encoder's thread cannot end for a while (as on a dead network share).
  static std::atomic<bool> held{false};
  if (stuck) {
    JobV3::SetEncoderStartedHook([] {
      held = true;
      OSUtil::sleepMs(20000);
    });
  }
  JobManager& manager = JobManager::GetInstance();
  JobEngine engine;
  engine.StartPublishing();

  const std::string encoder = OSUtil::pathJoin(OSUtil::getAppDir(), "bin/encoder");
  JobV3* jobs[2] = {nullptr, nullptr};
  for (int i = 0; i < 2; ++i) {
    auto* record = new JobFile;
    const std::string output = folder + "/" + std::to_string(i) + "_output.mp4";
    record->Init(input, output, "95", "h264", ".mp4");
    jobs[i] = manager.AddJob(record);
    jobs[i]->SetFFmpegCmd(CommandLine(encoder)
                              .Add({"-y", "-re", "-i"})
                              .AddPath(input)
                              .Add({"-c:v", "libx264", "-preset", "ultrafast"})
                              .AddPath(output));
    engine.Start(record->GetJobID());
    // One write per line: the publisher prints from its own thread meanwhile.
    std::cout << ("job file:" + record->GetPath() + "\n") << std::flush;
  }
  if (stuck) {
    // Once the encoder runs and its thread is held (the input is measured before).
    while (!held) OSUtil::sleepMs(10);
    std::cout << "ready\n" << std::flush;
    const bool ended = engine.StopForExit(300);
    std::cout << ("all ended:" + std::to_string(ended) + "\n");
    // Left without a flush: leaving must not lose what was written.
    const int code = engine.Leave(7);
    std::cout << "returned from Leave\n" << std::flush;
    return code + 2;
  }
  while (jobs[0]->GetPid() <= 0 && jobs[0]->IsRunning()) OSUtil::sleepMs(10);
  std::cout << ("encoder pid:" + std::to_string(jobs[0]->GetPid()) +
                "\nqueued:" + std::to_string(jobs[1]->IsQueueing()) + "\nready\n")
            << std::flush;

  if (mode == "quit") QTimer::singleShot(300, &app, &QCoreApplication::quit);
  QTimer::singleShot(60000, &app, [] { QCoreApplication::exit(3); });
  const int code = quitOnSignal.ReceivedSignal() != 0 ? 0 : app.exec();
  // The program's own order: the publisher, then the jobs, then the statics.
  engine.StopForExit();
  return engine.Leave(code);
}
