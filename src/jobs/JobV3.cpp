#include "jobs/JobV3.h"

#include <fstream>
#include <iostream>
#include <thread>

#include "Util/AppConstants.h"
#include "Util/LogUtil.h"
#include "Util/OSUtil.h"
#include "Util/QtCmdRunner.h"
#include "planning/FFmpegCmdGenerator.h"

JobV3::JobV3(JobFile* jobFile) : jobFile_(jobFile) {
  completed_ = jobFile->GetIsCompleted();
  stopped_ = jobFile->GetIsStopped();
  deleted_ = jobFile->GetIsDeleted();
  if (is_debug_mode()) logPath_ = OSUtil::pathJoin(get_appjoblogs_dir(), jobFile->GetJobID() + ".log");
}

JobV3::~JobV3() {
  if (running_) killEncoderAndWait();
}

void JobV3::GenerateFFmpegCmd() {
  command_ = FFmpegCmdGenerator::Generate(jobFile_->GetInputFile(), jobFile_->GetOutputFile(),
                                          jobFile_->GetQuality());
  cmdGenerated_ = true;
}

void JobV3::SetFFmpegCmd(const std::string& command) {
  command_ = command;
  cmdGenerated_ = true;
}

void JobV3::SetIsCompleted(bool value) {
  completed_ = value;
  if (jobFile_->GetIsCompleted() != value) jobFile_->SetIsCompleted(value);
}

void JobV3::SetIsStopped(bool value) {
  stopped_ = value;
  if (jobFile_->GetIsStopped() != value) jobFile_->SetIsStopped(value);
}

void JobV3::SetIsDeleted(bool value) {
  deleted_ = value;
  if (jobFile_->GetIsDeleted() != value) jobFile_->SetIsDeleted(value);
}

void JobV3::Run() {
  log_info("JobV3::Run begin, jobID:" + jobFile_->GetJobID());
  running_ = true;
  stopped_ = false;
  queueing_ = false;
  completed_ = false;
  failed_ = false;
  if (jobFile_->GetIsStopped()) jobFile_->SetIsStopped(false);
  if (jobFile_->GetIsCompleted()) jobFile_->SetIsCompleted(false);
  if (jobFile_->GetIsDeleted()) jobFile_->SetIsDeleted(false);
  std::thread(&JobV3::ffmpegThreadMethod, this, command_, logPath_).detach();
  std::cout << "JobV3::Run, end." << std::endl;
}

void JobV3::ffmpegThreadMethod(std::string command, std::string logPath) {
  running_ = true;
  int exitCode = -1;
  std::string lastLine;
  const bool succeeded = runEncoder(command, logPath, &exitCode, &lastLine);
  if (stopRequested_) {
    completed_ = false;
  } else if (succeeded) {
    SetIsCompleted(true);
  } else {
    // A failed encode is not a finished one: keep it transcodable and say why.
    log_info("JobV3::ffmpegThreadMethod, encoder failed, jobID:" + jobFile_->GetJobID() +
             ",exit code:" + std::to_string(exitCode) + ",last output:" + lastLine);
    completed_ = false;
    failed_ = true;
    SetIsStopped(true);
  }
  // Nothing of this object may be touched after this: a waiting Stop or the
  // destructor goes on as soon as it reads false.
  running_ = false;
}

bool JobV3::runEncoder(const std::string& command, const std::string& logPath, int* exitCode,
                       std::string* lastLine) {
  std::ofstream log;
  if (!logPath.empty()) {
    log.open(logPath, std::ios::app);
    log << "\n---Start to execute cmd: " << command << "\n\n";
  }
  log_info("JobV3::ffmpegThreadMethod,Start to execute the ffmpeg_cmd.");
  // A stop that came before the encoder started: do not start it at all.
  if (stopRequested_) return false;

  Util::QtCmdRunner runner(command.c_str());
  if (!runner.Start()) *lastLine = "(the encoder could not be started)";
  pid_ = runner.GetPid();
  // A stop that saw no pid yet relies on this thread to end the encoder.
  if (stopRequested_ && pid_ > 0) OSUtil::killProcess(pid_);

  auto remember = [lastLine](const std::string& line) {
    const size_t end = line.find_last_not_of("\r\n ");
    if (end != std::string::npos) *lastLine = line.substr(0, end + 1);
  };
  if (!runner.IsCompleted()) {
    do {
      const std::string line = runner.ReadStdout();
      if (log.is_open()) log << line << std::flush;
      remember(line);
      HandleOutputLine(line);
    } while (!runner.IsCompleted());
  }
  // The process has ended: its number may be reused from now on.
  pid_ = -1;
  // Lines still pending only matter for the log and the failure reason.
  for (std::string rest = runner.ReadStdout(); !rest.empty(); rest = runner.ReadStdout()) {
    if (log.is_open()) log << rest << std::flush;
    remember(rest);
  }
  if (log.is_open()) log << "\n---Command execute completed. \n";
  *exitCode = runner.GetExitCode();
  return runner.FinishedSuccessfully();
}

void JobV3::killEncoderAndWait() {
  stopRequested_ = true;
  const int64_t pid = pid_;
  if (pid > 0) OSUtil::killProcess(pid);
  while (running_) OSUtil::sleepMs(10);
}

void JobV3::Stop() {
  std::cout << "JobV3::Stop, begin." << std::endl;
  if (stopped_ || stopRequested_) return;
  if (running_) killEncoderAndWait();
  ResetFigures();
  pid_ = -1;
  running_ = false;
  queueing_ = false;
  completed_ = false;
  failed_ = false;
  stopped_ = true;
  stopRequested_ = false;
  if (!jobFile_->GetIsStopped()) jobFile_->SetIsStopped(true);
  if (jobFile_->GetIsCompleted()) jobFile_->SetIsCompleted(false);
  if (jobFile_->GetIsDeleted()) jobFile_->SetIsDeleted(false);
  std::cout << "JobV3::Stop, end." << std::endl;
}
