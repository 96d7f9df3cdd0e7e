#include <gtest/gtest.h>
#include <windows.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <algorithm>
#include <map>

#include "platform/OSDrives_win.h"
#include "platform/OSPlatform.h"
#include "platform/OSUtil.h"
#include "support/MediaFixtures.h"
#include "support/TestEnvironment.h"

TEST(OSUtilWindowsPaths, DriveLettersAndBackslashes) {
  EXPECT_EQ(OSUtil::nativeSeparator(), '\\');
  EXPECT_EQ(OSUtil::pathJoin("C:", "Kovadle_Output"), "C:\\Kovadle_Output");
  EXPECT_EQ(OSUtil::pathJoin("D:\\", "v"), "D:\\v");
  EXPECT_EQ(OSUtil::getFileName("D:\\My Videos.old\\clip"), "clip");
  EXPECT_EQ(OSUtil::getFileDir("D:\\My Videos.old\\clip"), "D:\\My Videos.old");
  EXPECT_EQ(OSUtil::getFileDir("D:\\clip.mp4"), "D:");
  EXPECT_EQ(OSUtil::getFileExtension("D:\\My Videos.old\\clip"), "");
  EXPECT_EQ(OSUtil::addOutputSuffix("D:\\My Videos.old\\clip.MKV"), "D:\\My Videos.old\\clip_output.MKV");
  EXPECT_EQ(OSUtil::addOutputSuffix("D:\\My Videos.old\\clip"), "D:\\My Videos.old\\clip_output");

  // The program's own folder and the tools in it come back with backslashes.
  const std::string app = OSUtil::getAppDir();
  ASSERT_GE(app.size(), 3u);
  EXPECT_EQ(app.substr(1, 2), ":\\") << app;
  EXPECT_EQ(app.find('/'), std::string::npos) << app;
  EXPECT_TRUE(OSUtil::isFileExist(OSUtil::pathJoin(OSUtil::pathJoin(app, "bin"), "encoder.exe")));

  // Numbered names on a real folder given with backslashes and a trailing one.
  const std::string dir =
      QDir::toNativeSeparators(QString::fromStdString(make_temp_folder("win naming"))).toStdString();
  EXPECT_EQ(OSUtil::getOutputFilePath(dir + "\\", "clip.avi"), dir + "\\clip_output.mp4");
  for (const char* taken : {"\\clip_output.mp4", "\\clip_output_2.mp4"})
    ASSERT_TRUE(QFile(QString::fromStdString(dir + taken)).open(QIODevice::WriteOnly));
  EXPECT_EQ(OSUtil::getOutputFilePath(dir, "clip.avi"), dir + "\\clip_output_3.mp4");
  // An input as the add dialog hands it out: only its name goes into the output folder.
  const std::string picked =
      QDir::fromNativeSeparators(QString::fromStdString(dir)).toStdString() + "/clip.avi";
  EXPECT_EQ(OSUtil::getOutputFilePath(dir, OSUtil::getFileName(picked)), dir + "\\clip_output_3.mp4");
  // Windows file names ignore case: CLIP_OUTPUT_3.MP4 takes clip_output_3.mp4 too.
  ASSERT_TRUE(QFile(QString::fromStdString(dir + "\\CLIP_OUTPUT_3.MP4")).open(QIODevice::WriteOnly));
  EXPECT_EQ(OSUtil::getOutputFilePath(dir, "clip.avi"), dir + "\\clip_output_4.mp4");
}

TEST(OSUtilWindowsDrives, FixedDriveWithMostFreeSpaceIsChosen) {
  struct Drive {
    bool fixed;
    uint64_t free;
  };
  std::map<std::string, Drive> drives;
  std::vector<std::string> asked;
  const auto choose = [&](const std::vector<char>& letters) {
    asked.clear();
    return os_platform::chooseMaxFreeSpaceDrive(
        letters, [&](const std::string& root) { return drives.at(root).fixed; },
        [&](const std::string& root) {
          asked.push_back(root);
          return drives.at(root).free;
        });
  };
  drives = {{"A:", {false, 0}},
            {"C:", {true, 100}},
            {"D:", {true, 300}},
            {"E:", {false, 900}},
            {"F:", {true, 300}}};
  EXPECT_EQ(choose({'A', 'C', 'D', 'E', 'F'}), "D:");  // removable E: is bigger but not fixed; tie keeps D:
  EXPECT_EQ(asked, (std::vector<std::string>{"C:", "D:", "F:"}));
  drives = {{"C:", {true, 0}}, {"E:", {false, 900}}};
  EXPECT_EQ(choose({'C', 'E'}), "");  // nothing free anywhere fixed
  EXPECT_EQ(choose({}), "");

  // This machine: a letter it lists, a fixed drive, and none of the fixed ones has more free.
  const std::vector<char> letters = OSUtil::getAllDriverLetters();
  ASSERT_FALSE(letters.empty());
  const std::string best = OSUtil::getMaxFreeSpaceDrive();
  ASSERT_EQ(best.size(), 2u) << "no fixed drive found";
  EXPECT_NE(std::find(letters.begin(), letters.end(), best[0]), letters.end());
  EXPECT_EQ(GetDriveTypeA((best + "\\").c_str()), static_cast<UINT>(DRIVE_FIXED));
  const uint64_t bestFree = OSUtil::getDriveFreeSpace(best);
  EXPECT_GT(bestFree, 0u);
  for (char letter : letters) {
    const std::string root = std::string(1, letter) + ":";
    if (GetDriveTypeA((root + "\\").c_str()) == DRIVE_FIXED) {
      EXPECT_LE(OSUtil::getDriveFreeSpace(root), bestFree) << root;
    }
  }
  char missing = 'B';
  while (missing < 'Z' && std::find(letters.begin(), letters.end(), missing) != letters.end()) ++missing;
  EXPECT_THROW(OSUtil::getDriveFreeSpace(std::string(1, missing) + ":"), std::string);
}

TEST(OSUtilWindowsProcess, TaskkillEndsOnlyOurRegisteredChildAndLoadIsAPercentage) {
  // The real encoder, encoding a test pattern in real time until it is ended.
  QProcess child;
  child.start(
      QString::fromStdString(tool_path("encoder")),
      {"-loglevel", "error", "-re", "-f", "lavfi", "-i", "testsrc2=size=64x64:rate=5", "-f", "null", "-"});
  ASSERT_TRUE(child.waitForStarted(30000));
  OSUtil::killProcess(child.processId());
  EXPECT_FALSE(child.waitForFinished(1000));  // not registered: survives

  // Registered by mistake but not our child (this very process): left alone.
  testing::internal::CaptureStdout();
  OSUtil::registerChildProcess(GetCurrentProcessId());
  OSUtil::killProcess(GetCurrentProcessId());
  OSUtil::unregisterChildProcess(GetCurrentProcessId());
  EXPECT_NE(testing::internal::GetCapturedStdout().find("is not our child, not killed."), std::string::npos);

  OSUtil::registerChildProcess(child.processId());
  testing::internal::CaptureStdout();
  OSUtil::killProcess(child.processId());
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "cmd:TASKKILL /PID " + std::to_string(child.processId()) + " /F\n");
  EXPECT_TRUE(child.waitForFinished(30000));  // (Wine's TASKKILL leaves exit code 0, Windows' 1)
  OSUtil::unregisterChildProcess(child.processId());

  const int load = OSUtil::getCpuUsage(200);
  EXPECT_TRUE(load >= 0 && load <= 100) << load;
  os_platform::CpuTimes times;
  EXPECT_TRUE(os_platform::readCpuTimes(times) && times.total >= times.idle && times.total > 0);
}
