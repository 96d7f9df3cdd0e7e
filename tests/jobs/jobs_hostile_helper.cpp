// Adds one video as the program does (probe, plan, encode) with whatever tools lie
// in bin/ beside this executable (tests copy it next to fake ones), and prints the
// command ("CMD:") and every progress snapshot ("SNAPSHOT:") until the job ends.
#include <QCoreApplication>
#include <iostream>

#include "jobs/JobManager.h"
#include "platform/OSUtil.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc != 3) return 2;
  JobManager& manager = JobManager::GetInstance();
  auto* record = new JobFile;
  record->Init(argv[1], argv[2], "95", "h264", ".mp4");
  JobV3* job = manager.AddAndRunJob(record);
  // One write per line: the engine prints from other threads meanwhile.
  std::cout << ("CMD:" + job->GetFFmpegCmd().ToString() + "\n") << std::flush;
  for (int waited = 0; manager.GetRunningJobCount() > 0; waited += 50) {
    if (waited > 60000) return 3;
    const std::string snapshot = manager.GetJobsProgress();  // prints traces of its own
    std::cout << ("SNAPSHOT:" + snapshot + "\n") << std::flush;
    OSUtil::sleepMs(50);
  }
  return 0;
}
