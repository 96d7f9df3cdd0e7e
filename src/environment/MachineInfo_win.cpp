#include <QString>

#include "environment/MachineInfo.h"
#include "process/ProcessRunner.h"
#include "text/QtText.h"

namespace {

// A wmic query answers within seconds; one that hangs (seen under Wine) must not
// hold the start-up sequence's thread, nor outlive the program.
const int kQueryTimeoutMs = 30000;

// Runs one wmic query ("cpu get <column>") and returns its cleaned answer. A missing
// wmic, or one that does not answer in time, gives the empty text.
std::string run_query(const char* column) {
  const CommandLine command = CommandLine("wmic").Add({"cpu", "get", column});
  ProcessRunner query(command);
  if (!query.Start(kQueryTimeoutMs)) return std::string();
  const QByteArray raw = query.RunToEnd(kQueryTimeoutMs);
  if (query.HowItEnded() == ProcessRunner::Ending::Killed) return std::string();
  // Into a pipe wmic writes UTF-16LE, mostly behind a byte-order mark; read as 8-bit
  // text it ended at the first high byte's NUL. Other builds write the code page.
  QString decoded;
  if (raw.startsWith("\xFF\xFE") || (raw.size() >= 2 && raw[0] != '\0' && raw[1] == '\0')) {
    const int bom = raw.startsWith("\xFF\xFE") ? 2 : 0;
    decoded =
        QString::fromUtf16(reinterpret_cast<const ushort*>(raw.constData() + bom), (raw.size() - bom) / 2);
  } else {
    decoded = QString::fromLocal8Bit(raw);
  }
  // wmic may pad its answer with NULs; the text ends at the first one.
  const int nul = decoded.indexOf(QChar(0));
  if (nul >= 0) decoded.truncate(nul);
  return MachineInfo::clean_query_output(command.ToString(), to_utf8(decoded));
}

}  // namespace

std::string MachineInfo::cpu_name() { return run_query("Name"); }

std::string MachineInfo::cpu_core_count() { return run_query("NumberOfCores"); }

std::string MachineInfo::cpu_logical_count() { return run_query("NumberOfLogicalProcessors"); }
