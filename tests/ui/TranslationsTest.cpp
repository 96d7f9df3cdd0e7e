#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTranslator>
#include <QXmlStreamReader>

#include "app/InterfaceTranslation.h"
#include "support/ChildProgram.h"
#include "support/QtPrinters.h"
#include "support/TestEnvironment.h"

namespace {

QString lupdate_program() {
  const QString bundled = QStringLiteral("/usr/lib/qt5/bin/lupdate");
  return QFileInfo::exists(bundled) ? bundled : QStringLiteral("lupdate");
}

// Messages of a .ts file that lack a finished translation, as "context: source".
QStringList incomplete_messages(const QString& ts_path) {
  QFile file(ts_path);
  if (!file.open(QIODevice::ReadOnly)) return {"cannot read " + ts_path};
  QXmlStreamReader xml(&file);
  QStringList incomplete;
  QString context;
  QString source;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    if (xml.name() == QLatin1String("name")) {
      context = xml.readElementText();
    } else if (xml.name() == QLatin1String("source")) {
      source = xml.readElementText();
    } else if (xml.name() == QLatin1String("translation")) {
      const QString type = xml.attributes().value("type").toString();
      const QString text = xml.readElementText();
      if (!type.isEmpty() || text.isEmpty()) incomplete << context + ": " + source + " (" + type + ")";
    }
  }
  if (xml.hasError()) incomplete << "XML error: " + xml.errorString();
  return incomplete;
}

}  // namespace

TEST(Translations, EveryTextOfTheSourcesIsTranslatedInBothLanguages) {
  const QString work = QString::fromStdString(make_temp_folder("ts"));
  const QString translations = QStringLiteral(KOVADLE_SOURCE_DIR "/translations");
  QStringList arguments = {"-locations", "none", QStringLiteral(KOVADLE_SOURCE_DIR "/src"), "-ts"};
  for (const char* name : {"qt_cn.ts", "qt_en.ts"}) {
    ASSERT_TRUE(QFile::copy(translations + "/" + name, work + "/" + name)) << name;
    arguments << work + "/" + name;
  }
  QProcess lupdate;
  lupdate.start(lupdate_program(), arguments);
  ASSERT_TRUE(lupdate.waitForFinished(120000));
  ASSERT_EQ(lupdate.exitCode(), 0) << lupdate.readAllStandardError().toStdString();

  for (const char* name : {"qt_cn.ts", "qt_en.ts"}) {
    const QStringList incomplete = incomplete_messages(work + "/" + name);
    EXPECT_TRUE(incomplete.isEmpty()) << name << ":\n" << incomplete.join('\n').toStdString();
  }
}

TEST(Translations, FileIsFoundInTheWorkingDirectoryFirstThenBesideTheProgram) {
  EXPECT_EQ(translation_file_for("cn"), "translations/qt_cn.qm");
  EXPECT_EQ(translation_file_for("en"), "translations/qt_en.qm");
  EXPECT_TRUE(translation_file_for("de").isEmpty());

  const QString start_dir = QDir::currentPath();
  const QString here = QString::fromStdString(make_temp_folder("cwd"));
  QDir::setCurrent(here);
  const QString beside_program = build_output_dir() + "/translations/qt_cn.qm";
  EXPECT_EQ(QFileInfo(locate_translation_file("translations/qt_cn.qm")), QFileInfo(beside_program));

  QDir(here).mkpath("translations");
  QFile::copy(build_output_dir() + "/translations/qt_en.qm", here + "/translations/qt_cn.qm");
  EXPECT_EQ(QFileInfo(locate_translation_file("translations/qt_cn.qm")),
            QFileInfo(here + "/translations/qt_cn.qm"));
  EXPECT_TRUE(locate_translation_file("translations/qt_xx.qm").isEmpty());
  QDir::setCurrent(start_dir);

  QTranslator chinese;
  ASSERT_TRUE(load_interface_translation(chinese, "cn"));
  EXPECT_EQ(chinese.translate("Widget", "Completed"), QString::fromUtf8("已完成"));
  EXPECT_EQ(chinese.translate("QObject", "queueing"), QString::fromUtf8("排队中"));
  QTranslator none;
  EXPECT_FALSE(load_interface_translation(none, "de"));
}
