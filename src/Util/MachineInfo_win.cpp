#include <QProcess>
#include <QString>
#include <QStringList>

#include "Util/MachineInfo.h"
#include "Util/QtText.h"

namespace {

// Runs one wmic query to its end (no time-out; it runs on a worker thread) and
// returns its cleaned answer. A missing wmic gives the empty text.
std::string run_query(const std::string& command) {
  QProcess process;
  process.setProcessChannelMode(QProcess::SeparateChannels);
  const QStringList parts = QProcess::splitCommand(to_qstring(command));
  process.start(parts.first(), parts.mid(1));
  if (!process.waitForStarted(-1)) return std::string();
  process.closeWriteChannel();
  process.waitForFinished(-1);
  QByteArray raw = process.readAllStandardOutput();
  // wmic pads its answer with NUL bytes; the text ends at the first one.
  const int nul = raw.indexOf('\0');
  if (nul >= 0) raw.truncate(nul);
  const QString decoded = QString::fromLocal8Bit(raw);
  return MachineInfo::clean_query_output(command, to_utf8(decoded));
}

}  // namespace

std::string MachineInfo::cpu_name() { return run_query("wmic cpu get Name"); }

std::string MachineInfo::cpu_core_count() { return run_query("wmic cpu get NumberOfCores"); }

std::string MachineInfo::cpu_logical_count() { return run_query("wmic cpu get NumberOfLogicalProcessors"); }
