#include <gtest/gtest.h>

#include <future>
#include <vector>

#include "Util/AppConstants.h"
#include "Util/MachineInfo.h"

TEST(MachineIdentity, DeviceIdIsTheMacAsADecimalNumber) {
  EXPECT_EQ(device_id_from_mac("00:1A:2B:3C:4D:5E"), "112394521950");
  EXPECT_EQ(device_id_from_mac("00-1A-2B-3C-4D-5E"), "112394521950");
  EXPECT_EQ(device_id_from_mac("FF:FF:FF:FF:FF:FF"), "281474976710655");
  EXPECT_EQ(device_id_from_mac(""), "0");
  // Longer hardware addresses (InfiniBand, EUI-64) saturate instead of ending the process.
  EXPECT_EQ(device_id_from_mac("80:00:02:08:FE:80:00:00:00:00:00:00:00:02:C9:03:00:0E:A5:21"),
            "9223372036854775807");

  // Asked from several threads at once: one derivation, one answer, never the sentinel.
  std::vector<std::future<std::string>> askers;
  for (int i = 0; i < 4; ++i)
    askers.push_back(std::async(std::launch::async, [] { return get_device_id(); }));
  const std::string first = askers[0].get();
  for (size_t i = 1; i < askers.size(); ++i) EXPECT_EQ(askers[i].get(), first);
  EXPECT_NE(first, "init");
  EXPECT_EQ(first.find_first_not_of("0123456789"), std::string::npos) << first;
}

TEST(MachineIdentity, ProcessorFactsFromCpuinfoAndWmicAnswers) {
  // Two packages, two cores each, two threads per core.
  std::string cpuinfo;
  int processor = 0;
  for (int package = 0; package < 2; ++package)
    for (int thread = 0; thread < 2; ++thread)
      for (int core = 0; core < 2; ++core)
        cpuinfo +=
            "processor\t: " + std::to_string(processor++) +
            "\nmodel name\t: Intel(R)  Xeon(R) \"Gold\"  CPU\nphysical id\t: " + std::to_string(package) +
            "\ncore id\t\t: " + std::to_string(core) + "\n\n";
  MachineInfo::CpuFacts facts = MachineInfo::parse_cpuinfo(cpuinfo);
  EXPECT_EQ(facts.name, "Intel(R) Xeon(R) \"Gold\" CPU");
  EXPECT_EQ(facts.cores, "4");
  EXPECT_EQ(facts.logical, "8");
  // A virtual machine without topology lines.
  facts = MachineInfo::parse_cpuinfo("processor : 0\nmodel name : V\n\nprocessor : 1\nmodel name : V\n");
  EXPECT_EQ(facts.cores, "2");
  EXPECT_EQ(facts.logical, "2");
  EXPECT_EQ(MachineInfo::parse_cpuinfo("").logical, "");

  // wmic pads each row to the column width. The column name goes in any case, also
  // inside the value; white space collapses.
  EXPECT_EQ(MachineInfo::clean_query_output("wmic cpu get Name",
                                            "Name  \r\r\nNAMEless  Intel(R) Core(TM)\r\r\n\r\r\n"),
            "less Intel(R) Core(TM)");
  EXPECT_EQ(
      MachineInfo::clean_query_output("wmic cpu get NumberOfCores",
                                      "NumberOfCores  \r\r\n4              \r\r\n4              \r\r\n"),
      "4 4");
  EXPECT_EQ(MachineInfo::clean_query_output("wmic cpu get Name", ""), "");

  // This machine answers in the same shapes.
  EXPECT_FALSE(MachineInfo::cpu_logical_count().empty());
  EXPECT_EQ(MachineInfo::cpu_core_count().find_first_not_of("0123456789"), std::string::npos);
}
