#include <QLocale>

#include "ui/StartupTestSupport.h"

// A program started inside Wine takes the prefix's language, whatever LANG it is given.
bool starts_in_chinese() { return QLocale::system().name().startsWith(QStringLiteral("zh")); }
