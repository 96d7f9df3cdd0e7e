#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>

#include "log/LogUtil.h"
#include "platform/DetachedProcess.h"
#include "text/QtText.h"
#include "ui/DesktopOpener.h"
#include "ui/PlainText.h"

namespace {

// xdg-open's own exit codes (xdg-utils): the file does not exist, no program for it.
const int kNotFound = 2;
const int kNoMethod = 3;

// The opener keeps none of our descriptors: the player or file manager it starts
// may live for hours and would hold our pipes and lock files open all that time.
class OpenerProcess : public QProcess {
 public:
  using QProcess::QProcess;

 protected:
  void setupChildProcess() override { DetachedProcess::closeOthersOnExec(); }
};

void tell(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::Information, QCoreApplication::translate("DesktopOpener", "Information"), text,
                  QMessageBox::Ok, parent);
  // Paths are shown as they are, never as markup.
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

}  // namespace

QString DesktopOpener::showInputText() { return tr("Show input in file manager"); }
QString DesktopOpener::showOutputText() { return tr("Show output in file manager"); }

bool DesktopOpener::launchWithDesktop(QWidget* parent, const QString& path, bool folder) {
  // xdg-open picks the desktop's player or file manager (package xdg-utils).
  const QString program = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
  if (program.isEmpty()) {
    QMessageBox::information(parent, tr("Information"),
                             tr("Kovadle opens files and folders with xdg-open, which is not installed. "
                                "Please install the package xdg-utils."),
                             QMessageBox::Ok);
    return false;
  }
  // Watched, never waited for: where the desktop has no launcher of its own, xdg-open
  // runs the player itself and ends with it. It goes with the window; a player it
  // started stays.
  auto* opener = new OpenerProcess(parent);
  opener->setProgram(program);
  opener->setArguments({path});
  opener->setStandardInputFile(QProcess::nullDevice());
  // A player it starts inherits these: nothing may fill a pipe we hold for hours.
  opener->setStandardOutputFile(QProcess::nullDevice());
  opener->setStandardErrorFile(QProcess::nullDevice());
  const QPointer<QWidget> window(parent);
  QObject::connect(opener, &QProcess::errorOccurred, opener,
                   [opener, window, path](QProcess::ProcessError error) {
                     if (error != QProcess::FailedToStart) return;
                     log_info("DesktopOpener, xdg-open did not start:" + to_utf8(opener->errorString()));
                     opener->deleteLater();
                     if (window) tell(window, failedText(path, opener->errorString()));
                   });
  QObject::connect(opener, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), opener,
                   [opener, window, path, folder](int code, QProcess::ExitStatus status) {
                     opener->deleteLater();
                     if (status == QProcess::NormalExit && code == 0) return;
                     log_info("DesktopOpener, xdg-open failed, exit code:" + std::to_string(code) +
                              ",path:" + to_utf8(path));
                     if (!window) return;
                     if (status == QProcess::NormalExit && code == kNoMethod) {
                       tell(window, noProgramText(path, folder));
                     } else if (status == QProcess::NormalExit && code == kNotFound) {
                       tell(window, failedText(path, tr("The file is not there any more.")));
                     } else {
                       tell(window, failedText(path, tr("The program the desktop chose for it failed "
                                                        "(xdg-open ended with exit code %1).")
                                                         .arg(status == QProcess::NormalExit ? code : -1)));
                     }
                   });
  opener->start();
  return true;
}
