#include "app/Application.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QTranslator>
#include <clocale>
#include <cstdlib>

#include "Util/AppConstants.h"
#include "Util/LogUtil.h"
#include "Util/OSUtil.h"
#include "Util/QtText.h"
#include "Util/QuitSignalWatcher.h"
#include "app/AppStyleSheet.h"
#include "app/CjkFontFallback.h"
#include "app/InterfaceTranslation.h"
#include "app/SingleInstanceLock.h"
#include "backend/ServerLog.h"
#include "jobs/JobManager.h"
#include "ui/ThreadInformationMessageBox.h"
#include "ui/Widget.h"

int run_kovadle(int argc, char** argv) {
  // Destroyed in reverse order: translator, segment, semaphore, watcher, application.
  QApplication app(argc, argv);
  // Qt adopts the user's locale. The engine's number texts ignore it anyway; this
  // keeps any C-library formatting in the window the same in every locale.
  std::setlocale(LC_NUMERIC, "C");
  // Desktops match the window to the installed kovadle.desktop by this name (Wayland
  // needs it); the icon beside the executable serves those that take the window's own.
  QGuiApplication::setDesktopFileName(QStringLiteral("kovadle"));
  QApplication::setWindowIcon(
      QIcon(to_qstring(OSUtil::pathJoin(OSUtil::pathJoin(OSUtil::getAppDir(), "icon"), "kovadle.png"))));
  // A log-out or kill ends the program the way closing the window does.
  QuitSignalWatcher quit_on_signal;

  SingleInstanceLock instance(QStringLiteral("Kovadle"), QStringLiteral("KovadleObject"));
  if (!instance.acquire()) {
    QMessageBox::information(nullptr, QString::fromUtf8("提示"), QString::fromUtf8("程序己运行!"),
                             QMessageBox::Ok);
    return 0;
  }

  QTranslator translator;
  load_interface_translation(translator, get_language());
  app.installTranslator(&translator);
  QTranslator qt_translator;
  if (load_qt_translation(qt_translator, get_language())) app.installTranslator(&qt_translator);

  install_cjk_font_fallback();
  app.setStyleSheet(application_style_sheet());
  // The start-up sequence finds an expired version on its pool thread; the notice
  // is a dialog on this thread that ends the program.
  ServerLog::set_version_expired_notice(&Util::ThreadInformationMessageBox::ShowVersionExpired);

  int exit_code = 0;
  {
    Widget window;
    window.show();
    // A signal that came while the window was built has no loop to end yet.
    if (quit_on_signal.ReceivedSignal() == 0) exit_code = app.exec();
  }
  // The window is gone and its progress publisher with it: end the encoders and
  // save their jobs as stopped before the manager and the other statics go.
  if (!JobManager::GetInstance().StopAllJobs()) {
    // An encoder that does not end (stuck on a dead network share) keeps its thread:
    // leave without tearing down what that thread still uses. Its job is saved as
    // stopped and the encoder dies with the program.
    log_info("run_kovadle, an encoder did not end; leaving at once.");
    std::_Exit(exit_code);
  }
  return exit_code;
}
