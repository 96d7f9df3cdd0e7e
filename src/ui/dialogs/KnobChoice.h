#pragma once

#include <QWidget>

class QRadioButton;

// The settings dialogs' one knob, either kind: "Output video quality" (a percentage
// of the input) or "Fit into a size".
class KnobChoice : public QWidget {
  Q_OBJECT

 public:
  explicit KnobChoice(QWidget* parent);

  bool FitIntoSize() const;
  void SetFitIntoSize(bool size);

 signals:
  // The user (or SetFitIntoSize) picked the other knob.
  void changed(bool fitIntoSize);

 private:
  QRadioButton* quality_ = nullptr;
  QRadioButton* size_ = nullptr;
};
