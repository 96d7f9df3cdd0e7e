#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QMovie>
#include <QThreadPool>
#include <QTimer>

#include "probe/MediaInfoCache.h"
#include "support/MediaFixtures.h"
#include "support/TestEnvironment.h"
#include "ui/WaitingLoadingFile.h"

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

std::string small_clip(const std::string& folder, const std::string& name) {
  ClipSpec spec;
  spec.width = 320;
  spec.height = 240;
  spec.seconds = 1;
  return make_clip(folder, name, spec);
}

}  // namespace

TEST(WaitingLoadingFile, ReturnsOnceTheProbeIsDoneHoweverFastItEnds) {
  const std::string folder = make_temp_folder("waiting");
  const std::string clip = small_clip(folder, "clip.mp4");
  ASSERT_FALSE(clip.empty());
  {
    WaitingLoadingFile dialog(nullptr, clip);
    auto* gif = dialog.findChild<QLabel*>("label_gif");
    ASSERT_NE(gif, nullptr);
    ASSERT_NE(gif->movie(), nullptr);
    EXPECT_TRUE(gif->movie()->isValid()) << gif->movie()->fileName().toStdString();
    EXPECT_EQ(dialog.size(), QSize(481, 357));
    EXPECT_TRUE(returns_by_itself(dialog));
    EXPECT_TRUE(dialog.IsProbeDone());
  }
  // The probe filled the cache for the caller.
  EXPECT_EQ(MediaInfoCache::GetInstance().GetMediaInfo(clip).at("Width"), "320");

  WaitingLoadingFile missing(nullptr, folder + "/no-such-file.mp4");
  EXPECT_TRUE(returns_by_itself(missing));

  // Cached, so the probe ends at once: its end arrives before exec() is even called.
  WaitingLoadingFile early(nullptr, clip);
  for (QDeadlineTimer deadline(kGuardMs); !early.IsProbeDone() && !deadline.hasExpired();)
    QApplication::processEvents(QEventLoop::AllEvents, 50);
  ASSERT_TRUE(early.IsProbeDone());
  EXPECT_TRUE(returns_by_itself(early));

  // Escape does not end the wait early.
  WaitingLoadingFile escaped(nullptr, folder + "/another-missing.mp4");
  escaped.show();
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(&escaped, &escape);
  EXPECT_EQ(escaped.isVisible(), !escaped.IsProbeDone());
  EXPECT_TRUE(returns_by_itself(escaped));
}

TEST(WaitingLoadingFile, DestroyedWhileTheProbeRunsCrashesNothing) {
  const std::string folder = make_temp_folder("waiting-gone");
  const std::string clip = small_clip(folder, "gone.mp4");
  ASSERT_FALSE(clip.empty());
  delete new WaitingLoadingFile(nullptr, clip);
  ASSERT_TRUE(QThreadPool::globalInstance()->waitForDone(kGuardMs));
  QApplication::processEvents();
  EXPECT_EQ(MediaInfoCache::GetInstance().GetMediaInfo(clip).at("Width"), "320");
}
