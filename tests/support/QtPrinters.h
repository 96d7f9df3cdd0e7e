#pragma once

// Lets GoogleTest print Qt values in failure messages.
#include <QFileInfo>
#include <QRect>
#include <QSize>
#include <QString>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

inline void PrintTo(const QRect& rect, std::ostream* out) {
  *out << "QRect(" << rect.x() << ", " << rect.y() << ", " << rect.width() << " x " << rect.height() << ')';
}

inline void PrintTo(const QSize& size, std::ostream* out) { *out << size.width() << " x " << size.height(); }

inline void PrintTo(const QFileInfo& file, std::ostream* out) {
  *out << file.absoluteFilePath().toStdString();
}
