#include <QFile>

#include "environment/MachineInfo.h"

namespace {

MachineInfo::CpuFacts read_cpuinfo() {
  QFile file(QStringLiteral("/proc/cpuinfo"));
  // /proc files report a size of 0: read until the end instead of by size.
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return MachineInfo::CpuFacts();
  return MachineInfo::parse_cpuinfo(file.readAll().toStdString());
}

}  // namespace

std::string MachineInfo::cpu_name() { return read_cpuinfo().name; }

std::string MachineInfo::cpu_core_count() { return read_cpuinfo().cores; }

std::string MachineInfo::cpu_logical_count() { return read_cpuinfo().logical; }
