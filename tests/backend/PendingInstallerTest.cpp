#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAbstractButton>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTest>
#include <memory>

#include "BackendTestSupport.h"
#include "backend/PendingInstaller.h"
#include "platform/OSUtil.h"
#include "text/TxtUtil.h"
#include "ui/dialogs/NewVersionDialog.h"

namespace {

bool exists(const std::string& path) { return QFile::exists(QString::fromStdString(path)); }

}  // namespace

TEST(PendingInstaller, NewerInstallersAreOfferedTheRestCleanedUp) {
  // Record (nullptr: none), installer version, offered, installer kept.
  const std::tuple<const char*, const char*, bool, bool> cases[] = {
      {"1.2,false", "1.2", true, true},       {"1.2.0,true", "1.2.0", true, true},
      {"1.1.6,false", "1.1.6", false, false}, {nullptr, "1.1.6", false, false},
      {"1.2.0", "1.2.0", false, false},       {"1.2.0,yes", "1.2.0", false, false},
      {"1.3,false", nullptr, false, false}};
  for (const auto& [record, version, offered, kept] : cases) {
    const std::string folder = make_temp_folder("appdata");
    const std::string installer = PendingInstaller::installer_path(folder, version ? version : "1.2");
    if (version) write_installer(installer);
    if (record) TxtUtil::write_text_file(folder + "/installer_info.dat", record);
    const auto offer = PendingInstaller::check(folder, "1.1.6");
    const std::string label = record ? record : "no record";
    EXPECT_EQ(offer.has_value(), offered) << label;
    EXPECT_EQ(exists(installer), kept) << label;
    // A record is dropped with its installer, but waits for one still missing.
    EXPECT_EQ(exists(folder + "/installer_info.dat"), record && (kept || !version)) << label;
    if (offer) {
      EXPECT_EQ(offer->force, std::string(record).find("true") != std::string::npos) << label;
    }
  }
}

TEST(PendingInstaller, HostileRecordsAreRemovedAndNothingOutsideIsStartedOrDeleted) {
  int started = 0;
  PendingInstaller::set_launcher([&started](const std::string&) { return ++started > 0; });
  const std::string outside = make_temp_folder("outside") + "/script";
  write_installer(outside);
  const QString target = QString::fromStdString(outside);
  // A version that climbs out of the folder, a link to a script, a FIFO.
  for (const std::string kind : {"climb", "link", "fifo"}) {
    const std::string folder = make_temp_folder("appdata");
    const std::string installer = PendingInstaller::installer_path(folder, "1.2");
    QDir(QString::fromStdString(folder)).mkdir("installer_9");
    ASSERT_TRUE(kind != "link" || QFile::link(target, QString::fromStdString(installer)));
    ASSERT_TRUE(kind != "fifo" || ::mkfifo(installer.c_str(), 0700) == 0);
    const std::string climb = "9/../../" + OSUtil::getFileName(OSUtil::getFileDir(outside)) + "/script";
    TxtUtil::write_text_file(folder + "/installer_info.dat", (kind == "climb" ? climb : "1.2") + ",false");
    EXPECT_FALSE(PendingInstaller::check(folder, "1.1.6").has_value()) << kind;
    EXPECT_FALSE(exists(folder + "/installer_info.dat")) << kind;
    EXPECT_TRUE(exists(outside)) << kind;
  }
  // Swapped for a link while the question was open: not started, and start-up goes on.
  const PendingInstaller::Offer offer{"1.2", false,
                                      PendingInstaller::installer_path(make_temp_folder("appdata"), "1.2")};
  ASSERT_TRUE(QFile::link(target, QString::fromStdString(offer.installer_path)));
  EXPECT_FALSE(PendingInstaller::act_on_answer(offer, PendingInstaller::Install));
  EXPECT_EQ(started, 0);
  PendingInstaller::set_launcher({});
}

TEST(PendingInstaller, InstallStartsTheInstallerAndOnlyNotInstallKeepsTheProgram) {
  const std::string folder = make_temp_folder("appdata");
  const PendingInstaller::Offer offer{"1.2", false, PendingInstaller::installer_path(folder, "1.2")};
  write_installer(offer.installer_path);
  EXPECT_FALSE(PendingInstaller::act_on_answer(offer, PendingInstaller::NotInstall));
  EXPECT_TRUE(PendingInstaller::act_on_answer(offer, PendingInstaller::Exit));
  EXPECT_TRUE(PendingInstaller::act_on_answer(offer, -1));
  EXPECT_FALSE(exists(offer.installer_path + ".ran"));
  EXPECT_TRUE(PendingInstaller::act_on_answer(offer, PendingInstaller::Install));
  for (QDeadlineTimer deadline(30000); !exists(offer.installer_path + ".ran") && !deadline.hasExpired();)
    QTest::qWait(20);
  EXPECT_TRUE(exists(offer.installer_path + ".ran"));
  // One that cannot start leaves the program running.
  QFile::setPermissions(QString::fromStdString(offer.installer_path), QFile::ReadOwner | QFile::WriteOwner);
  EXPECT_FALSE(PendingInstaller::act_on_answer(offer, PendingInstaller::Install));

  std::unique_ptr<QMessageBox> forced(NewVersionDialog::create(nullptr, "1.2.0", "1.1.6", true));
  EXPECT_FALSE(forced->button(QMessageBox::Close)->isEnabled());
  EXPECT_TRUE(forced->button(QMessageBox::Ok)->isEnabled());
}
