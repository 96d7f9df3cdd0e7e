#include "app/Application.h"

#include <QApplication>
#include <QMessageBox>
#include <QTranslator>
#include <clocale>

#include "Util/AppConstants.h"
#include "app/AppStyleSheet.h"
#include "app/InterfaceTranslation.h"
#include "app/SingleInstanceLock.h"
#include "backend/ServerLog.h"
#include "ui/ThreadInformationMessageBox.h"
#include "ui/Widget.h"

int run_kovadle(int argc, char** argv) {
  // Destroyed in reverse order: translator, segment, semaphore, application.
  QApplication app(argc, argv);
  // Qt adopts the user's locale; keep C-library number texts ("29.97", "%f") locale-free.
  std::setlocale(LC_NUMERIC, "C");

  SingleInstanceLock instance(QStringLiteral("Kovadle"), QStringLiteral("KovadleObject"));
  if (!instance.acquire()) {
    QMessageBox::information(nullptr, QString::fromUtf8("提示"), QString::fromUtf8("程序己运行!"),
                             QMessageBox::Ok);
    return 0;
  }

  QTranslator translator;
  load_interface_translation(translator, get_language());
  app.installTranslator(&translator);

  app.setStyleSheet(application_style_sheet());
  // The start-up sequence finds an expired version on its pool thread; the notice
  // is a dialog on this thread that ends the program.
  ServerLog::set_version_expired_notice(&Util::ThreadInformationMessageBox::ShowVersionExpired);

  int exit_code = 0;
  {
    Widget window;
    window.show();
    exit_code = app.exec();
  }
  return exit_code;
}
