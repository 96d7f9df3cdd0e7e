#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <memory>

#include "Util/OSUtil.h"
#include "support/ModalBoxes.h"
#include "support/QtPrinters.h"
#include "ui/CountDownMsgBox.h"

namespace {

// ConfirmShutdown with act run on the box while it is open; the guard ends a box
// still open after a minute, so a countdown that never ends fails instead of hanging.
bool confirm(std::function<void(CountDownMsgBox*)> act, bool* ended_by_itself) {
  QObject scope;
  auto* poll = new QTimer(&scope);
  QObject::connect(poll, &QTimer::timeout, [&act, poll] {
    if (auto* box = qobject_cast<CountDownMsgBox*>(QApplication::activeModalWidget())) {
      poll->stop();
      if (act) act(box);
    }
  });
  poll->start(20);
  *ended_by_itself = true;
  QTimer::singleShot(60000, &scope, [ended_by_itself] {
    *ended_by_itself = false;
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->done(0);
  });
  return CountDownMsgBox::ConfirmShutdown(nullptr);
}

}  // namespace

TEST(CountDownMsgBox, ShowsSixtyFirstAndShutsDownOnlyWhenLeftAlone) {
  auto shutdowns = std::make_shared<int>(0);
  // Stays installed after the test: nothing in this program may reach the real one.
  OSUtil::setShutdownAction([shutdowns] { ++*shutdowns; });
  {
    CountDownMsgBox box(nullptr);
    box.show();
    EXPECT_EQ(box.text(), "All transcoding tasks have been completed,  60 seconds to shutdown");
    EXPECT_EQ(box.windowTitle(), "Kovadle");
    EXPECT_EQ(static_cast<QAbstractButton*>(box.defaultButton()), box.button(QMessageBox::Yes));
    EXPECT_EQ(box.button(QMessageBox::Yes)->text(), "Shutdown now!");
    EXPECT_EQ(box.button(QMessageBox::No)->text(), "Cancel shutdown!");
  }

  CountDownMsgBox::setTickIntervalMs(5);
  bool ended = false;
  EXPECT_TRUE(confirm(nullptr, &ended));
  EXPECT_TRUE(ended);

  // Slow ticks from here on: the answer must come from the user, not the countdown.
  CountDownMsgBox::setTickIntervalMs(1000);
  EXPECT_FALSE(confirm([](CountDownMsgBox* box) { box->button(QMessageBox::No)->click(); }, &ended));
  EXPECT_TRUE(ended);
  EXPECT_FALSE(confirm([](CountDownMsgBox* box) { box->close(); }, &ended));
  EXPECT_TRUE(ended);
  EXPECT_FALSE(confirm([](CountDownMsgBox* box) { box->escapeButton()->click(); }, &ended));
  EXPECT_TRUE(ended);

  // Asking is all it does.
  EXPECT_EQ(*shutdowns, 0);
}
