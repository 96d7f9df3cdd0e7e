#pragma once

#include <QWidget>
#include <cstdint>

class QComboBox;
class QLabel;

// Where a size is typed in megabytes (1 MB = 1,000,000 bytes, as the note beside
// it says) or picked from the sizes offered (RememberedChoices).
class SizeChoice : public QWidget {
  Q_OBJECT

 public:
  explicit SizeChoice(QWidget* parent);

  // The size in bytes; 0 while the text is no size.
  int64_t Bytes() const;
  void SetBytes(int64_t bytes);
  QComboBox* Box() const { return box_; }

  // The megabytes a text stands for ("25", "7.5", "7,5"), in bytes; 0 for anything else.
  static int64_t BytesOf(const QString& megabytes);

 signals:
  // The text changed, by typing or picking.
  void changed();

 private:
  QComboBox* box_ = nullptr;
  QLabel* note_ = nullptr;
};
