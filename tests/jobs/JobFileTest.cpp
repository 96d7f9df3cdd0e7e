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
