#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTranslator>
#include <QXmlStreamReader>

#include "app/InterfaceTranslation.h"
#include "support/QtPrinters.h"
#include "support/TestEnvironment.h"

namespace {

// Messages of a .ts file that lack a finished translation, one per line.
std::string incomplete_messages(const QString& ts_path) {
  QFile file(ts_path);
  if (!file.open(QIODevice::ReadOnly)) return "cannot read " + ts_path.toStdString();
  QXmlStreamReader xml(&file);
  QString incomplete;
  QString source;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    if (xml.name() == QLatin1String("source")) {
      source = xml.readElementText();
    } else if (xml.name() == QLatin1String("translation")) {
      const QString type = xml.attributes().value("type").toString();  // unfinished, vanished, obsolete
      if (!type.isEmpty() || xml.readElementText().isEmpty()) incomplete += source + " (" + type + ")\n";
    }
  }
  if (xml.hasError()) incomplete += "XML error: " + xml.errorString();
  return incomplete.toStdString();
}

}  // namespace

TEST(Translations, EveryTextOfTheSourcesIsTranslatedInBothLanguages) {
  const QString work = QString::fromStdString(make_temp_folder("ts"));
  QStringList arguments = {"-locations", "none", KOVADLE_SOURCE_DIR "/src", "-ts"};
  for (const QString name : {"qt_cn.ts", "qt_en.ts"}) {
    ASSERT_TRUE(QFile::copy(KOVADLE_SOURCE_DIR "/translations/" + name, work + "/" + name));
    arguments << work + "/" + name;
  }
  QProcess lupdate;
  const QString bundled = "/usr/lib/qt5/bin/lupdate";
  lupdate.start(QFileInfo::exists(bundled) ? bundled : "lupdate", arguments);
  ASSERT_TRUE(lupdate.waitForFinished(120000));
  ASSERT_EQ(lupdate.exitCode(), 0) << lupdate.readAllStandardError().toStdString();
  for (const char* name : {"qt_cn.ts", "qt_en.ts"})
    EXPECT_EQ(incomplete_messages(work + "/" + name), "") << name;
}

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
