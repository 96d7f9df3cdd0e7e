#include "app/Application.h"

#include <QApplication>

int run_kovadle(int argc, char** argv) {
  QApplication app(argc, argv);
  return 0;
}
