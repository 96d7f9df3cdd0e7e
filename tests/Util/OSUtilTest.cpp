#include <gtest/gtest.h>

#include <QFile>

#include "platform/OSUtil.h"
#include "support/TestEnvironment.h"

TEST(OSUtilPaths, TextsInBothSeparatorStylesAndOutputNaming) {
  EXPECT_EQ(OSUtil::getFileName("C:\\v\\a.mp4", '\\') + "|" + OSUtil::getFileDir("C:\\v\\a.mp4", '\\'),
            "a.mp4|C:\\v");
  EXPECT_EQ(OSUtil::getFileName("/v/a.mp4", '/') + "|" + OSUtil::getFileDir("/v/a.mp4", '/'), "a.mp4|/v");
  EXPECT_EQ(OSUtil::getFileName("a.mp4", '/') + "|" + OSUtil::getFileDir("a.mp4", '\\'), "a.mp4|a.mp4");
  // Windows paths as Qt's dialogs give them (forward slashes, or both kinds mixed).
  EXPECT_EQ(OSUtil::getFileName("C:/v w/a.mp4", '\\') + "|" + OSUtil::getFileDir("C:/v w/a.mp4", '\\'),
            "a.mp4|C:/v w");
  EXPECT_EQ(OSUtil::getFileName("C:\\v/x\\a.mp4", '\\') + "|" + OSUtil::getFileDir("C:\\v\\x/a.mp4", '\\'),
            "a.mp4|C:\\v\\x");
  EXPECT_EQ(OSUtil::getFileExtension("README"), "");
  EXPECT_EQ(OSUtil::addOutputSuffix("a.b.mkv"), "a.b_output.mkv");
  EXPECT_EQ(OSUtil::addOutputSuffix("README"), "README_output");
  // A dot in a folder name is not an extension, in either style.
  EXPECT_EQ(OSUtil::addOutputSuffix("/x/my.videos/README"), "/x/my.videos/README_output");
  EXPECT_EQ(OSUtil::addOutputSuffix("C:\\my.dir\\clip"), "C:\\my.dir\\clip_output");
  EXPECT_EQ(OSUtil::getUniqueOutputPath("D:\\Out\\", "movie.avi", ".mp4", '\\'), "D:\\Out\\movie_output.mp4");
  // A folder in forward slashes keeps its style, with or without a trailing one.
  EXPECT_EQ(OSUtil::pathJoin("D:/Out", "a.mp4", '\\') + "|" + OSUtil::pathJoin("D:/Out/", "a.mp4", '\\'),
            "D:/Out/a.mp4|D:/Out/a.mp4");
  EXPECT_EQ(OSUtil::pathJoin("D:", "a.mp4", '\\') + "|" + OSUtil::pathJoin("D:\\x/y", "a.mp4", '\\'),
            "D:\\a.mp4|D:\\x/y\\a.mp4");
  EXPECT_EQ(OSUtil::pathJoin("/", "x", '/') + "|" + OSUtil::pathJoin("C:\\", "x", '\\'), "/x|C:\\x");

  const std::string dir = make_temp_folder("naming");
  EXPECT_EQ(OSUtil::getOutputFilePath(dir, "a.avi"), OSUtil::pathJoin(dir, "a_output.mp4"));
  for (const char* taken : {"/a_output.mp4", "/a_output_2.mp4"})
    QFile(QString::fromStdString(dir + taken)).open(QIODevice::WriteOnly);
  EXPECT_EQ(OSUtil::getOutputFilePath(dir, "a.avi"), OSUtil::pathJoin(dir, "a_output_3.mp4"));
}

TEST(OSUtilMachine, SizeTextsDigestsAndMacNumbers) {
  // Units step at 1024 and hundredths are cut, never rounded up to the next unit.
  const std::pair<int64_t, const char*> sizes[] = {{1023, "1023B"},
                                                   {1024, "1.00KB"},
                                                   {1048575, "1023.99KB"},
                                                   {1125899906842623LL, "1023.99TB"},
                                                   {1125899906842624LL, ""}};
  for (const auto& size : sizes) EXPECT_EQ(OSUtil::FileSizeFriendly(size.first), size.second) << size.first;

  EXPECT_EQ(OSUtil::getStringMd5("abc"), "900150983CD24FB0D6963F7D28E17F72");
  EXPECT_EQ(OSUtil::macToNumber("00:1A:2B:3C:4D:5E"), 112394521950u);
  EXPECT_EQ(OSUtil::macToNumber("00-1a-2b-3c-4d-5e"), 112394521950u);
  EXPECT_EQ(OSUtil::macToNumber(""), 0u);
}
