#include "environment/MachineInfo.h"

#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <set>
#include <utility>

#include "text/QtText.h"

namespace {

// "key<tabs/spaces>: value" of one cpuinfo line; false for blank or other lines.
bool split_cpuinfo_line(const QString& line, QString& key, QString& value) {
  const int colon = line.indexOf(':');
  if (colon < 0) return false;
  key = line.left(colon).trimmed();
  value = line.mid(colon + 1).trimmed();
  return true;
}

}  // namespace

MachineInfo::CpuFacts MachineInfo::parse_cpuinfo(const std::string& text) {
  CpuFacts facts;
  int processors = 0;
  std::set<std::pair<QString, QString>> cores;
  QString physical_id;
  QString core_id;
  bool have_core_id = false;
  // Each processor is one block of lines; a blank line ends it.
  const auto end_block = [&] {
    if (have_core_id) cores.insert({physical_id, core_id});
    physical_id.clear();
    core_id.clear();
    have_core_id = false;
  };
  for (const QString& line : to_qstring(text).split('\n')) {
    QString key;
    QString value;
    if (line.trimmed().isEmpty()) {
      end_block();
      continue;
    }
    if (!split_cpuinfo_line(line, key, value)) continue;
    if (key == QLatin1String("processor")) {
      end_block();
      ++processors;
    } else if (key == QLatin1String("model name") && facts.name.empty()) {
      facts.name = to_utf8(value.simplified());
    } else if (key == QLatin1String("physical id")) {
      physical_id = value;
    } else if (key == QLatin1String("core id")) {
      core_id = value;
      have_core_id = true;
    }
  }
  end_block();
  if (processors > 0) {
    facts.logical = std::to_string(processors);
    // Without topology lines (some virtual machines) each processor counts as a core.
    facts.cores = std::to_string(cores.empty() ? processors : static_cast<int>(cores.size()));
  }
  return facts;
}

std::string MachineInfo::clean_query_output(const std::string& command, const std::string& output) {
  const QStringList words = to_qstring(command).split(' ', Qt::SkipEmptyParts);
  QString text = to_qstring(output);
  if (!words.isEmpty()) text.remove(words.last(), Qt::CaseInsensitive);
  text.remove('\r');
  text.remove('\n');
  return to_utf8(text.simplified());
}
