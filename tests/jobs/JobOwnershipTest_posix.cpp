// Job lock files as a crash, a power loss or a hostile hand leaves them, and a live
// owner's lock as other processes check it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QSysInfo>
#include <atomic>
#include <thread>

#include "jobs/JobManager.h"
#include "jobs/JobOwnership.h"
#include "jobs/JobTestSupport.h"
#include "platform/OSUtil.h"
#include "support/FifoWatch.h"
#include "support/TestEnvironment.h"
#include "text/TxtUtil.h"

namespace {

void write_bytes(const std::string& path, const std::string& bytes) {
  QFile file(QString::fromStdString(path));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  ASSERT_EQ(file.write(bytes.data(), qint64(bytes.size())), qint64(bytes.size()));
}

// What this process writes as a holder, with another pid.
std::string holder_text(int64_t pid) {
  return std::to_string(pid) + "\n" + OSUtil::processName(getpid()) + "\n" +
         QSysInfo::machineHostName().toStdString() + "\n";
}

int64_t ended_pid() {
  QProcess child;
  child.start("/bin/true", QStringList());
  child.waitForFinished(10000);
  return child.processId() > 0 ? child.processId() : 999999;
}

}  // namespace

TEST(JobOwnership, ABrokenLockHoldsNoJobForLongAndNeverBlocks) {
  clear_job_folder();
  const std::string folder = get_appjobfile_dir();
  std::vector<std::string> ids;
  {
    JobManager before;
    for (int i = 0; i < 10; ++i)
      ids.push_back(id_of(before.AddJob(new_record("/in/a.mp4", "/out/" + std::to_string(i) + ".mp4"))));
  }
  const auto lock = [&](int i) { return JobOwnership::LockPath(folder, ids[i]); };
  // A believable holder (this very process) reached through a link is no lock.
  const std::string elsewhere = make_temp_folder("lock-targets");
  write_bytes(elsewhere + "/held.lock", holder_text(getpid()));
  ASSERT_TRUE(QFile::link(QString::fromStdString(elsewhere + "/held.lock"), QString::fromStdString(lock(0))));
  ASSERT_TRUE(QDir().mkpath(QString::fromStdString(lock(1))));
  ASSERT_TRUE(QDir().mkpath(QString::fromStdString(lock(2))));
  write_bytes(lock(2) + "/inside", "not ours to delete");
  FifoWatch fifo(lock(3));
  ASSERT_TRUE(fifo.made());
  write_bytes(lock(4), "\x89PNG garbage\n\xff\xfe");
  write_bytes(lock(5), "");
  write_bytes(lock(6), std::string(4096, '\0'));  // what a power loss leaves
  write_bytes(lock(7), holder_text(ended_pid()));
  write_bytes(lock(8), "1\nsystemd\nanother-host\n");
  // A live holder: this process, as another manager would be.
  JobOwnership holder(folder, ids[9]);
  ASSERT_TRUE(holder.Take());

  QElapsedTimer timer;
  timer.start();
  JobManager after;
  after.LoadStoredJobs();
  EXPECT_LT(timer.elapsed(), 10000) << "loading waited on a lock";
  for (int i = 0; i < 9; ++i) {
    JobV3* job = after.FindJob(ids[i]);
    ASSERT_NE(job, nullptr);
    EXPECT_FALSE(job->IsElsewhere()) << i;
    EXPECT_TRUE(job->GetJobFile()->TakeOwnership()) << i;
    // Replaced by a lock of its own: a regular file naming this process.
    EXPECT_TRUE(QFileInfo(QString::fromStdString(lock(i))).isFile() &&
                !QFileInfo(QString::fromStdString(lock(i))).isSymLink())
        << i;
    EXPECT_TRUE(JobOwnership::IsHeldElsewhere(folder, ids[i])) << i;
  }
  EXPECT_FALSE(fifo.readerWasBlocked());
  EXPECT_EQ(TxtUtil::read_text_file(elsewhere + "/held.lock"), holder_text(getpid()));
  // The folder that held a file was set aside whole, not emptied.
  const QStringList aside = QDir(QString::fromStdString(folder))
                                .entryList({QString::fromStdString(ids[2] + ".lock.broken-*")}, QDir::Dirs);
  ASSERT_EQ(aside.size(), 1);
  EXPECT_EQ(TxtUtil::read_text_file(folder + "/" + aside[0].toStdString() + "/inside"), "not ours to delete");

  // The live one is believed, until its file breaks: the next refresh lets the job go.
  JobV3* held = after.FindJob(ids[9]);
  EXPECT_TRUE(held->IsElsewhere() && !held->GetJobFile()->TakeOwnership());
  holder.Release();
  write_bytes(lock(9), std::string(64, '\0'));
  after.PollElsewhere();
  EXPECT_FALSE(held->IsElsewhere());
  EXPECT_TRUE(held->GetJobFile()->TakeOwnership());
}

TEST(JobOwnership, ALiveLockNeverAgesAndCheckingItNeverTakesIt) {
  clear_job_folder();
  const std::string folder = get_appjobfile_dir();
  const std::string id = OSUtil::createGuid(), other = OSUtil::createGuid();
  JobOwnership owner(folder, id);
  ASSERT_TRUE(owner.Take());
  // What a lock names, as QLockFile writes it: pid, program, host.
  const std::string text = TxtUtil::read_text_file(JobOwnership::LockPath(folder, id));
  EXPECT_EQ(text.rfind(holder_text(getpid()), 0), 0u) << text;
  // An encode may take hours: a live owner's lock does not age.
  set_mtime(JobOwnership::LockPath(folder, id), -3 * 3600);
  JobOwnership late(folder, id);
  EXPECT_FALSE(late.Take());
  EXPECT_TRUE(JobOwnership::IsHeldElsewhere(folder, id));

  // Others check a lock all the time; the owner taking it meanwhile must never fail.
  JobOwnership busy(folder, other);
  std::atomic<bool> stop{false};
  std::atomic<int> checks{0};
  std::thread checker([&] {
    for (; !stop; ++checks) JobOwnership::IsHeldElsewhere(folder, other);
  });
  int refused = 0;
  for (int i = 0; i < 300; ++i) {
    refused += !busy.Take();
    busy.Release();
  }
  stop = true;
  checker.join();
  EXPECT_EQ(refused, 0) << "checks: " << checks;
}
