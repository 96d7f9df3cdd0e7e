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
  if (running_) {
    stopRequested_ = true;
    killEncoder();
  }
  joinEncoderThread();
}

std::string JobV3::MakeFFmpegCmd() const {
  return FFmpegCmdGenerator::Generate(jobFile_->GetInputFile(), jobFile_->GetOutputFile(),
                                      jobFile_->GetQuality());
}

void JobV3::GenerateFFmpegCmd() { SetFFmpegCmd(MakeFFmpegCmd()); }

void JobV3::SetFFmpegCmd(const std::string& command) {
  command_ = command;
  cmdGenerated_ = true;
}

void JobV3::setCompletedLocked(bool value) {
  completed_ = value;
  if (jobFile_->GetIsCompleted() != value) jobFile_->SetIsCompleted(value);
}

void JobV3::setStoppedLocked(bool value) {
  stopped_ = value;
  if (jobFile_->GetIsStopped() != value) jobFile_->SetIsStopped(value);
}

void JobV3::setDeletedLocked(bool value) {
  deleted_ = value;
  if (jobFile_->GetIsDeleted() != value) jobFile_->SetIsDeleted(value);
}

void JobV3::SetIsCompleted(bool value) {
  std::lock_guard<std::mutex> guard(stateLock_);
  setCompletedLocked(value);
}

void JobV3::SetIsStopped(bool value) {
  std::lock_guard<std::mutex> guard(stateLock_);
  setStoppedLocked(value);
}

void JobV3::SetIsDeleted(bool value) {
  std::lock_guard<std::mutex> guard(stateLock_);
  setDeletedLocked(value);
}

void JobV3::Run() {
  log_info("JobV3::Run begin, jobID:" + jobFile_->GetJobID());
  // The thread of the last run has done its work; collect it before starting another.
  joinEncoderThread();
  {
    std::lock_guard<std::mutex> guard(stateLock_);
    running_ = true;
    queueing_ = false;
    failed_ = false;
    // A job that runs again leaves the recycle bin, in memory as in its file.
    setStoppedLocked(false);
    setCompletedLocked(false);
    setDeletedLocked(false);
    encoderThread_ = std::thread(&JobV3::ffmpegThreadMethod, this, command_, logPath_);
  }
  std::cout << "JobV3::Run, end." << std::endl;
}

void JobV3::ffmpegThreadMethod(std::string command, std::string logPath) {
  running_ = true;
  int exitCode = -1;
  std::string lastLine;
  const bool succeeded = runEncoder(command, logPath, &exitCode, &lastLine);
  if (!succeeded && !stopRequested_) {
    log_info("JobV3::ffmpegThreadMethod, encoder failed, jobID:" + jobFile_->GetJobID() +
             ",exit code:" + std::to_string(exitCode) + ",last output:" + lastLine);
  }
  {
    std::lock_guard<std::mutex> guard(stateLock_);
    if (stopRequested_) {
      completed_ = false;
    } else if (succeeded) {
      setCompletedLocked(true);
    } else {
      // A failed encode is not a finished one: keep it transcodable.
      completed_ = false;
      failed_ = true;
      setStoppedLocked(true);
    }
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

void JobV3::killEncoder() {
  const int64_t pid = pid_;
  if (pid > 0) OSUtil::killProcess(pid);
}

void JobV3::joinEncoderThread() {
  std::thread encoder;
  {
    std::lock_guard<std::mutex> guard(stateLock_);
    encoder.swap(encoderThread_);
  }
  if (encoder.joinable()) encoder.join();
  // Another caller may hold the handle and be joining it: wait for the work to end.
  while (running_) OSUtil::sleepMs(10);
}

void JobV3::ReapEncoderThread() {
  std::thread encoder;
  {
    std::lock_guard<std::mutex> guard(stateLock_);
    if (running_) return;
    encoder.swap(encoderThread_);
  }
  if (encoder.joinable()) encoder.join();
}

bool JobV3::BeginStop() {
  std::cout << "JobV3::Stop, begin." << std::endl;
  if (stopped_) return false;
  bool idle = false;
  return stopRequested_.compare_exchange_strong(idle, true);
}

void JobV3::FinishStop() {
  killEncoder();
  joinEncoderThread();
  {
    std::lock_guard<std::mutex> guard(stateLock_);
    ResetFigures();
    pid_ = -1;
    running_ = false;
    queueing_ = false;
    completed_ = false;
    failed_ = false;
    setStoppedLocked(true);
    setCompletedLocked(false);
    setDeletedLocked(false);
  }
  stopRequested_ = false;
  std::cout << "JobV3::Stop, end." << std::endl;
}

void JobV3::Stop() {
  if (BeginStop()) FinishStop();
}
