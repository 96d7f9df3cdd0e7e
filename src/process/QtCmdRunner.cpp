#include "process/QtCmdRunner.h"

#include <iostream>

#include "platform/OSUtil.h"
#include "process/ChildProcess.h"
#include "process/CmdUtil.h"

namespace Util {

QtCmdRunner::QtCmdRunner(const char* cmd) : command_(cmd != nullptr ? cmd : "") {
  isCompleted_ = false;
  exitCode_ = -1;
  process_ = new ChildProcess();
  process_->setProcessChannelMode(QProcess::MergedChannels);
  connect(process_, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), this,
          &QtCmdRunner::slot_onCmdProcess_finished);
}

QtCmdRunner::~QtCmdRunner() {
  // close() kills a child that still runs.
  process_->close();
  delete process_;
  forgetChild();
}

bool QtCmdRunner::Start() {
  QStringList args = CmdUtil::SplitCommand(QString::fromUtf8(command_.c_str()));
  if (args.isEmpty()) return false;
  const QString program = args.takeFirst();
  const bool started = process_->startTied(program, args, 30000);
  const int64_t pid = GetPid();
  if (started && pid > 0) {
    registeredPid_ = pid;
    OSUtil::registerChildProcess(pid);
  }
  return started;
}

bool QtCmdRunner::IsCompleted() const { return isCompleted_; }

std::string QtCmdRunner::ReadStdout() {
  while (!isCompleted_ && pending_.find('\n') == std::string::npos) {
    char buffer[2048] = {0};
    // A child that never started leaves the device closed: that reads as an error too.
    const qint64 count = process_->isOpen() ? process_->read(buffer, sizeof(buffer)) : -1;
    if (count == 0) {
      process_->waitForReadyRead(30000);
      continue;
    }
    if (count < 0) {
      isCompleted_ = true;
      forgetChild();
      std::cout << " QtCmdRunner::ReadStdout, this->isCompleted = true" << std::endl;
      break;
    }
    appendOutput(std::string(buffer, qstrnlen(buffer, static_cast<size_t>(count))));
  }

  // Qt has usually read the child's last output by the time it reports the end:
  // take it too, so the final lines (often the error message) are not lost.
  if (isCompleted_ && process_->isOpen() && process_->bytesAvailable() > 0) {
    const QByteArray rest = process_->readAll();
    appendOutput(std::string(rest.constData(), qstrnlen(rest.constData(), static_cast<size_t>(rest.size()))));
  }

  const size_t end = pending_.find('\n');
  if (end != std::string::npos) {
    std::string line = pending_.substr(0, end + 1);
    pending_.erase(0, end + 1);
    return line;
  }
  if (isCompleted_) {
    std::string rest;
    rest.swap(pending_);
    return rest;
  }
  std::cout << "What???????, this is unexpected!!!" << std::endl;
  Fatal("Unexpected condition occur.");
}

void QtCmdRunner::appendOutput(std::string chunk) {
  // A "\r\n" split between two reads must still make one line end, not two.
  if (pendingCarriageReturn_ && !chunk.empty() && chunk.front() == '\n') chunk.erase(0, 1);
  pendingCarriageReturn_ = !chunk.empty() && chunk.back() == '\r';
  std::string converted;
  converted.reserve(chunk.size());
  for (size_t i = 0; i < chunk.size(); ++i) {
    if (chunk[i] == '\r') {
      converted += '\n';
      if (i + 1 < chunk.size() && chunk[i + 1] == '\n') ++i;
    } else {
      converted += chunk[i];
    }
  }
  pending_ += converted;
}

int64_t QtCmdRunner::GetPid() const {
  const qint64 pid = process_->processId();
  return pid > 0 ? pid : -1;
}

int QtCmdRunner::GetExitCode() const { return exitCode_; }

bool QtCmdRunner::FinishedSuccessfully() const { return normalExit_ && exitCode_ == 0; }

void QtCmdRunner::Fatal(const char* message) {
  std::cout << "!!!Fatal error, program exit!!!" << std::endl;
  std::cout << "ErrorInfo: " << message << std::endl;
  throw message;
}

void QtCmdRunner::slot_onCmdProcess_finished(int exitCode, QProcess::ExitStatus exitStatus) {
  normalExit_ = exitStatus == QProcess::NormalExit;
  exitCode_ = exitCode;
  isCompleted_ = true;
  forgetChild();
  std::cout << "slot_onCmdProcess_finished." << std::endl;
}

void QtCmdRunner::forgetChild() {
  if (registeredPid_ <= 0) return;
  OSUtil::unregisterChildProcess(registeredPid_);
  registeredPid_ = -1;
}

}  // namespace Util
