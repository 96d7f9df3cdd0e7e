#include <gtest/gtest.h>

#include <QDir>
#include <atomic>
#include <cstdlib>
#include <thread>

#include "TestEnvironment.h"
#include "Util/AppConstants.h"
#include "Util/OSUtil.h"

TEST(AppEnvironment, DataFoldersLiveBelowUserDataAndComeBack) {
  const std::string data_home = std::getenv("XDG_DATA_HOME");
  for (const std::string& folder :
       {get_appjoblogs_dir(), get_appjobfile_dir(), get_applogs_dir(), get_appdata_dir()}) {
    EXPECT_EQ(folder.rfind(data_home, 0), 0u) << folder;
    EXPECT_TRUE(QDir(QString::fromStdString(folder)).exists()) << folder;
    EXPECT_NE(folder.back(), '/');
  }
  EXPECT_EQ(QDir(QString::fromStdString(get_appjobfile_dir())).dirName(), "appjobfile");

  const QString logs = QString::fromStdString(get_appjoblogs_dir());
  ASSERT_TRUE(QDir(logs).removeRecursively());
  EXPECT_EQ(get_appjoblogs_dir(), logs.toStdString());
  EXPECT_TRUE(QDir(logs).exists());
}

TEST(AppEnvironment, PathJoinCollapsesTheSeparatorWhereThePartsMeet) {
  EXPECT_EQ(OSUtil::pathJoin("C:\\", "x", '\\'), "C:\\x");
  EXPECT_EQ(OSUtil::pathJoin("C:", "x", '\\'), "C:\\x");
  EXPECT_EQ(OSUtil::pathJoin("D:\\Out\\", "a.mp4", '\\'), "D:\\Out\\a.mp4");
  EXPECT_EQ(OSUtil::pathJoin("/home/u/", "x"), "/home/u/x");
  EXPECT_EQ(OSUtil::pathJoin("/home/u", "x"), "/home/u/x");
  EXPECT_EQ(OSUtil::pathJoin("/", "x"), "/x");
  EXPECT_EQ(OSUtil::nativeSeparator(), '/');
  EXPECT_FALSE(OSUtil::getAppDir().empty());
  EXPECT_TRUE(OSUtil::isFileExist(OSUtil::pathJoin(OSUtil::getAppDir(), "bin")));

  const std::string nested = make_temp_folder("env") + "/a/b/c";
  EXPECT_TRUE(OSUtil::mkpath(nested));
  EXPECT_TRUE(OSUtil::isFileExist(nested));
  EXPECT_FALSE(OSUtil::removeFile(nested + "/missing.txt"));
}

TEST(AppEnvironment, IdentityAndBackend) {
  EXPECT_EQ(get_language(), "cn");
  EXPECT_EQ(get_current_version(), "1.1.6");
  EXPECT_EQ(get_product_name(), "Kovadle");  // no translator installed here
  EXPECT_EQ(get_request_salt().size(), 36u);
  EXPECT_FALSE(is_debug_mode());

  unsetenv("KOVADLE_BACKEND_URL");
  const std::string builtin = get_backend_url();
  EXPECT_EQ(builtin.rfind("https://", 0), 0u);
  EXPECT_EQ(builtin.substr(builtin.size() - 18), "/KovadleBackend/v1");
  setenv("KOVADLE_BACKEND_URL", "https://127.0.0.1:8443/KovadleBackend/v1/", 1);
  EXPECT_EQ(get_backend_url(), "https://127.0.0.1:8443/KovadleBackend/v1");
  unsetenv("KOVADLE_BACKEND_URL");
}

TEST(AppEnvironment, UserIdIsSafeAcrossThreads) {
  EXPECT_EQ(get_device_id(), "init");
  std::atomic<bool> torn{false};
  std::thread writer([] {
    for (int i = 0; i < 20000; ++i) set_user_id(i % 2 ? std::string(64, 'a') : std::string(64, 'b'));
  });
  for (int i = 0; i < 20000; ++i) {
    const std::string id = get_user_id();
    if (id != "init" && id != std::string(64, 'a') && id != std::string(64, 'b')) torn = true;
  }
  writer.join();
  EXPECT_FALSE(torn);
  set_user_id("init");
}
