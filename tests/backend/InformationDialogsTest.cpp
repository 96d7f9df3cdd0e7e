#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDeadlineTimer>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <atomic>
#include <future>
#include <memory>

#include "ModalBoxes.h"
#include "QtPrinters.h"
#include "Util/AppConstants.h"
#include "app/InterfaceTranslation.h"
#include "backend/ServerLog.h"
#include "backend/VersionExpiredDialog.h"
#include "ui/AppMenu.h"
#include "ui/MyLabel.h"
#include "ui/ShowDeviceID.h"
#include "ui/ThreadInformationMessageBox.h"
#include "ui/Widget.h"

TEST(InformationDialogs, WorkerGoesOnOnlyAfterTheExpiredNoticeIsDismissed) {
  QTranslator chinese;
  ASSERT_TRUE(load_interface_translation(chinese, "cn"));
  QApplication::installTranslator(&chinese);
  std::atomic<bool> returned{false};
  auto worker = std::async(std::launch::async, [&returned] {
    Util::ThreadInformationMessageBox::show_and_wait([] {
      std::unique_ptr<QMessageBox> box(VersionExpiredDialog::create());
      box->exec();
    });
    returned = true;
  });

  // Looked at for a while before its button is pressed.
  QString title, button, text;
  bool returned_while_shown = true;
  int sightings = 0;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || ++sightings < 5) return;
    title = box->windowTitle();
    button = box->defaultButton()->text();
    text = box->text();
    returned_while_shown = returned;
    box->defaultButton()->click();
  });
  watch.start(100);
  for (QDeadlineTimer deadline(60000); !returned && !deadline.hasExpired();)
    QCoreApplication::processEvents();
  QApplication::removeTranslator(&chinese);

  EXPECT_TRUE(returned);
  EXPECT_FALSE(returned_while_shown);
  EXPECT_EQ(title, QString::fromUtf8("版本过期提醒"));
  EXPECT_EQ(button, QString::fromUtf8("退出软件"));
  EXPECT_TRUE(text.contains("<a href=\"" + QString::fromStdString(get_official_site()) + "\">"))
      << text.toStdString();
  worker.get();
}

TEST(InformationDialogs, MenuOpensOnALeftClickWithItsEntriesInOrder) {
  QObject guard;
  answer_modal_boxes(&guard, [](const QString&, const QString&) {});
  Widget window;
  window.show();
  auto* label = window.findChild<MyLabel*>();
  ASSERT_NE(label, nullptr);

  QStringList entries;
  int menus = 0;
  QTimer look;
  QObject::connect(&look, &QTimer::timeout, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) return;
    ++menus;
    for (QAction* action : menu->actions()) entries << action->text();
    menu->close();
  });
  look.start(50);
  QTest::mousePress(label, Qt::RightButton);
  QTest::mouseRelease(label, Qt::RightButton);
  QTest::qWait(300);
  EXPECT_EQ(menus, 0);
  QTest::mousePress(label, Qt::LeftButton);  // returns once the menu has closed
  QTest::mouseRelease(label, Qt::LeftButton);
  EXPECT_EQ(menus, 1);
  EXPECT_EQ(entries, QStringList({"Open Official Website", "Sign In", "DeviceID", "Customer Support", "About",
                                  "Language"}));
}

TEST(InformationDialogs, CopyLeavesTheDeviceIdOnTheClipboardAndSupportNamesOneContact) {
  QStringList boxes;
  QObject guard;
  answer_modal_boxes(&guard,
                     [&boxes](const QString& title, const QString& text) { boxes << title + ":" + text; });
  ShowDeviceID dialog;
  QApplication::clipboard()->setText("something else");
  dialog.findChild<QPushButton*>("btnCopy")->click();
  EXPECT_EQ(QApplication::clipboard()->text(), QString::fromStdString(get_device_id()));
  EXPECT_EQ(boxes, QStringList("Information:Copied to the clipboard"));

  const QString email =
      "Support Email: " + QString::fromStdString(ServerLog::setting("support_email")) + "\n";
  const QString wechat =
      "Support Wechat: " + QString::fromStdString(ServerLog::setting("support_wechat")) + "\n";
  EXPECT_TRUE(AppMenu::support_text(false).contains(email));
  EXPECT_FALSE(AppMenu::support_text(false).contains("Wechat"));
  EXPECT_TRUE(AppMenu::support_text(true).contains(wechat));
  EXPECT_FALSE(AppMenu::support_text(true).contains("Email"));
}
