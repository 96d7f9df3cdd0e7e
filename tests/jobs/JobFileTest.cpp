#include <gtest/gtest.h>

#include <QDir>
#include <memory>
#include <regex>

#include "Util/AppConstants.h"
#include "Util/OSUtil.h"
#include "Util/SimpleJson.h"
#include "Util/TxtUtil.h"
#include "jobs/JobFile.h"
#include "jobs/JobManager.h"
#include "jobs/JobTestSupport.h"
#include "support/TestEnvironment.h"

namespace {
const std::vector<std::string> kMembers = {"JobID",     "GeneratedTime", "InputFile",    "OutputFile",
                                           "Quality",   "OutputCodec",   "OutputFormat", "IsCompleted",
                                           "IsDeleted", "IsStopped"};

void write_file(const std::string& path, const std::string& text) { TxtUtil::write_text_file(path, text); }

std::string job_text(const std::string& id, const std::string& stopped = "false") {
  return "{\"JobID\":\"" + id +
         "\",\"GeneratedTime\":\"20240101_120000\",\"InputFile\":\"/in/a.mp4\",\"OutputFile\":\"/out/"
         "a_output.mp4\",\"Quality\":\"90\",\"OutputCodec\":\"h264\",\"OutputFormat\":\".mp4\","
         "\"IsCompleted\":\"false\",\"IsDeleted\":\"false\",\"IsStopped\":\"" +
         stopped + "\"}";
}
}  // namespace

TEST(JobFile, SavedRecordHasTenStringMembersAndLoadsBack) {
  clear_job_folder();
  JobFile record;
  record.Init("/videos/vidéo ü 日本.mp4", "/out/vidéo ü 日本_output.mp4", "95", "h264", ".mp4");

  EXPECT_EQ(record.GetJobID().size(), 36u);
  EXPECT_EQ(record.GetJobID().find_first_of("{}"), std::string::npos);
  EXPECT_EQ(record.GetPath(), OSUtil::pathJoin(get_appjobfile_dir(), record.GetJobID() + ".jobfile"));
  EXPECT_TRUE(std::regex_match(record.GetGeneratedTime(), std::regex("[0-9]{8}_[0-9]{6}")));

  SimpleJson json;
  json.load_file(record.GetPath());
  EXPECT_EQ(json.keys(), kMembers);
  EXPECT_EQ(json.get("InputFile"), "/videos/vidéo ü 日本.mp4");
  // Flags are texts, never JSON booleans.
  EXPECT_EQ(json.get("IsCompleted"), "false");
  EXPECT_NE(TxtUtil::read_text_file(record.GetPath()).find("\"IsStopped\": \"false\""), std::string::npos);

  record.SetIsCompleted(true);
  record.SetIsDeleted(true);
  JobFile loaded;
  loaded.Load(record.GetPath());
  EXPECT_EQ(loaded.GetJobID(), record.GetJobID());
  EXPECT_EQ(loaded.GetGeneratedTime(), record.GetGeneratedTime());
  EXPECT_EQ(loaded.GetInputFile(), record.GetInputFile());
  EXPECT_EQ(loaded.GetOutputFile(), record.GetOutputFile());
  EXPECT_EQ(loaded.GetQuality(), "95");
  EXPECT_EQ(loaded.GetOutputCodec(), "h264");
  EXPECT_EQ(loaded.GetOutputFormat(), ".mp4");
  EXPECT_TRUE(loaded.GetIsCompleted());
  EXPECT_TRUE(loaded.GetIsDeleted());
  EXPECT_FALSE(loaded.GetIsStopped());
  EXPECT_EQ(loaded.GetPath(), record.GetPath());
}

