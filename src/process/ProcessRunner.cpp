#include "process/ProcessRunner.h"

#include <QDeadlineTimer>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QThread>
#include <iostream>
#include <utility>

#include "platform/OSUtil.h"
#include "process/ChildProcess.h"
#include "text/QtText.h"

ProcessRunner::ProcessRunner(CommandLine command, Output output)
    : command_(std::move(command)), process_(new ChildProcess()) {
  process_->setProcessChannelMode(output == Output::Merged ? QProcess::MergedChannels
                                                           : QProcess::SeparateChannels);
  // The thread has no event loop of its own: the end is delivered inside its waits.
  QObject::connect(process_.get(), QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished),
                   process_.get(), [this](int exitCode, QProcess::ExitStatus status) {
                     onFinished(exitCode, status == QProcess::NormalExit);
                   });
}

ProcessRunner::~ProcessRunner() {
  // close() kills a child that still runs.
  process_->close();
  forgetChild();
}

bool ProcessRunner::Start(int msecs) {
  QStringList arguments;
  for (const std::string& argument : command_.Arguments()) arguments << to_qstring(argument);
  const bool started =
      !command_.Empty() && process_->startTied(to_qstring(command_.Program()), arguments, msecs);
  const int64_t pid = Pid();
  if (started && pid > 0) {
    registeredPid_ = pid;
    OSUtil::registerChildProcess(pid);
  }
  if (!started) ending_ = Ending::FailedToStart;
  return started;
}

std::string ProcessRunner::ReadLine() {
  while (!completed_ && pending_.find('\n') == std::string::npos) {
    char buffer[2048] = {0};
    // A child that never started leaves the device closed: that reads as an error too.
    const qint64 count = process_->isOpen() ? process_->read(buffer, sizeof(buffer)) : -1;
    if (count == 0) {
      process_->waitForReadyRead(30000);
      continue;
    }
    if (count < 0) {
      completed_ = true;
      forgetChild();
      std::cout << " QtCmdRunner::ReadStdout, this->isCompleted = true" << std::endl;
      break;
    }
    appendOutput(std::string(buffer, qstrnlen(buffer, static_cast<size_t>(count))));
  }

  // Qt has usually read the child's last output by the time it reports the end:
  // take it too, so the final lines (often the error message) are not lost.
  if (completed_ && process_->isOpen() && process_->bytesAvailable() > 0) {
    const QByteArray rest = process_->readAll();
    appendOutput(std::string(rest.constData(), qstrnlen(rest.constData(), static_cast<size_t>(rest.size()))));
  }

  const size_t end = pending_.find('\n');
  if (end != std::string::npos) {
    std::string line = pending_.substr(0, end + 1);
    pending_.erase(0, end + 1);
    return line;
  }
  if (completed_) {
    std::string rest;
    rest.swap(pending_);
    return rest;
  }
  std::cout << "What???????, this is unexpected!!!" << std::endl;
  Fatal("Unexpected condition occur.");
}

QByteArray ProcessRunner::RunToEnd(int msecs) {
  if (ending_ == Ending::FailedToStart) {
    completed_ = true;
    return QByteArray();
  }
  process_->closeWriteChannel();
  // In slices, so a thread asked to end (the progress publisher at exit) does not
  // wait out a child that hangs, a probe reading a pipe for example.
  QThread* const thread = QThread::currentThread();
  for (QDeadlineTimer deadline(msecs); process_->state() != QProcess::NotRunning && !deadline.hasExpired() &&
                                       !thread->isInterruptionRequested();) {
    process_->waitForFinished(100);
  }
  const QByteArray output = process_->readAllStandardOutput();
  if (process_->state() != QProcess::NotRunning) {
    // Past its time: ended here rather than in the destructor, which would only warn.
    killedHere_ = true;
    process_->kill();
    process_->waitForFinished(5000);
  }
  completed_ = true;
  return output;
}

std::vector<std::string> ProcessRunner::Lines(const QByteArray& output) {
  QString text;
  if (!output.isNull()) {
    text = QString::fromLocal8Bit(output.constData(),
                                  static_cast<int>(qstrnlen(output.constData(), output.size())));
  }
  std::vector<std::string> lines;
  for (const QString& piece : text.split(QRegularExpression("[\r\n]"), Qt::SkipEmptyParts))
    lines.push_back(to_utf8(piece));
  return lines;
}

int64_t ProcessRunner::Pid() const {
  const qint64 pid = process_->processId();
  return pid > 0 ? pid : -1;
}

void ProcessRunner::onFinished(int exitCode, bool normalExit) {
  const bool killed = forgetChild() || killedHere_;
  exitCode_ = exitCode;
  if (killed) {
    ending_ = Ending::Killed;
  } else {
    ending_ = normalExit ? Ending::Exited : Ending::Crashed;
  }
  completed_ = true;
  std::cout << "slot_onCmdProcess_finished." << std::endl;
}

void ProcessRunner::appendOutput(std::string chunk) {
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

bool ProcessRunner::forgetChild() {
  if (registeredPid_ <= 0) return killedThroughRegistry_;
  killedThroughRegistry_ = OSUtil::unregisterChildProcess(registeredPid_);
  registeredPid_ = -1;
  return killedThroughRegistry_;
}

void ProcessRunner::Fatal(const char* message) {
  std::cout << "!!!Fatal error, program exit!!!" << std::endl;
  std::cout << "ErrorInfo: " << message << std::endl;
  throw message;
}
