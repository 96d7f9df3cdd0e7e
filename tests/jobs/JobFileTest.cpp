#include <gtest/gtest.h>

#include <QDir>
#include <regex>

#include "Util/AppConstants.h"
#include "Util/OSUtil.h"
#include "Util/SimpleJson.h"
#include "Util/StringUtil.h"
#include "Util/TxtUtil.h"
#include "jobs/JobManager.h"
#include "jobs/JobTestSupport.h"
#include "support/TestEnvironment.h"

namespace {
std::vector<std::string> values_of(const JobFile& r) {
  return {r.GetJobID(),
          r.GetGeneratedTime(),
          r.GetInputFile(),
          r.GetOutputFile(),
          r.GetQuality(),
          r.GetOutputCodec(),
          r.GetOutputFormat(),
          StringUtil::bool_to_str(r.GetIsCompleted()),
          StringUtil::bool_to_str(r.GetIsDeleted()),
          StringUtil::bool_to_str(r.GetIsStopped()),
          r.GetPath()};
}

std::string job_text(const std::string& stopped) {
  return R"({"JobID":"j","GeneratedTime":"t","InputFile":"i","OutputFile":"o","Quality":"90",)"
         R"("OutputCodec":"h264","OutputFormat":".mp4","IsCompleted":"false","IsDeleted":"false",)"
         R"("IsStopped":")" +
         stopped + "\"}";
}
}  // namespace

TEST(JobFile, SavesTenStringMembersAndLoadsThemBack) {
  clear_job_folder();
  JobFile record;
  record.Init("/videos/vidéo 日本.mp4", "/out/vidéo 日本_output.mp4", "95", "h264", ".mp4");
  EXPECT_EQ(record.GetJobID().size(), 36u);
  EXPECT_EQ(record.GetPath(), OSUtil::pathJoin(get_appjobfile_dir(), record.GetJobID() + ".jobfile"));
  EXPECT_TRUE(std::regex_match(record.GetGeneratedTime(), std::regex("[0-9]{8}_[0-9]{6}")));

  SimpleJson json;
  json.load_file(record.GetPath());
  EXPECT_EQ(json.keys(), (std::vector<std::string>{"JobID", "GeneratedTime", "InputFile", "OutputFile",
                                                   "Quality", "OutputCodec", "OutputFormat", "IsCompleted",
                                                   "IsDeleted", "IsStopped"}));
  // Flags are texts, never JSON booleans.
  EXPECT_NE(TxtUtil::read_text_file(record.GetPath()).find("\"IsStopped\": \"false\""), std::string::npos);

  record.SetIsCompleted(true);
  record.SetIsDeleted(true);
  JobFile loaded;
  loaded.Load(record.GetPath());
  EXPECT_EQ(values_of(loaded), values_of(record));
  EXPECT_EQ(loaded.GetInputFile(), "/videos/vidéo 日本.mp4");
}

TEST(JobFile, BrokenFilesThrowAndLeaveTheRecordAsItWas) {
  const std::string folder = make_temp_folder("broken");
  TxtUtil::write_text_file(folder + "/good.jobfile", job_text("false"));
  TxtUtil::write_text_file(folder + "/missing.jobfile",
                           StringUtil::replace_all_copy(job_text("false"), "Quality", "Q"));
  TxtUtil::write_text_file(folder + "/flag.jobfile", job_text("yes"));
  TxtUtil::write_text_file(folder + "/notjson.jobfile", "{\"JobID\": \"z\",");
  JobFile record;
  record.Load(folder + "/good.jobfile");
  auto message_of = [&](const char* name) {
    try {
      record.Load(folder + name);
    } catch (const std::string& message) {
      return message;
    }
    return std::string("no exception");
  };
  EXPECT_EQ(message_of("/missing.jobfile"), "SimpleJson::get: the key doesn't exist.");
  EXPECT_EQ(message_of("/flag.jobfile"), "StringUtil::str_to_bool,invalid str,only support {true,false}!");
  EXPECT_EQ(message_of("/notjson.jobfile"), "SimpleJson::get: the key doesn't exist.");
  EXPECT_EQ(record.GetJobID(), "j");
  EXPECT_EQ(record.GetPath(), folder + "/good.jobfile");
}

TEST(JobManagerLoading, RestartLoadsGoodJobFilesOldestFirstAndSkipsTheRest) {
  clear_job_folder();
  const std::string folder = get_appjobfile_dir();
  std::vector<std::string> ids;
  {
    JobManager before;  // the previous run of the program
    for (int i = 0; i < 3; ++i)
      ids.push_back(before.AddJob(new_record("/in.mp4", "/o.mp4"))->GetJobFile()->GetJobID());
    before.FindJob(ids[0])->SetIsDeleted(true);
    before.FindJob(ids[1])->Stop();
    before.FindJob(ids[2])->SetIsCompleted(true);
  }
  const int ages[] = {-30, -10, -20};
  for (int i = 0; i < 3; ++i) set_mtime(folder + "/" + ids[i] + ".jobfile", ages[i]);
  TxtUtil::write_text_file(folder + "/corrupt.jobfile", "{\"JobID\": ");
  TxtUtil::write_text_file(folder + "/badflag.jobfile", job_text("maybe"));
  TxtUtil::write_text_file(folder + "/notes.txt", job_text("false"));
  QDir().mkpath(QString::fromStdString(folder + "/x.jobfile"));

  JobManager after;
  const std::vector<JobV3*> loaded = after.LoadStoredJobs();
  QDir(QString::fromStdString(folder + "/x.jobfile")).removeRecursively();
  ASSERT_EQ(loaded.size(), 3u);
  EXPECT_EQ(after.GetAllJobCount(), 3);
  EXPECT_EQ(after.GetRunningJobCount(), 0);
  EXPECT_EQ(loaded[0]->GetJobFile()->GetJobID(), ids[0]);
  EXPECT_EQ(loaded[1]->GetJobFile()->GetJobID(), ids[2]);
  EXPECT_EQ(loaded[2]->GetJobFile()->GetJobID(), ids[1]);
  EXPECT_TRUE(loaded[0]->IsDeleted() && !loaded[0]->IsStopped());
  EXPECT_TRUE(loaded[1]->IsCompleted() && loaded[1]->GetProgress() == 1.0);
  EXPECT_TRUE(loaded[2]->IsStopped() && !loaded[2]->IsCompleted());
  EXPECT_NE(read_program_logs().find("skipped job file:" + folder + "/corrupt.jobfile"), std::string::npos);
}