TEST(JobFile, BrokenFilesThrowAndLeaveTheRecordAlone) {
  const std::string folder = make_temp_folder("broken");
  const std::string good = folder + "/good.jobfile";
  write_file(good, job_text("good-id"));
  JobFile record;
  record.Load(good);

  std::string missing = job_text("x");
  missing.replace(missing.find("\"Quality\""), 15, "\"Qualit\":\"90\"");
  write_file(folder + "/missing.jobfile", missing);
  write_file(folder + "/flag.jobfile", job_text("y", "yes"));
  write_file(folder + "/notjson.jobfile", "{\"JobID\": \"z\",");

  auto message_of = [&record](const std::string& path) {
    try {
      record.Load(path);
    } catch (const std::string& message) {
      return message;
    }
    return std::string("no exception");
  };
  EXPECT_EQ(message_of(folder + "/missing.jobfile"), "SimpleJson::get: the key doesn't exist.");
  EXPECT_EQ(message_of(folder + "/flag.jobfile"),
            "StringUtil::str_to_bool,invalid str,only support {true,false}!");
  EXPECT_EQ(message_of(folder + "/notjson.jobfile"), "SimpleJson::get: the key doesn't exist.");
  EXPECT_EQ(record.GetJobID(), "good-id");
  EXPECT_EQ(record.GetPath(), good);
}

TEST(JobFile, ListsOnlyJobFilesOldestFirst) {
  const std::string folder = make_temp_folder("listing");
  // Name order and age order differ on purpose.
  write_file(folder + "/b.jobfile", job_text("b"));
  write_file(folder + "/c.jobfile", job_text("c"));
  write_file(folder + "/a.jobfile", job_text("a"));
  write_file(folder + "/notes.txt", "hello");
  QDir().mkpath(QString::fromStdString(folder + "/x.jobfile"));
  set_mtime(folder + "/c.jobfile", -300);
  set_mtime(folder + "/a.jobfile", -200);
  set_mtime(folder + "/b.jobfile", -100);

  const std::vector<std::string> expected = {folder + "/c.jobfile", folder + "/a.jobfile",
                                             folder + "/b.jobfile"};
  EXPECT_EQ(JobFile::ListJobFiles(folder), expected);
}

TEST(JobManagerLoading, SkipsUnreadableFilesAndKeepsEveryOtherJob) {
  clear_job_folder();
  const std::string folder = get_appjobfile_dir();
  std::vector<std::string> ids;
  {
    // A first run of the program: three jobs in three different states.
    JobManager first;
    for (int i = 0; i < 3; ++i)
      ids.push_back(first.AddJob(new_record("/in/" + std::to_string(i) + ".mp4", "/out/o.mp4"))
                        ->GetJobFile()
                        ->GetJobID());
    first.FindJob(ids[0])->SetIsDeleted(true);
    first.FindJob(ids[1])->Stop();
    first.FindJob(ids[2])->SetIsCompleted(true);
  }
  set_mtime(folder + "/" + ids[0] + ".jobfile", -30);
  set_mtime(folder + "/" + ids[1] + ".jobfile", -10);
  set_mtime(folder + "/" + ids[2] + ".jobfile", -20);
  write_file(folder + "/corrupt.jobfile", "{\"JobID\": ");
  write_file(folder + "/badflag.jobfile", job_text("bad", "maybe"));
  write_file(folder + "/notes.txt", job_text("notes"));
  QDir().mkpath(QString::fromStdString(folder + "/x.jobfile"));

  JobManager restarted;
  const std::vector<JobV3*> loaded = restarted.LoadStoredJobs();
  ASSERT_EQ(loaded.size(), 3u);
  EXPECT_EQ(restarted.GetAllJobCount(), 3);
  EXPECT_EQ(restarted.GetRunningJobCount(), 0);
  EXPECT_EQ(loaded[0]->GetJobFile()->GetJobID(), ids[0]);
  EXPECT_EQ(loaded[1]->GetJobFile()->GetJobID(), ids[2]);
  EXPECT_EQ(loaded[2]->GetJobFile()->GetJobID(), ids[1]);
  EXPECT_TRUE(loaded[0]->IsDeleted());
  EXPECT_FALSE(loaded[0]->IsStopped());
  EXPECT_TRUE(loaded[1]->IsCompleted());
  EXPECT_EQ(loaded[1]->GetProgress(), 1.0);
  EXPECT_TRUE(loaded[2]->IsStopped());
  EXPECT_FALSE(loaded[2]->IsCompleted());
  QDir(QString::fromStdString(folder + "/x.jobfile")).removeRecursively();
}
