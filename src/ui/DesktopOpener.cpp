#include "ui/DesktopOpener.h"

#include <QDir>
#include <QFileInfo>

#include "log/LogUtil.h"
#include "platform/OSUtil.h"
#include "text/QtText.h"
#include "ui/PlainText.h"

namespace {
DesktopOpener::Launcher& launcher() {
  static DesktopOpener::Launcher replaced;
  return replaced;
}
}  // namespace

void DesktopOpener::setLauncher(Launcher replacement) { launcher() = std::move(replacement); }

bool DesktopOpener::open(QWidget* parent, const QString& path) {
  log_info("DesktopOpener, opening:" + to_utf8(path));
  if (launcher()) return launcher()(path);
  return launchWithDesktop(parent, path);
}

bool DesktopOpener::playOutput(QWidget* parent, const std::string& outputFile) {
  const QFileInfo output(to_qstring(outputFile));
  if (!output.isFile()) {
    PlainText::information(
        parent, tr("Information"),
        tr("The output file is not there any more:") + "\n" + QDir::toNativeSeparators(output.filePath()));
    return false;
  }
  return open(parent, output.absoluteFilePath());
}

bool DesktopOpener::showFolderOf(QWidget* parent, const std::string& file) {
  const QString folder = to_qstring(OSUtil::getFileDir(file));
  if (!QFileInfo(folder).isDir()) {
    PlainText::information(parent, tr("Information"),
                           tr("The folder is not there any more:") + "\n" + QDir::toNativeSeparators(folder));
    return false;
  }
  return open(parent, folder);
}
