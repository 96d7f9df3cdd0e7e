#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDeadlineTimer>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QThreadPool>
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
    Util::ThreadInformationMessageBox::show_and_wait(
        [] { std::unique_ptr<QMessageBox>(VersionExpiredDialog::create())->exec(); });
    returned = true;
  });
  // Looked at for half a second before its button is pressed.
  QStringList seen;
  int sightings = 0;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || ++sightings < 5) return;
    seen << box->windowTitle() << box->defaultButton()->text() << (returned ? "returned" : "waiting");
    box->defaultButton()->click();
  });
  watch.start(100);
  for (QDeadlineTimer deadline(60000); !returned && !deadline.hasExpired();)
    QCoreApplication::processEvents();
  QApplication::removeTranslator(&chinese);
  EXPECT_EQ(seen, QStringList({QString::fromUtf8("版本过期提醒"), QString::fromUtf8("退出软件"), "waiting"}));
  EXPECT_TRUE(returned);
  worker.get();
}

TEST(InformationDialogs, MenuOpensOnALeftClickAndCopyLeavesTheDeviceId) {
  QStringList boxes;
  QObject guard;
  answer_modal_boxes(&guard,
                     [&boxes](const QString& title, const QString& text) { boxes << title + ":" + text; });
  Widget window;
  window.show();
  QStringList entries;
  QTimer look;
  QObject::connect(&look, &QTimer::timeout, [&entries] {
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
      for (QAction* action : menu->actions()) entries << action->text();
      menu->close();
    }
  });
  look.start(50);
  QTest::mouseClick(window.findChild<MyLabel*>(), Qt::LeftButton);  // returns once the menu has closed
  EXPECT_EQ(entries, QStringList({"Open Official Website", "Sign In", "DeviceID", "Customer Support", "About",
                                  "Language"}));
  // The window's start-up sequence must not reach the backends of later tests.
  QThreadPool::globalInstance()->waitForDone();

  ShowDeviceID dialog;
  QApplication::clipboard()->setText("something else");
  dialog.findChild<QPushButton*>("btnCopy")->click();
  EXPECT_EQ(QApplication::clipboard()->text(), QString::fromStdString(get_device_id()));
  EXPECT_EQ(boxes, QStringList("Information:Copied to the clipboard"));
  EXPECT_TRUE(
      AppMenu::support_text(false).contains(QString::fromStdString(ServerLog::setting("support_email"))));
  EXPECT_FALSE(AppMenu::support_text(false).contains("Wechat"));
  EXPECT_FALSE(AppMenu::support_text(true).contains("Email"));
}
