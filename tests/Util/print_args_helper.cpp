// Prints each argument it was given on a line of its own (UTF-8), so a test can see
// how a command line reached a program.
#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList arguments = QCoreApplication::arguments();
  for (int i = 1; i < arguments.size(); ++i) std::printf("%s\n", arguments.at(i).toUtf8().constData());
  return 0;
}
