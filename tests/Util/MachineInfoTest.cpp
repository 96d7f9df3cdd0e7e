#include <gtest/gtest.h>

#include <future>

#include "environment/AppConstants.h"
#include "environment/MachineInfo.h"

TEST(MachineIdentity, DeviceIdIsTheMacAsOneDecimalNumberDerivedOnce) {
  EXPECT_EQ(device_id_from_mac("00:1A:2B:3C:4D:5E") + device_id_from_mac("00-1A-2B-3C-4D-5E"),
            "112394521950112394521950");
  EXPECT_EQ(device_id_from_mac(""), "0");
  // A 20-byte InfiniBand address saturates instead of ending the process.
  EXPECT_EQ(device_id_from_mac("80:00:02:08:FE:80:00:00:00:00:00:00:00:02:C9:03:00:0E:A5:21"),
            "9223372036854775807");

  auto other_thread = std::async(std::launch::async, [] { return get_device_id(); });
  const std::string here = get_device_id();
  EXPECT_EQ(other_thread.get(), here);
  EXPECT_EQ(here.find_first_not_of("0123456789"), std::string::npos) << here;
}

TEST(MachineIdentity, ProcessorFactsInTheShapeWmicGivesThem) {
  // Two packages of two cores with two threads each.
  std::string cpuinfo;
  for (int processor = 0; processor < 8; ++processor)
    cpuinfo += "processor\t: " + std::to_string(processor) + "\nmodel name\t: Intel(R)  Xeon(R) \"Gold\"\n" +
               "physical id\t: " + std::to_string(processor / 4) +
               "\ncore id\t\t: " + std::to_string(processor % 2) + "\n\n";
  const MachineInfo::CpuFacts facts = MachineInfo::parse_cpuinfo(cpuinfo);
  EXPECT_EQ(facts.name + "|" + facts.cores + "|" + facts.logical, "Intel(R) Xeon(R) \"Gold\"|4|8");

  // wmic pads each row to the column width; the column name goes.
  EXPECT_EQ(
      MachineInfo::clean_query_output("wmic cpu get NumberOfCores",
                                      "NumberOfCores  \r\r\n4              \r\r\n4              \r\r\n"),
      "4 4");
  EXPECT_EQ(MachineInfo::cpu_core_count().find_first_not_of("0123456789"), std::string::npos);
}
