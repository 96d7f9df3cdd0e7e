#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QMessageBox>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <memory>

#include "TestEnvironment.h"
#include "Util/OSUtil.h"
#include "Util/TxtUtil.h"
#include "backend/NewVersionDialog.h"
#include "backend/PendingInstaller.h"

namespace {

bool exists(const std::string& path) { return QFile::exists(QString::fromStdString(path)); }

// An "installer" that only leaves a marker file next to itself.
void write_installer(const std::string& path) {
  QFile script(QString::fromStdString(path));
  ASSERT_TRUE(script.open(QIODevice::WriteOnly));
  script.write(("#!/bin/sh\necho installed > '" + path + ".ran'\n").c_str());
  script.close();
  script.setPermissions(script.permissions() | QFile::ExeOwner);
}

}  // namespace

TEST(PendingInstaller, NewerInstallersAreOfferedTheRestCleanedUp) {
  struct Case {
    const char* record;  // nullptr: no record file
    const char* installer_version;
    bool offered;
    bool kept;  // installer and record still there afterwards
  };
  const Case cases[] = {
      {"1.2,false", "1.2", true, true},       {"1.2.0,true", "1.2.0", true, true},
      {"1.1.6,false", "1.1.6", false, false}, {"1.0.9,true", "1.0.9", false, false},
      {nullptr, "1.1.6", false, false},       {"1.2.0", "1.2.0", false, false},
      {"1.2.0,yes", "1.2.0", false, false},   {"", "1.2.0", false, true},
  };
  for (const Case& c : cases) {
    const std::string folder = make_temp_folder("appdata");
    const std::string record = folder + "/installer_info.dat";
    const std::string installer = PendingInstaller::installer_path(folder, c.installer_version);
    write_installer(installer);
    if (c.record != nullptr) TxtUtil::write_text_file(record, c.record);
    const auto offer = PendingInstaller::check(folder, "1.1.6");
    const std::string label = c.record == nullptr ? "no record" : c.record;
    EXPECT_EQ(offer.has_value(), c.offered) << label;
    EXPECT_EQ(exists(installer), c.kept || c.offered) << label;
    if (offer) {
      EXPECT_EQ(offer->installer_path, installer);
      EXPECT_EQ(offer->force, std::string(c.record).find("true") != std::string::npos) << label;
    }
  }
  // The record stays while its installer is missing (an unfinished download, say).
  const std::string folder = make_temp_folder("appdata");
  TxtUtil::write_text_file(folder + "/installer_info.dat", "1.3,false");
  EXPECT_FALSE(PendingInstaller::check(folder, "1.1.6").has_value());
  EXPECT_TRUE(exists(folder + "/installer_info.dat"));
  EXPECT_EQ(PendingInstaller::installer_path("/d", "1.2"), "/d/installer_1.2");
}

TEST(PendingInstaller, AnswersEndTheProgramExceptNotInstall) {
  const std::string folder = make_temp_folder("appdata");
  const PendingInstaller::Offer offer{"1.2", false, PendingInstaller::installer_path(folder, "1.2")};
  write_installer(offer.installer_path);
  EXPECT_FALSE(PendingInstaller::act_on_answer(offer, PendingInstaller::NotInstall));
  EXPECT_TRUE(PendingInstaller::act_on_answer(offer, PendingInstaller::Exit));
  EXPECT_TRUE(PendingInstaller::act_on_answer(offer, -1));
  EXPECT_FALSE(exists(offer.installer_path + ".ran"));

  EXPECT_TRUE(PendingInstaller::act_on_answer(offer, PendingInstaller::Install));
  for (QDeadlineTimer deadline(30000); !exists(offer.installer_path + ".ran") && !deadline.hasExpired();)
    QThread::msleep(20);
  EXPECT_TRUE(exists(offer.installer_path + ".ran"));

  // An installer that cannot start does not end the program.
  QFile::setPermissions(QString::fromStdString(offer.installer_path), QFile::ReadOwner | QFile::WriteOwner);
  EXPECT_FALSE(PendingInstaller::act_on_answer(offer, PendingInstaller::Install));
}

TEST(PendingInstaller, OfferBoxOnlyLetsAForcedInstallerBeInstalledOrTheProgramLeft) {
  std::unique_ptr<QMessageBox> forced(NewVersionDialog::create(nullptr, "1.2.0", "1.1.6", true));
  EXPECT_EQ(forced->windowTitle(), "Kovadle - Found new version!");
  EXPECT_EQ(forced->text(),
            "Do you want to install the new version?\ndownloaded new version:1.2.0, Current version:1.1.6");
  EXPECT_TRUE(forced->button(QMessageBox::Ok)->isEnabled());
  EXPECT_FALSE(forced->button(QMessageBox::Close)->isEnabled());
  EXPECT_EQ(forced->button(QMessageBox::Close)->text(), "Not install");

  // Not install, then Escape, on the box ask() shows.
  for (const bool escape : {false, true}) {
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&answer, escape] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr) return;
      answer.stop();
      if (escape) {
        QTest::keyClick(box, Qt::Key_Escape);
      } else {
        box->button(QMessageBox::Close)->click();
      }
    });
    answer.start(50);
    EXPECT_EQ(NewVersionDialog::ask(nullptr, "1.2", "1.1.6", false),
              escape ? PendingInstaller::Exit : PendingInstaller::NotInstall);
  }
}
