// The engine as the program drives it, with whatever tools lie in bin/ beside this
// executable (tests copy it next to fake ones). Modes:
//   transcode <input> <output>  probe, plan and encode one video, printing the
//                               command ("CMD:") and every snapshot ("SNAPSHOT:")
//   encode <output>             encode a long generated source with the real
//                               encoder, print "encoder pid:" and wait to be killed
//   probe <input>               probe the file (a test kills us meanwhile)
#include <QCoreApplication>
#include <iostream>
#include <string>

#include "Util/CmdUtil.h"
#include "Util/OSUtil.h"
#include "jobs/JobManager.h"
#include "probe/FFprobeUtil.h"

namespace {

int transcode(const std::string& input, const std::string& output) {
  JobManager& manager = JobManager::GetInstance();
  auto* record = new JobFile;
  record->Init(input, output, "95", "h264", ".mp4");
  JobV3* job = manager.AddAndRunJob(record);
  std::cout << "CMD:" << job->GetFFmpegCmd() << std::endl;
  for (int waited = 0; manager.GetRunningJobCount() > 0; waited += 50) {
    if (waited > 60000) return 3;
    const std::string snapshot = manager.GetJobsProgress();  // prints traces of its own
    std::cout << "SNAPSHOT:" << snapshot << std::endl;
    OSUtil::sleepMs(50);
  }
  return 0;
}

int encodeUntilKilled(const std::string& output) {
  auto* record = new JobFile;
  record->Init("lavfi", output, "95", "h264", ".mp4");
  JobV3* job = JobManager::GetInstance().AddJob(record);
  const std::string encoder = OSUtil::pathJoin(OSUtil::getAppDir(), "bin/encoder");
  // Silent: an encoder that writes would also die of the broken pipe once we are gone.
  job->SetFFmpegCmd(CmdUtil::QuotePath(encoder) +
                    " -nostats -loglevel quiet -y -re -f lavfi -i testsrc2=size=320x240:rate=25:duration=120 "
                    "-c:v libx264 -preset "
                    "ultrafast " +
                    CmdUtil::QuotePath(output));
  JobManager::GetInstance().RunJob(record->GetJobID());
  while (job->GetPid() <= 0 && job->IsRunning()) OSUtil::sleepMs(10);
  std::cout << "encoder pid:" << job->GetPid() << std::endl;
  for (;;) OSUtil::sleepMs(1000);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "transcode" && argc == 4) return transcode(argv[2], argv[3]);
  if (mode == "encode" && argc == 3) return encodeUntilKilled(argv[2]);
  if (mode == "probe" && argc == 3) {
    FFprobeUtil::GetMediaInfo(argv[2]);
    return 0;
  }
  return 2;
}
