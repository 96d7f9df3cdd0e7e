#include "ui/MyLabel.h"

#include <QKeyEvent>
#include <QMouseEvent>

MyLabel::MyLabel(QWidget* parent) : QLabel(parent) {
  setFocusPolicy(Qt::TabFocus);
  // Where the label has the focus, a frame shows it.
  setStyleSheet(QStringLiteral("MyLabel:focus { border: 1px dotted #336699; }"));
}

void MyLabel::mousePressEvent(QMouseEvent* event) {
  if (event->buttons() == Qt::LeftButton) emit clicked();
  QLabel::mousePressEvent(event);
}

void MyLabel::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (event->modifiers() == Qt::NoModifier &&
      (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter)) {
    emit clicked();
    return;
  }
  QLabel::keyPressEvent(event);
}
