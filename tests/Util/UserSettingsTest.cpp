#include <gtest/gtest.h>

#include <QDir>

#include "TestEnvironment.h"
#include "environment/AppConstants.h"
#include "environment/UserSettings.h"
#include "platform/OSUtil.h"
#include "text/TxtUtil.h"

TEST(UserSettings, WithoutAFileTheDefaultFolderIsMadeAndNoFileIsWritten) {
  const std::string file = OSUtil::pathJoin(get_app_data_base_dir(), "UserSettings.config");
  ASSERT_FALSE(OSUtil::isFileExist(file));
  const std::string folder = get_output_dir();
  EXPECT_EQ(folder, OSUtil::getDefaultOutputDir());
  EXPECT_TRUE(QDir(QString::fromStdString(folder)).exists());
  EXPECT_FALSE(OSUtil::isFileExist(file)) << "nothing chosen, nothing saved";
}

TEST(UserSettings, SavedTextIsEscapedKeepsUnknownKeysAndOddFilesAreReplaced) {
  const std::string folder = make_temp_folder("settings"), path = folder + "/UserSettings.config";
  const std::string gone = folder + "/deleted \"quoted\" \\ folder";
  UserSettings(path).setOutputDir(gone);
  EXPECT_EQ(TxtUtil::read_text_file(path),
            "{\n    \"OutputDir\": \"" + folder + "/deleted \\\"quoted\\\" \\\\ folder\"\n}");
  EXPECT_EQ(UserSettings(path).storedOutputDir(), gone);
  EXPECT_FALSE(OSUtil::isFileExist(gone)) << "a stored folder is neither checked nor created";
  // But used only when absolute, and a folder that is or can be made.
  EXPECT_TRUE(output_dir_usable(gone));
  for (const std::string& unusable : {std::string("relative/out"), path, path + "/sub"})
    EXPECT_FALSE(output_dir_usable(unusable)) << unusable;

  TxtUtil::write_text_file(path, R"({"Zoom": "2", "OutputDir": "/videos"})");
  {
    UserSettings settings(path);
    EXPECT_EQ(settings.get("Language"), "");  // reading does not add a member
    settings.set("Language", "en");
    ASSERT_TRUE(settings.save());
  }
  EXPECT_EQ(TxtUtil::read_text_file(path),
            "{\n    \"Language\": \"en\",\n    \"OutputDir\": \"/videos\",\n    \"Zoom\": \"2\"\n}");

  for (const std::string odd : {"[1, 2]", R"({"OutputDir": 5})", "{\"OutputDir\": \"/x\""}) {
    TxtUtil::write_text_file(path, odd);
    UserSettings settings(path);
    EXPECT_EQ(settings.storedOutputDir(), "") << odd;
    settings.setOutputDir("/new");
    EXPECT_EQ(UserSettings(path).storedOutputDir(), "/new") << odd;
  }
}
