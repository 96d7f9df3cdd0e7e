#include <gtest/gtest.h>

#include <QDir>

#include "environment/AppConstants.h"
#include "jobs/JobManager.h"
#include "jobs/JobTestSupport.h"
#include "support/TestEnvironment.h"
#include "text/SimpleJson.h"
#include "text/StringUtil.h"
#include "text/TxtUtil.h"

TEST(JobFile, RestartLoadsTheGoodJobFilesOldestFirstWithAllTheirMembers) {
  clear_job_folder();
  const std::string folder = get_appjobfile_dir();
  const std::string input = "/videos/vidéo 日本.mp4", output = "/out/vidéo 日本_output.mp4";
  std::vector<std::string> ids;
  std::string generated;
  {
    JobManager before;  // the previous run of the program
    for (int i = 0; i < 3; ++i) ids.push_back(id_of(before.AddJob(new_record(input, output))));
    generated = before.FindJob(ids[0])->GetJobFile()->GetGeneratedTime();
    before.FindJob(ids[0])->SetIsDeleted(true);
    before.FindJob(ids[1])->GetJobFile()->SetIsStopped(true);
    before.FindJob(ids[2])->GetJobFile()->SetIsCompleted(true);
  }
  const int ages[] = {-30, -10, -20};
  for (int i = 0; i < 3; ++i) set_mtime(folder + "/" + ids[i] + ".jobfile", ages[i]);
  SimpleJson json;
  json.load_file(folder + "/" + ids[0] + ".jobfile");
  EXPECT_EQ(json.keys(), (std::vector<std::string>{"JobID", "GeneratedTime", "InputFile", "OutputFile",
                                                   "Quality", "OutputCodec", "OutputFormat", "IsCompleted",
                                                   "IsDeleted", "IsStopped", "Outcome", "ErrorLines"}));
  EXPECT_EQ(json.get("IsDeleted"), "true");  // a text, never a JSON boolean
  // Copies of a good file that must not load: a bad flag, a foreign name.
  const std::string good = TxtUtil::read_text_file(folder + "/" + ids[0] + ".jobfile");
  TxtUtil::write_text_file(folder + "/badflag.jobfile",
                           StringUtil::replace_all_copy(good, "\"true\"", "\"maybe\""));
  TxtUtil::write_text_file(folder + "/notes.txt", good);
  TxtUtil::write_text_file(folder + "/corrupt.jobfile", "{\"JobID\": ");
  QDir().mkpath(QString::fromStdString(folder + "/x.jobfile"));

  JobManager after;
  const std::vector<JobV3*> loaded = after.LoadStoredJobs();
  ASSERT_EQ(loaded.size(), 3u);
  EXPECT_EQ(after.GetRunningJobCount(), 0);
  EXPECT_EQ((std::vector<std::string>{id_of(loaded[0]), id_of(loaded[1]), id_of(loaded[2])}),
            (std::vector<std::string>{ids[0], ids[2], ids[1]}));
  const JobFile* record = loaded[0]->GetJobFile();
  EXPECT_EQ(record->GetGeneratedTime(), generated);
  EXPECT_EQ(record->GetInputFile() + "|" + record->GetOutputFile(), input + "|" + output);
  EXPECT_EQ(record->GetQuality() + record->GetOutputCodec() + record->GetOutputFormat(), "95h264.mp4");
  EXPECT_TRUE(loaded[0]->IsDeleted() && !loaded[0]->IsStopped());
  EXPECT_TRUE(loaded[1]->IsCompleted() && loaded[1]->GetProgress() == 1.0);
  EXPECT_TRUE(loaded[2]->IsStopped() && !loaded[2]->IsCompleted());
}

// What a run leaves for the next start: why it failed as a code with its arguments
// (any bytes a path may hold), how far a stopped run came, how long an encode took.
TEST(JobFile, NewerMembersRoundTripExactlyAndBadOnesReadAsUnknown) {
  clear_job_folder();
  JobManager manager;
  JobV3* job = manager.AddJob(new_record("/in.mp4", "/out.mp4"));
  JobFile& record = *job->GetJobFile();
  const JobReason reason{JobReason::kCannotCreate,
                         {"/out/a\nb\t\"c\" 日本 %2.mp4", "No space left on device"}};
  record.SetReason(reason);
  record.SetProgressReached(0.42134);
  record.SetEncodeSeconds(12.34);
  ASSERT_TRUE(record.Save());
  EXPECT_EQ(reload(job)->GetReason(), reason);
  EXPECT_DOUBLE_EQ(reload(job)->GetProgressReached(), 0.4213);
  EXPECT_DOUBLE_EQ(reload(job)->GetEncodeSeconds(), 12.3);
  // The English line fills each place once: an argument holding "%2" stays as it is.
  EXPECT_EQ(reason.English(), "Cannot create /out/a\nb\t\"c\" 日本 %2.mp4: No space left on device");
  EXPECT_EQ(JobReason({JobReason::kExitCode, {}}).English(), "");
  EXPECT_EQ(JobReason({"a-code-of-a-newer-program", {"x"}}).English(), "");

  // Written by hand or by a broken program: read as unknown, never as 0 or garbage.
  SimpleJson json;
  json.load_file(record.GetPath());
  json.set("ProgressReached", "0.4x");
  json.set("EncodeSeconds", "-5");
  json.set("ReasonArgs", "not a list");
  ASSERT_TRUE(json.save_file(record.GetPath()));
  EXPECT_EQ(reload(job)->GetProgressReached(), -1);
  EXPECT_EQ(reload(job)->GetEncodeSeconds(), -1);
  EXPECT_TRUE(reload(job)->GetReason().args.empty());
}
