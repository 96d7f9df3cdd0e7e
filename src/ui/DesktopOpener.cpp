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

bool DesktopOpener::open(QWidget* parent, const QString& path, bool folder) {
  log_info("DesktopOpener, opening:" + to_utf8(path));
  if (launcher()) return launcher()(path);
  return launchWithDesktop(parent, path, folder);
}

QString DesktopOpener::noProgramText(const QString& path, bool folder) {
  const QString shown = QDir::toNativeSeparators(path);
  if (folder)
    return tr("No file manager is set up to show this folder:") + "\n" + shown + "\n\n" +
           tr("Install a file manager (for example the package nautilus, dolphin or pcmanfm) or choose a "
              "default one for folders in the desktop's settings, then try again.");
  return tr("No video player is set up to play this file:") + "\n" + shown + "\n\n" +
         tr("Install a video player (for example the package vlc or mpv) or choose a default player for "
            "this kind of file in the desktop's settings, then try again.");
}

QString DesktopOpener::failedText(const QString& path, const QString& detail) {
  return tr("This could not be opened:") + "\n" + QDir::toNativeSeparators(path) +
         (detail.isEmpty() ? QString() : "\n\n" + detail);
}

bool DesktopOpener::playOutput(QWidget* parent, const std::string& outputFile) {
  const QFileInfo output(to_qstring(outputFile));
  if (!output.isFile()) {
    PlainText::information(
        parent, tr("Information"),
        tr("The output file is not there any more:") + "\n" + QDir::toNativeSeparators(output.filePath()));
    return false;
  }
  return open(parent, output.absoluteFilePath(), false);
}

bool DesktopOpener::showFolderOf(QWidget* parent, const std::string& file) {
  const QString folder = to_qstring(OSUtil::getFileDir(file));
  if (!QFileInfo(folder).isDir()) {
    PlainText::information(parent, tr("Information"),
                           tr("The folder is not there any more:") + "\n" + QDir::toNativeSeparators(folder));
    return false;
  }
  return open(parent, folder, true);
}
