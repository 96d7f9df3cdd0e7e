#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QXmlStreamReader>

#include "support/TestEnvironment.h"

// Runs the host's lupdate over the sources, so it is part of the Linux build only.
namespace {

// Messages of a .ts file that lack a finished translation, one per line.
std::string incomplete_messages(const QString& ts_path) {
  QFile file(ts_path);
  if (!file.open(QIODevice::ReadOnly)) return "cannot read " + ts_path.toStdString();
  QXmlStreamReader xml(&file);
  QString incomplete, source;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    if (xml.name() == QLatin1String("source")) source = xml.readElementText();
    if (xml.name() != QLatin1String("translation")) continue;
    const QString type = xml.attributes().value("type").toString();  // unfinished, vanished, obsolete
    if (!type.isEmpty() || xml.readElementText().isEmpty()) incomplete += source + " (" + type + ")\n";
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
