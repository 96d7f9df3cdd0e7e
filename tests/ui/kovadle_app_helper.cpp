// The whole program, driven by tests: every modal box is answered and reported as
// "BOX<tab>title<tab>text" on standard output; once the main window is shown its
// title is reported as "WINDOW<tab>title", and with KOVADLE_HELPER_QUIT=1 the
// event loop then ends as if the window had been closed.
#include <QApplication>
#include <QTimer>
#include <cstdio>

#include "app/Application.h"
#include "support/ModalBoxCloser.h"
#include "ui/Widget.h"

namespace {

void report(const QString& line) {
  QString single_line = line;
  single_line.replace('\n', ' ');
  std::printf("%s\n", single_line.toUtf8().constData());
  std::fflush(stdout);
}

void install_test_hooks() {
  new ModalBoxCloser(qApp, 50, [](const ClosedBox& box) { report("BOX\t" + box.title + "\t" + box.text); });
  auto* watcher = new QTimer(qApp);
  QObject::connect(watcher, &QTimer::timeout, [watcher] {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      auto* main_window = qobject_cast<Widget*>(window);
      if (main_window == nullptr || !main_window->isVisible()) continue;
      watcher->stop();
      report("WINDOW\t" + main_window->windowTitle());
      if (qgetenv("KOVADLE_HELPER_QUIT") == "1") QCoreApplication::quit();
      return;
    }
  });
  watcher->start(50);
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(install_test_hooks)

int main(int argc, char** argv) { return run_kovadle(argc, argv); }
