#pragma once

#include <string>

// The processor facts the start-up report describes the machine with, as texts in
// the shape Windows' wmic answers them ("Intel(R) Core(TM) i5-8250U CPU @ 1.60GHz",
// "4", "8"). Each query may block (wmic runs as a child process on Windows), so
// they are asked on worker threads only. Empty when the system does not say.
class MachineInfo {
 public:
  static std::string cpu_name();
  static std::string cpu_core_count();
  static std::string cpu_logical_count();

  struct CpuFacts {
    std::string name;
    std::string cores;
    std::string logical;
  };

  // The facts in a /proc/cpuinfo text: the first "model name"; the physical cores
  // as the distinct (physical id, core id) pairs, the logical processors as the
  // "processor" entries. A count stays empty when there are no entries at all.
  static CpuFacts parse_cpuinfo(const std::string& text);

  // One wmic answer cleaned up: every occurrence of the command's last word (the
  // column name) removed in any letter case, line breaks dropped, runs of white
  // space collapsed and both ends trimmed.
  static std::string clean_query_output(const std::string& command, const std::string& output);
};
