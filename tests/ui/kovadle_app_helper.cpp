// The whole program, driven by tests: every modal box is answered and reported as
// "BOX<tab>title<tab>text" on standard output (the probe's waiting animation ends
// by itself); once the main window is shown its
// title is reported as "WINDOW<tab>title", and with KOVADLE_HELPER_QUIT=1 the
// event loop then ends as if the window had been closed. KOVADLE_TEST_CA_FILE
// names the CA file that makes a test's own HTTPS backend trusted.
#include <QApplication>
#include <QTimer>
#include <cstdio>

#include "app/Application.h"
#include "net/HttpUtil.h"
#include "support/ModalBoxes.h"
#include "ui/Widget.h"
#include "ui/dialogs/WaitingLoadingFile.h"

namespace {

void report(QString line) {
  std::printf("%s\n", line.replace('\n', ' ').toUtf8().constData());
  std::fflush(stdout);
}

void install_test_hooks() {
  const QByteArray ca_file = qgetenv("KOVADLE_TEST_CA_FILE");
  if (!ca_file.isEmpty()) {
    HttpUtil::set_ca_file(ca_file.toStdString());
    HttpUtil::set_use_ca_file(true);
  }
  handle_modal_dialogs(qApp, [](QDialog* dialog) {
    if (qobject_cast<WaitingLoadingFile*>(dialog) != nullptr) return true;
    auto* box = qobject_cast<QMessageBox*>(dialog);
    report("BOX\t" + dialog->windowTitle() + "\t" + (box ? box->text() : QString()));
    return false;
  });
  auto* watcher = new QTimer(qApp);
  QObject::connect(watcher, &QTimer::timeout, [watcher] {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (qobject_cast<Widget*>(window) == nullptr || !window->isVisible()) continue;
      watcher->stop();
      report("WINDOW\t" + window->windowTitle());
      if (qgetenv("KOVADLE_HELPER_QUIT") == "1") QCoreApplication::quit();
    }
  });
  watcher->start(50);
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(install_test_hooks)

int main(int argc, char** argv) { return run_kovadle(argc, argv); }
