#pragma once

#include <QLabel>

// A label that can be clicked: emits clicked() on a press made with the left
// button alone, then handles the press as any label does. It takes the focus by
// Tab, and Space or Enter click it too.
class MyLabel : public QLabel {
  Q_OBJECT

 public:
  explicit MyLabel(QWidget* parent = nullptr);

 signals:
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
};
