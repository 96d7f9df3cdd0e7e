#pragma once

#include <QString>
#include <string>

// The program's narrow strings are UTF-8; these are the two conversions to and from Qt.
inline QString to_qstring(const std::string& text) {
  return QString::fromUtf8(text.c_str(), static_cast<int>(text.size()));
}

inline std::string to_utf8(const QString& text) { return text.toUtf8().toStdString(); }
