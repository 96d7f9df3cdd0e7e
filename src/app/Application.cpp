#include "app/Application.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QMessageBox>
#include <QTranslator>
#include <QUrl>
#include <clocale>

#include "app/AppStyleSheet.h"
#include "app/CjkFontFallback.h"
#include "app/InstanceMessenger.h"
#include "app/SingleInstanceLock.h"
#include "backend/ServerLog.h"
#include "environment/UserSettings.h"
#include "jobs/JobEngine.h"
#include "log/TraceOutput.h"
#include "platform/OSUtil.h"
#include "process/QuitSignalWatcher.h"
#include "text/QtText.h"
#include "ui/InterfaceTranslation.h"
#include "ui/ThreadInformationMessageBox.h"
#include "ui/Widget.h"

namespace {

// How long a later start waits for the running copy to take its files.
const int kHandOverTimeoutMs = 10000;

// The files named on the command line ("Open with" passes paths or file URLs),
// absolute, in the system's separators.
QStringList files_to_open(const QStringList& arguments) {
  QStringList files;
  for (int i = 1; i < arguments.size(); ++i) {
    const QString& argument = arguments.at(i);
    const QUrl url(argument);
    const QString path = url.isLocalFile() ? url.toLocalFile() : argument;
    if (!path.isEmpty()) files << QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
  }
  return files;
}

}  // namespace

int run_kovadle(int argc, char** argv) {
  // Destroyed in reverse order: translators, messenger, single-instance lock, watcher, application.
  QApplication app(argc, argv);
  // Qt adopts the user's locale. The engine's number texts ignore it anyway; this
  // keeps any C-library formatting in the window the same in every locale.
  std::setlocale(LC_NUMERIC, "C");
  // A window started from a terminal keeps it quiet; KOVADLE_TRACE=1 shows the traces.
  TraceOutput::Apply();
  // Desktops match the window to the installed kovadle.desktop by this name (Wayland
  // needs it); the icon beside the executable serves those that take the window's own.
  QGuiApplication::setDesktopFileName(QStringLiteral("kovadle"));
  QApplication::setWindowIcon(
      QIcon(to_qstring(OSUtil::pathJoin(OSUtil::pathJoin(OSUtil::getAppDir(), "icon"), "kovadle.png"))));
  // A log-out or kill ends the program the way closing the window does.
  QuitSignalWatcher quit_on_signal;
  const QStringList files = files_to_open(QCoreApplication::arguments());

  SingleInstanceLock instance(QStringLiteral("Kovadle"), QStringLiteral("KovadleObject"));
  InstanceMessenger messenger(instance.socketName(QStringLiteral("KovadleOpen")));
  // Installed first: the box of a second start speaks the interface's language too.
  QTranslator translator;
  load_interface_translation(translator, get_language());
  app.installTranslator(&translator);
  QTranslator qt_translator;
  if (load_qt_translation(qt_translator, get_language())) app.installTranslator(&qt_translator);

  if (!instance.acquire()) {
    // The running copy takes the files (or comes to the front); this one ends quietly.
    if (messenger.send(files, kHandOverTimeoutMs)) return 0;
    QMessageBox::information(nullptr, QCoreApplication::translate("Application", "Notice"),
                             QCoreApplication::translate("Application", "Kovadle is already running") + "!",
                             QMessageBox::Ok);
    return 0;
  }
  messenger.listen();

  install_cjk_font_fallback();
  app.setStyleSheet(application_style_sheet());
  // The start-up sequence finds an expired version on its pool thread; the notice
  // is a dialog on this thread that ends the program.
  ServerLog::set_version_expired_notice(&Util::ThreadInformationMessageBox::ShowVersionExpired);

  int exit_code = 0;
  JobEngine engine;
  {
    Widget window(engine);
    window.show();
    QObject::connect(&messenger, &InstanceMessenger::filesReceived, &window,
                     [&window](const QStringList& handed) {
                       window.bring_to_front();
                       if (!handed.isEmpty()) window.add_video_files(handed);
                     });
    messenger.setReady();
    if (!files.isEmpty()) window.add_video_files(files);
    // A signal that came while the window was built has no loop to end yet.
    if (quit_on_signal.ReceivedSignal() == 0) exit_code = app.exec();
  }
  // The window is gone: end the encoders and save their jobs as stopped before the
  // manager and the other statics go.
  engine.StopForExit();
  return engine.Leave(exit_code);
}
