// Leaves the program while a job still encodes: the process must end cleanly and
// take its encoder with it. Prints the encoder's pid.
#include <QCoreApplication>
#include <iostream>

#include "Util/CmdUtil.h"
#include "Util/OSUtil.h"
#include "jobs/JobManager.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc < 3) return 2;
  auto* record = new JobFile;
  record->Init(argv[1], argv[2], "95", "h264", ".mp4");
  JobV3* job = JobManager::GetInstance().AddJob(record);
  const std::string encoder = OSUtil::pathJoin(OSUtil::getAppDir(), "bin/encoder");
  job->SetFFmpegCmd(CmdUtil::QuotePath(encoder) + " -y -re -i " + CmdUtil::QuotePath(argv[1]) +
                    " -c:v libx264 -preset ultrafast " + CmdUtil::QuotePath(argv[2]));
  JobManager::GetInstance().RunJob(record->GetJobID());
  while (job->GetPid() <= 0 && job->IsRunning()) OSUtil::sleepMs(10);
  std::cout << "encoder pid:" << job->GetPid() << std::endl;
  return 0;
}
