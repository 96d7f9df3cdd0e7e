#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QMovie>
#include <QTimer>

#include "probe/MediaInfoCache.h"
#include "support/MediaFixtures.h"
#include "support/TestEnvironment.h"
#include "ui/dialogs/WaitingLoadingFile.h"

namespace {

const int kGuardMs = 60000;

// exec() of the dialog; false when it had not returned by itself within the guard time.
bool returns_by_itself(WaitingLoadingFile& dialog) {
  bool timed_out = false;
  QTimer::singleShot(kGuardMs, &dialog, [&] {
    timed_out = true;
    dialog.done(QDialog::Rejected);
  });
  dialog.exec();
  return !timed_out;
}

}  // namespace

TEST(WaitingLoadingFile, ReturnsOnceTheProbeIsDoneHoweverItEndsAndOutlivesNothing) {
  const std::string folder = make_temp_folder("waiting");
  ClipSpec spec;
  spec.width = 320;
  spec.height = 240;
  spec.seconds = 1;
  const std::string clip = make_clip(folder, "clip.mp4", spec), gone = make_clip(folder, "gone.mp4", spec);
  ASSERT_FALSE(clip.empty() || gone.empty());
  {
    WaitingLoadingFile dialog(nullptr, clip);
    auto* gif = dialog.findChild<QLabel*>("label_gif");
    ASSERT_TRUE(gif != nullptr && gif->movie() != nullptr);
    EXPECT_TRUE(gif->movie()->isValid()) << gif->movie()->fileName().toStdString();
    EXPECT_TRUE(returns_by_itself(dialog));
  }

  // Cached, so the probe ends at once: its end arrives before exec() is even called.
  WaitingLoadingFile early(nullptr, clip);
  for (QDeadlineTimer deadline(kGuardMs); !early.IsProbeDone() && !deadline.hasExpired();)
    QApplication::processEvents(QEventLoop::AllEvents, 50);
  ASSERT_TRUE(early.IsProbeDone());
  EXPECT_TRUE(returns_by_itself(early));

  // Escape does not end the wait early; a failed probe ends it too.
  WaitingLoadingFile escaped(nullptr, folder + "/no-such-file.mp4");
  escaped.show();
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(&escaped, &escape);
  EXPECT_EQ(escaped.isVisible(), !escaped.IsProbeDone());
  EXPECT_TRUE(returns_by_itself(escaped));

  // Destroyed while its probe runs: the probe's end reaches nothing freed, and
  // still fills the cache for the caller.
  delete new WaitingLoadingFile(nullptr, gone);
  for (QDeadlineTimer deadline(kGuardMs);
       !MediaInfoCache::GetInstance().Contains(gone) && !deadline.hasExpired();)
    QApplication::processEvents(QEventLoop::AllEvents, 50);
  const std::optional<MediaInfo> probed = MediaInfoCache::GetInstance().Cached(gone);
  ASSERT_TRUE(probed.has_value()) << "the probe was dropped with its dialog";
  EXPECT_EQ(probed->width.Text(), "320");
}
