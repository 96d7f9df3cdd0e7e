#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QThreadPool>
#include <QTimer>
#include <atomic>
#include <future>
#include <memory>

#include "ModalBoxes.h"
#include "QtPrinters.h"
#include "backend/ServerLog.h"
#include "ui/AppMenu.h"
#include "ui/MyLabel.h"
#include "ui/ThreadInformationMessageBox.h"
#include "ui/Widget.h"
#include "ui/dialogs/VersionExpiredDialog.h"

TEST(InformationDialogs, WorkerGoesOnOnlyAfterTheExpiredNoticeIsDismissed) {
  std::atomic<bool> returned{false};
  auto worker = std::async(std::launch::async, [&returned] {
    Util::ThreadInformationMessageBox::show_and_wait(
        [] { std::unique_ptr<QMessageBox>(VersionExpiredDialog::create())->exec(); });
    returned = true;
  });
  // Looked at for half a second before its button is pressed: the worker still waits.
  int sightings = 0;
  bool waited = false;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || ++sightings < 5) return;
    waited = !returned;
    box->defaultButton()->click();
  });
  watch.start(100);
  for (QDeadlineTimer deadline(60000); !returned && !deadline.hasExpired();)
    QCoreApplication::processEvents();
  EXPECT_TRUE(waited);
  EXPECT_TRUE(returned);
  worker.get();
}

TEST(InformationDialogs, MenuOpensOnALeftClickAndSupportShowsTheConfiguredContact) {
  QObject guard;
  answer_modal_boxes(&guard, [](const QString&, const QString&) {});
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
  // The queue's own entry first, apart from the rest.
  EXPECT_EQ(entries, QStringList({"Pause all", "", "Open Official Website", "Sign In", "DeviceID",
                                  "Customer Support", "About", "Language"}));
  // The window's start-up sequence must not reach the backends of later tests.
  QThreadPool::globalInstance()->waitForDone();

  // The support contacts shown are the configured ones.
  EXPECT_TRUE(
      AppMenu::support_text(false).contains(QString::fromStdString(ServerLog::setting("support_email"))));
}
