#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "TestEnvironment.h"
#include "Util/AppConstants.h"
#include "Util/OSUtil.h"
#include "Util/TxtUtil.h"
#include "Util/UserSettings.h"

namespace {
std::string settings_path(const std::string& folder) { return folder + "/UserSettings.config"; }
}  // namespace

TEST(UserSettings, WithoutAFileTheDefaultFolderIsMadeAndNoFileIsWritten) {
  const std::string file = OSUtil::pathJoin(get_app_data_base_dir(), "UserSettings.config");
  ASSERT_FALSE(OSUtil::isFileExist(file));
  const std::string folder = get_output_dir();
  EXPECT_EQ(folder, OSUtil::getDefaultOutputDir());
  EXPECT_TRUE(QDir(QString::fromStdString(folder)).exists());
  EXPECT_FALSE(OSUtil::isFileExist(file)) << "nothing chosen, nothing saved";
  EXPECT_EQ(UserSettings::instance().path(), file);
}

TEST(UserSettings, ChosenFolderIsSavedAsTheOnlyMemberAndReadBackUnchecked) {
  const std::string folder = make_temp_folder("settings");
  const std::string gone = folder + "/deleted \"quoted\" \\ folder";
  {
    UserSettings settings(settings_path(folder));
    EXPECT_EQ(settings.storedOutputDir(), "");
    EXPECT_EQ(settings.get("Language"), "");  // reading does not add a member
    settings.setOutputDir(gone);
  }
  EXPECT_EQ(TxtUtil::read_text_file(settings_path(folder)),
            "{\n    \"OutputDir\": \"" + folder + "/deleted \\\"quoted\\\" \\\\ folder\"\n}");
  UserSettings reread(settings_path(folder));
  EXPECT_EQ(reread.storedOutputDir(), gone);
  EXPECT_FALSE(OSUtil::isFileExist(gone)) << "a stored folder is neither checked nor created";
}

TEST(UserSettings, UnknownKeysSurviveAndOddFilesAreIgnoredThenReplaced) {
  const std::string folder = make_temp_folder("settings");
  TxtUtil::write_text_file(settings_path(folder), R"({"Zoom": "2", "OutputDir": "/videos"})");
  {
    UserSettings settings(settings_path(folder));
    settings.set("Language", "en");
    ASSERT_TRUE(settings.save());
  }
  EXPECT_EQ(TxtUtil::read_text_file(settings_path(folder)),
            "{\n    \"Language\": \"en\",\n    \"OutputDir\": \"/videos\",\n    \"Zoom\": \"2\"\n}");

  for (const std::string odd : {"[1, 2]", R"({"OutputDir": 5})", "{\"OutputDir\": \"/x\"", "\"just text\""}) {
    TxtUtil::write_text_file(settings_path(folder), odd);
    UserSettings settings(settings_path(folder));
    EXPECT_EQ(settings.storedOutputDir(), "") << odd;
    settings.setOutputDir("/new");
    EXPECT_EQ(UserSettings(settings_path(folder)).storedOutputDir(), "/new") << odd;
  }
}
