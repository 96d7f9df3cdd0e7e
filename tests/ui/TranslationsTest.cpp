#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTranslator>

#include "support/QtPrinters.h"
#include "support/TestEnvironment.h"
#include "ui/InterfaceTranslation.h"

TEST(Translations, FileIsFoundInTheWorkingDirectoryFirstThenBesideTheProgram) {
  const auto found = [](const QString& relative) { return QFileInfo(locate_translation_file(relative)); };
  const QString relative = translation_file_for("cn");
  const QString start_dir = QDir::currentPath();
  const QString here = QString::fromStdString(make_temp_folder("cwd"));
  QDir::setCurrent(here);
  EXPECT_EQ(found(relative), QFileInfo(QCoreApplication::applicationDirPath() + "/" + relative));
  QDir(here).mkpath("translations");
  QFile(here + "/" + relative).open(QIODevice::WriteOnly);
  EXPECT_EQ(found(relative), QFileInfo(here + "/" + relative));
  EXPECT_TRUE(locate_translation_file("translations/qt_xx.qm").isEmpty());
  QDir::setCurrent(start_dir);
}

TEST(Translations, QtsOwnDialogTextsFollowTheChineseInterface) {
  QTranslator qt;
  EXPECT_FALSE(load_qt_translation(qt, "en"));
  if (!load_qt_translation(qt, "cn"))
    GTEST_SKIP() << "Qt's Chinese translation (qttranslations5-l10n) is not installed";
  EXPECT_EQ(qt.translate("QPlatformTheme", "Cancel"), QString::fromUtf8("取消"));
}
