#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMovie>
#include <QTimer>
#include <algorithm>
#include <vector>

#include "probe/MediaInfoCache.h"
#include "support/MediaFixtures.h"
#include "support/TestEnvironment.h"
#include "ui/dialogs/WaitingLoadingFile.h"

namespace {

const int kGuardMs = 60000;

// exec() of the dialog; false when it had not returned by itself within the guard time.
bool returns_by_itself(WaitingLoadingFile& dialog) {
  bool timed_out = false;
  // Goes with this call: a guard left running with the dialog would later write
  // into this call's gone frame.
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, &dialog, [&] {
    timed_out = true;
    dialog.done(QDialog::Rejected);
  });
  guard.start(kGuardMs);
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
  const std::string clip = make_clip(folder, "clip.mp4", spec),
                    gone_clip = make_clip(folder, "gone.mp4", spec);
  ASSERT_FALSE(clip.empty() || gone_clip.empty());
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

  // Destroyed while their probes run or before they even started (more dialogs than
  // probes at once): the probes' ends reach nothing freed, and still fill the cache
  // for the callers.
  std::vector<std::string> gone{gone_clip};
  for (int copy = 1; copy <= WaitingLoadingFile::kProbesAtOnce + 1; ++copy) {
    gone.push_back(folder + "/gone" + std::to_string(copy) + ".mp4");
    ASSERT_TRUE(QFile::copy(QString::fromStdString(gone_clip), QString::fromStdString(gone.back())));
  }
  for (const std::string& path : gone) delete new WaitingLoadingFile(nullptr, path);
  const auto all_cached = [&gone] {
    return std::all_of(gone.begin(), gone.end(),
                       [](const std::string& path) { return MediaInfoCache::GetInstance().Contains(path); });
  };
  for (QDeadlineTimer deadline(kGuardMs); !all_cached() && !deadline.hasExpired();)
    QApplication::processEvents(QEventLoop::AllEvents, 50);
  for (const std::string& path : gone) {
    const std::optional<MediaInfo> probed = MediaInfoCache::GetInstance().Cached(path);
    ASSERT_TRUE(probed.has_value()) << "the probe was dropped with its dialog: " << path;
    EXPECT_EQ(probed->width.Text(), "320");
  }
}
