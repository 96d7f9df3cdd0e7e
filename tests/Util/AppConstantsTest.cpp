#include <gtest/gtest.h>

#include <QDir>
#include <QStandardPaths>

#include "backend/BackendApi.h"
#include "environment/AppConstants.h"

TEST(AppEnvironment, DataFoldersLiveBelowUserDataAndComeBack) {
  const std::string data_home =
      QDir::toNativeSeparators(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
          .toStdString();
  ASSERT_FALSE(data_home.empty());
  for (const std::string& folder :
       {get_appjoblogs_dir(), get_appjobfile_dir(), get_applogs_dir(), get_appdata_dir()}) {
    EXPECT_EQ(folder.rfind(data_home, 0), 0u) << folder;
    EXPECT_TRUE(QDir(QString::fromStdString(folder)).exists()) << folder;
  }
  const QString logs = QString::fromStdString(get_appjoblogs_dir());
  ASSERT_TRUE(QDir(logs).removeRecursively());
  EXPECT_EQ(get_appjoblogs_dir(), logs.toStdString());
  EXPECT_TRUE(QDir(logs).exists());
}

TEST(AppEnvironment, BackendUrlComesFromTheEnvironmentOverHttpsOrToThisMachine) {
  const QByteArray isolated = qgetenv("KOVADLE_BACKEND_URL");
  qunsetenv("KOVADLE_BACKEND_URL");
  const std::string builtin = get_backend_url();
  EXPECT_EQ(builtin.rfind("https://", 0), 0u);
  EXPECT_EQ(builtin.substr(builtin.size() - 18), "/KovadleBackend/v1");
  qputenv("KOVADLE_BACKEND_URL", "https://127.0.0.1:8443/KovadleBackend/v1/");
  EXPECT_EQ(get_backend_url(), "https://127.0.0.1:8443/KovadleBackend/v1");
  // Plain http only to this machine; anything else leaves the built-in backend.
  for (const char* kept : {"http://127.9.0.1/b", "http://[::1]:81/b", "http://localhost/b"}) {
    qputenv("KOVADLE_BACKEND_URL", kept);
    EXPECT_EQ(get_backend_url(), kept);
  }
  for (const char* refused :
       {"http://backend.example/b", "http://localhost.example/b", "ftp://127.0.0.1/b", "b"}) {
    qputenv("KOVADLE_BACKEND_URL", refused);
    EXPECT_EQ(get_backend_url(), builtin) << refused;
  }
  qputenv("KOVADLE_BACKEND_URL", isolated);
}
