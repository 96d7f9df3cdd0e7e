#pragma once

// Lets GoogleTest print Qt values in failure messages.
#include <QColor>
#include <QFileInfo>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <ostream>

inline std::ostream& operator<<(std::ostream& out, const QString& text) {
  return out << '"' << text.toStdString() << '"';
}

inline std::ostream& operator<<(std::ostream& out, const QStringList& list) {
  out << '{';
  for (int i = 0; i < list.size(); ++i) out << (i ? ", " : "") << list[i];
  return out << '}';
}

// GoogleTest would print these as containers of characters otherwise.
inline void PrintTo(const QString& text, std::ostream* out) { *out << text; }
inline void PrintTo(const QStringList& list, std::ostream* out) { *out << list; }

inline std::ostream& operator<<(std::ostream& out, const QRect& rect) {
  return out << "QRect(" << rect.x() << ", " << rect.y() << ", " << rect.width() << " x " << rect.height()
             << ')';
}

inline std::ostream& operator<<(std::ostream& out, const QSize& size) {
  return out << "QSize(" << size.width() << " x " << size.height() << ')';
}

inline std::ostream& operator<<(std::ostream& out, const QColor& colour) {
  return out << colour.name().toStdString();
}

inline std::ostream& operator<<(std::ostream& out, const QFileInfo& info) {
  return out << info.absoluteFilePath();
}
