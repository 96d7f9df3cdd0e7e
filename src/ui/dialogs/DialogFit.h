#pragma once

class QWidget;

// A window's minimum size does not count the lines its wrapped labels need at
// its width, so a longer text would squeeze the rows together; this grows the
// window (never shrinks it) to the height its layout asks for at its width.
class DialogFit {
 public:
  static void GrowToFit(QWidget* window);
};
