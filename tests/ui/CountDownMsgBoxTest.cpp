#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <memory>

#include "platform/OSUtil.h"
#include "support/QtPrinters.h"
#include "ui/dialogs/CountDownMsgBox.h"

namespace {

// ConfirmShutdown with act run on the box while it is open: 1 to shut down, 0 not,
// -1 when a guard had to end a box still open after a minute (instead of hanging).
int confirm(std::function<void(CountDownMsgBox*)> act) {
  QObject scope;
  auto* poll = new QTimer(&scope);
  QObject::connect(poll, &QTimer::timeout, [&act, poll] {
    if (auto* box = qobject_cast<CountDownMsgBox*>(QApplication::activeModalWidget())) {
      poll->stop();
      if (act) act(box);
    }
  });
  poll->start(20);
  bool guarded = false;
  QTimer::singleShot(60000, &scope, [&guarded] {
    guarded = true;
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->done(0);
  });
  const bool shut_down = CountDownMsgBox::ConfirmShutdown(nullptr);
  return guarded ? -1 : shut_down;
}

}  // namespace

TEST(CountDownMsgBox, ShowsSixtyFirstAndNoAnswerOfTheUserShutsDown) {
  auto shutdowns = std::make_shared<int>(0);
  // Stays installed after the test: nothing in this program may reach the real one.
  OSUtil::setShutdownAction([shutdowns] { ++*shutdowns; });
  {
    CountDownMsgBox box(nullptr);
    box.show();
    EXPECT_EQ(box.text(), "All transcoding tasks have been completed,  60 seconds to shutdown");
    EXPECT_EQ(static_cast<QAbstractButton*>(box.defaultButton()), box.button(QMessageBox::Yes));
  }

  // Running out is the window's test; here the answer must come from the user.
  CountDownMsgBox::setTickIntervalMs(1000);
  EXPECT_EQ(confirm([](CountDownMsgBox* box) { box->button(QMessageBox::No)->click(); }), 0);
  EXPECT_EQ(confirm([](CountDownMsgBox* box) { box->close(); }), 0);
  EXPECT_EQ(confirm([](CountDownMsgBox* box) { box->escapeButton()->click(); }), 0);
  // Asking is all it does.
  EXPECT_EQ(*shutdowns, 0);
}
