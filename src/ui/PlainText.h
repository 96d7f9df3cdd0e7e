#pragma once

#include <QString>

class QWidget;

// Texts from outside the program (file and folder names, job files, the encoder's
// and the backend's words) shown where Qt guesses whether a text is markup: tooltips,
// labels, message boxes. A name such as "<img src=/dev/zero>.mp4" must show as
// written, never make the window load what it names.
class PlainText {
 public:
  // A tooltip that shows the text as written: Qt renders a tooltip that looks like
  // markup as markup, so such a text is handed over escaped.
  static QString toolTip(const QString& text);

  // Message boxes whose text is never taken for markup.
  static void information(QWidget* parent, const QString& title, const QString& text);
  static void warning(QWidget* parent, const QString& title, const QString& text);
};
