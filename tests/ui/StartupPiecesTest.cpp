#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>

#include "Util/AppConstants.h"
#include "account/SignInStore.h"
#include "app/AppStyleSheet.h"
#include "support/QtPrinters.h"
#include "support/TestEnvironment.h"
#include "ui/PreconditionCheck.h"

namespace {
const std::string kEncoderMissing = "encoder not found in bin folder, Kovadle will crash when transcoding!";
const std::string kProbeMissing = "mediainfo not found in bin folder, Kovadle will crash when transcoding!";

void touch(const QString& path) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
}
}  // namespace

TEST(PreconditionCheck, NamesEachMissingFileInOrderAndLooksIntoBinOnlyWhenItExists) {
  const QString app = QString::fromStdString(make_temp_folder("app"));
  using Messages = std::vector<std::string>;
  EXPECT_EQ(missing_file_messages(app.toStdString()),
            Messages{"bin folder not found, Kovadle will crash when transcoding!"});
  QDir(app).mkdir("bin");
  EXPECT_EQ(missing_file_messages(app.toStdString()), (Messages{kEncoderMissing, kProbeMissing}));
  touch(app + "/bin/mediainfo");
  EXPECT_EQ(missing_file_messages(app.toStdString()), Messages{kEncoderMissing});
  // A dangling link is as good as missing.
  QFile::link(app + "/bin/no-such-ffmpeg", app + "/bin/encoder");
  EXPECT_EQ(missing_file_messages(app.toStdString()), Messages{kEncoderMissing});
  QFile::remove(app + "/bin/encoder");
  touch(app + "/bin/encoder");
  EXPECT_TRUE(missing_file_messages(app.toStdString()).empty());
}

TEST(SignInStore, RestoresASavedUserAndIgnoresAnUnreadableFile) {
  SignInStore::sign_out();
  EXPECT_FALSE(SignInStore::restore().has_value());

  ASSERT_TRUE(SignInStore::save({"u-7", "Ann"}));
  set_user_id("init");
  const auto user = SignInStore::restore();
  ASSERT_TRUE(user.has_value());
  EXPECT_EQ(user->user_id, "u-7");
  EXPECT_EQ(user->display_name, "Ann");
  EXPECT_EQ(get_user_id(), "u-7");

  set_user_id("init");
  for (const char* broken :
       {"{not json", "[\"u-7\"]", "{\"DisplayName\":\"Ann\"}", "{\"UserID\":\"\",\"DisplayName\":\"\"}"}) {
    QFile file(QString::fromStdString(SignInStore::file_path()));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(broken);
    file.close();
    EXPECT_FALSE(SignInStore::restore().has_value()) << broken;
    EXPECT_EQ(get_user_id(), "init") << broken;
  }
  SignInStore::sign_out();
}

TEST(AppStyleSheet, IsUnderstoodByQt) {
  // A typo in a sheet is ignored silently; the painted colours show it took effect.
  qApp->setStyleSheet(application_style_sheet());
  QPushButton button;
  button.resize(100, 30);
  QLabel label;
  label.resize(100, 30);
  const QImage button_image = button.grab().toImage();
  const QImage label_image = label.grab().toImage();
  qApp->setStyleSheet(QString());
  EXPECT_EQ(button_image.pixelColor(50, 15), QColor(0x66, 0x99, 0xCC));
  EXPECT_EQ(label_image.pixelColor(50, 15), QColor(0xE0, 0xEA, 0xF1));
}
