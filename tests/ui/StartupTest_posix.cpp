#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "support/TestEnvironment.h"
#include "ui/PreconditionCheck.h"

TEST(Startup, ToolsMissingInsideBinAreNamedInOrderAndADanglingLinkCountsAsMissing) {
  const QString dir = QString::fromStdString(make_temp_folder("app"));
  QDir(dir).mkdir("bin");
  QFile::link(dir + "/bin/no-such-ffmpeg", dir + "/bin/encoder");
  EXPECT_EQ(
      missing_file_messages(dir.toStdString()),
      (std::vector<std::string>{"encoder not found in bin folder, Kovadle will crash when transcoding!",
                                "mediainfo not found in bin folder, Kovadle will crash when transcoding!"}));
}
