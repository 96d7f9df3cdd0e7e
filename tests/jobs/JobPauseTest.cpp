// Pausing a job: where the state may go, and what the pause does to its time left.
#include <gtest/gtest.h>

#include <QThread>
#include <cmath>
#include <cstdio>

#include "jobs/JobManager.h"
#include "jobs/JobTestSupport.h"
#include "platform/AwakeClock.h"

namespace {

const JobState kAllStates[] = {JobState::Idle,   JobState::Waiting,  JobState::Starting, JobState::Encoding,
                               JobState::Paused, JobState::Stopping, JobState::Stopped,  JobState::Completed,
                               JobState::Failed, JobState::Deleted,  JobState::Elsewhere};

std::string progress_line(double seconds) {
  char line[160];
  std::snprintf(line, sizeof line,
                "frame=%d fps=25 q=28.0 size=100kB time=00:00:%05.2f bitrate=1.0kbits/s speed=1.0x",
                static_cast<int>(seconds * 25), seconds);
  return line;
}

}  // namespace

// Only an encoding job is paused; a paused one resumes, is stopped, or ends as its
// encoder did. It holds its run slot all the while, and a restart never finds it
// paused: nothing stored reads so.
TEST(JobPause, TheStateTableTakesAPauseOnlyFromAnEncodeAndBackToIt) {
  std::string into, outOf;
  for (const JobState from : kAllStates) {
    if (JobStateRules::CanMove(from, JobState::Paused)) into += JobStateRules::Name(from) + " ";
    if (JobStateRules::CanMove(JobState::Paused, from)) outOf += JobStateRules::Name(from) + " ";
  }
  EXPECT_EQ(into, "encoding ");
  EXPECT_EQ(outOf, "encoding stopping completed failed ");
  EXPECT_TRUE(JobStateRules::IsActive(JobState::Paused));
  EXPECT_FALSE(JobStateRules::IsFinal(JobState::Paused));
  EXPECT_EQ(JobStateRules::TabOf(JobState::Paused), JobTab::Transcoding);
  for (const bool stopped : {false, true}) {
    for (const char* outcome : {"", "stopped", "failed", "completed"})
      EXPECT_NE(JobStateRules::OfRecord(false, false, stopped, outcome), JobState::Paused);
  }

  clear_job_folder();
  JobManager manager;
  JobV3* job = manager.AddJob(new_record("/in/a.mp4", "/out/a.mp4"));
  EXPECT_FALSE(job->Pause()) << "an idle job has nothing to hold";
  ASSERT_TRUE(job->MoveTo(JobState::Starting) && job->MoveTo(JobState::Encoding));
  EXPECT_TRUE(job->Pause() && job->IsPaused() && job->IsRunning());
  EXPECT_FALSE(job->Pause()) << "paused twice, resumed once, would leave it held";
  EXPECT_TRUE(job->Resume());
  EXPECT_FALSE(job->Resume());
  EXPECT_EQ(job->GetState(), JobState::Encoding);
  // A paused job stops as a running one does.
  ASSERT_TRUE(job->Pause());
  EXPECT_TRUE(job->Stop());
  EXPECT_TRUE(job->IsStopping());
}

// Time held is no encoding time: the figure stands while the job is paused and the
// count goes on from there once it is resumed, within the bound it had before.
TEST(JobPause, TheTimeLeftStandsWhilePausedAndIsRightAfterwards) {
  clear_job_folder();
  JobManager manager;
  JobV3* job = manager.AddJob(new_record("/in/a.mp4", "/out/a.mp4"));
  ASSERT_TRUE(job->MoveTo(JobState::Starting) && job->MoveTo(JobState::Encoding));
  job->SetDuration(60);
  // Twenty seconds of encoding at 1.5 media seconds a second, just past.
  const int64_t start = AwakeClock::NowMs() - 20000;
  for (int ms = 0; ms <= 20000; ms += 500) job->HandleOutputLine(progress_line(ms * 1.5 / 1000), start + ms);
  const double truth = (60 - 30) / 1.5;  // seconds left at the last line
  const auto left = [job] { return job->GetTimeLeft().seconds; };
  ASSERT_EQ(job->GetTimeLeft().kind, TimeLeft::Kind::Seconds);
  const double bound = std::abs(left() - truth) + 0.5;
  EXPECT_LT(bound, 3.0) << left();

  ASSERT_TRUE(job->Pause());
  const double held = left();
  QThread::msleep(1500);
  EXPECT_NEAR(left(), held, 0.05) << "counted down while paused";
  ASSERT_TRUE(job->Resume());
  EXPECT_NEAR(left(), held, 0.2);
  // Encoding goes on where it stood: five seconds later, five seconds less.
  const int64_t resumed = AwakeClock::NowMs();
  for (int ms = 500; ms <= 5000; ms += 500)
    job->HandleOutputLine(progress_line(30 + ms * 1.5 / 1000), resumed + ms);
  EXPECT_NEAR(job->GetTimeLeftAt(resumed + 5000).seconds, truth - 5, bound);
  EXPECT_NEAR(job->GetRecentRate(), 1.5, 0.05) << "the pause lowered the rate";
}
