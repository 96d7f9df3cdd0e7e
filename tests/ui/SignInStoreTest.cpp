#include <gtest/gtest.h>

#include <QFile>

#include "account/SignInStore.h"
#include "environment/AppConstants.h"

TEST(SignInStore, RestoresASavedUserAndIgnoresAnUnreadableFile) {
  ASSERT_TRUE(SignInStore::save({"u-7", "Ann"}));
  set_user_id("init");  // as at a fresh start
  const auto user = SignInStore::restore();
  ASSERT_TRUE(user.has_value());
  EXPECT_EQ(user->display_name, "Ann");
  EXPECT_EQ(get_user_id(), "u-7");

  set_user_id("init");
  for (const char* broken : {"{not json", "[\"u-7\"]", "{\"DisplayName\":\"Ann\"}", "{\"UserID\":\"\"}"}) {
    QFile file(QString::fromStdString(SignInStore::file_path()));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(broken);
    file.close();
    EXPECT_FALSE(SignInStore::restore().has_value()) << broken;
    EXPECT_EQ(get_user_id(), "init") << broken;
  }
  SignInStore::sign_out();
}
