#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFileInfo>
#include <random>
#include <set>

#include "jobs/JobManager.h"
#include "jobs/JobTestSupport.h"
#include "support/FifoWatch.h"
#include "support/TestEnvironment.h"
#include "text/StringUtil.h"
#include "text/TxtUtil.h"

TEST(JobFile, AHostileFolderLoadsExactlyTheGoodJobsAndLosesItsLeftovers) {
  clear_job_folder();
  const std::string folder = get_appjobfile_dir();
  std::vector<std::string> good;
  {
    JobManager before;
    for (int i = 0; i < 3; ++i) good.push_back(id_of(before.AddJob(new_record("/in/a.mp4", "/out/a.mp4"))));
  }
  const std::string sample = TxtUtil::read_text_file(folder + "/" + good[0] + ".jobfile");
  auto put = [&folder](const std::string& name, const std::string& text, bool bom = true) {
    QFile file(QString::fromStdString(folder + "/" + name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const std::string bytes = (bom ? "\xEF\xBB\xBF" : "") + text;
    ASSERT_EQ(file.write(bytes.data(), qint64(bytes.size())), qint64(bytes.size()));
  };
  auto link = [&folder](const std::string& target, const std::string& name) {
    ASSERT_TRUE(QFile::link(QString::fromStdString(target), QString::fromStdString(folder + "/" + name)));
  };
  const std::string deep = std::string(120000, '[') + std::string(120000, ']');
  put("nested-member.jobfile", "{\"JobID\":" + deep + ",\"Quality\":\"95\"}");
  put("nested-file.jobfile", deep);
  put("nested-objects.jobfile", [] {
    std::string text;
    for (int i = 0; i < 120000; ++i) text += "{\"a\":";
    return text + "\"x\"" + std::string(120000, '}');
  }());
  const std::string elsewhere = make_temp_folder("hostile-targets");
  FifoWatch linkedFifo(elsewhere + "/fifo"), fifo(folder + "/fifo.jobfile");
  ASSERT_TRUE(linkedFifo.made() && fifo.made());
  link(elsewhere + "/fifo", "fifo-link.jobfile");
  link("/dev/zero", "zero.jobfile");
  link(elsewhere + "/missing", "dangling.jobfile");
  std::mt19937 random(12);
  std::string noise(65536, '\0');
  for (char& c : noise) c = char(random());
  put("random.jobfile", noise, false);
  put("truncated.jobfile", sample.substr(0, sample.size() / 2));
  put("bool.jobfile", StringUtil::replace_all_copy(sample, "\"false\"", "false"));
  put("number.jobfile", StringUtil::replace_all_copy(sample, "\"95\"", "95"));
  put("array.jobfile", "[" + sample + "]");
  put("huge.jobfile", StringUtil::replace_all_copy(sample, "/in/a.mp4", std::string(10 << 20, 'x')));
  put("utf8.jobfile", StringUtil::replace_all_copy(sample, "/in/a.mp4", "/in/\xff\xfe.mp4"));
  put("nul.jobfile", StringUtil::replace_all_copy(sample, "/in/a.mp4", std::string("/in/a\0.mp4", 10)));
  put("empty.jobfile", "", false);
  put("bom.jobfile", "");
  // What a save killed before its rename leaves, and names that only look alike.
  const std::vector<std::string> stale = {good[0] + ".jobfile.AbCdEf", good[1] + ".jobfile.x1Y2z3"};
  const std::vector<std::string> kept = {"notes.jobfile.AbCdEf", good[0] + ".jobfile.AbCdEfG",
                                         good[0] + ".jobfile.Ab-dEf", "link.txt"};
  for (const std::string& name : stale) put(name, sample);
  for (const std::string& name : kept) put(name, sample);
  link(folder + "/link.txt", good[2] + ".jobfile.LinkEd");

  QElapsedTimer timer;
  timer.start();
  JobManager after;
  std::set<std::string> loaded;
  for (JobV3* job : after.LoadStoredJobs()) loaded.insert(id_of(job));
  EXPECT_LT(timer.elapsed(), 20000) << "loading stalled";
  EXPECT_EQ(loaded, std::set<std::string>(good.begin(), good.end()));
  EXPECT_FALSE(linkedFifo.readerWasBlocked() || fifo.readerWasBlocked());
  for (const std::string& name : stale)
    EXPECT_FALSE(QFile::exists(QString::fromStdString(folder + "/" + name)));
  for (const std::string& name : kept)
    EXPECT_TRUE(QFile::exists(QString::fromStdString(folder + "/" + name)));
  EXPECT_TRUE(QFileInfo(QString::fromStdString(folder + "/" + good[2] + ".jobfile.LinkEd")).isSymLink());
}
