#include <gtest/gtest.h>

#include "jobs/Job.h"

namespace {
const char kProgress[] =
    "frame= 1200 fps=240 q=28.0 size=    5120kB time=00:00:50.50 bitrate= 828.4kbits/s speed=2.5x\n";
const char kHeader[] = "  Duration: 00:01:40.00, start: 0.000000, bitrate: 2500 kb/s\n";
}  // namespace

TEST(JobOutput, ExtractorsReadTheMarkedValues) {
  EXPECT_DOUBLE_EQ(Job::ExtractTime(kProgress), 50.5);
  EXPECT_DOUBLE_EQ(Job::ExtractSpeed(kProgress), 2.5);
  EXPECT_DOUBLE_EQ(Job::ExtractTime("frame=1 time=01:02:03.50 bitrate=1 speed=1x"), 3723.5);
  // The last marker counts, unless it is too close to the end to hold a clock.
  EXPECT_DOUBLE_EQ(Job::ExtractTime("frame=1 time=00:00:01.00 time=00:00:02.00 speed=1x"), 2.0);
  EXPECT_DOUBLE_EQ(Job::ExtractTime("frame=1 time=00:00:05.00 x time=00:0"), 5.0);
  EXPECT_EQ(Job::ExtractTime("frame=1 fps=2"), -1);
  EXPECT_DOUBLE_EQ(Job::ExtractSpeed("frame=1 time=00:00:01.00 speed=1.5x"), 1.5);
  EXPECT_EQ(Job::ExtractSpeed("frame=1 time=00:00:01.00 speed=N/A"), -1);
  EXPECT_DOUBLE_EQ(Job::ExtractDuration(kHeader), 100.0);
  EXPECT_EQ(Job::ExtractDuration("Duration: 00:01"), -1);
  EXPECT_LE(Job::ExtractDuration("  Duration: N/A, start: 1.500000, bitrate: N/A"), 0);
  EXPECT_DOUBLE_EQ(Job::ExtractStart("  Duration: N/A, start: 1.500000, bitrate: N/A"), 1.5);
  EXPECT_DOUBLE_EQ(Job::ExtractStart("  Duration: N/A, start: -0.021000"), 0);
}

TEST(JobOutput, FiguresFollowTheLinesAndKeepGoodValues) {
  Job job;
  // Nothing known yet: every figure is "not available".
  EXPECT_EQ(job.GetDuration(), -1);
  EXPECT_EQ(job.GetProgress(), -1);
  EXPECT_EQ(job.GetEstimateLeftTime(), -1);

  job.HandleOutputLine("frame=  10 fps=0.0 q=0.0 size=0kB time=00:00:25.00 bitrate=N/A speed=2.0x\n");
  EXPECT_DOUBLE_EQ(job.GetTimeDone(), 25.0);
  EXPECT_EQ(job.GetProgress(), -1);  // duration still unknown

  job.HandleOutputLine(kHeader);
  EXPECT_DOUBLE_EQ(job.GetDuration(), 100.0);
  EXPECT_DOUBLE_EQ(job.GetProgress(), 0.25);
  EXPECT_DOUBLE_EQ(job.GetEstimateLeftTime(), 37.5);

  // Lines without usable values change nothing.
  job.HandleOutputLine("frame=  11 fps=0.0 q=0.0 size=0kB time=N/A bitrate=N/A speed=N/A\n");
  job.HandleOutputLine("  Duration: N/A, start: 0.000000, bitrate: N/A\n");
  job.HandleOutputLine("Stream #0:0: Video: h264, yuv420p, 640x480, 25 fps\n");
  EXPECT_DOUBLE_EQ(job.GetDuration(), 100.0);
  EXPECT_DOUBLE_EQ(job.GetTimeDone(), 25.0);
  EXPECT_DOUBLE_EQ(job.GetEstimateLeftTime(), 37.5);

  // A progress line is not read for a duration, even when it names one.
  job.HandleOutputLine("frame=1 time=00:00:50.00 speed=4x Duration: 00:09:00.00\n");
  EXPECT_DOUBLE_EQ(job.GetDuration(), 100.0);
  EXPECT_DOUBLE_EQ(job.GetEstimateLeftTime(), 12.5);
}
