#pragma once

#include <QDialog>
#include <cstdint>
#include <string>
#include <vector>

class KnobChoice;
class QCheckBox;
class QComboBox;
class QLabel;
class SizeChoice;
class QPushButton;
class QTableWidget;

// One settings dialog for a batch of videos: one quality (or one size) and one
// output format for all of them. Each video keeps its own quality ladder: where it
// lacks the chosen quality it takes its nearest lower one, and the list shows which
// and says so; a size shows the row it buys each video, and which videos cannot be
// made that small (nothing starts then). Only "Start Transcoding" clears the
// cancel flag.
class BatchSettingsDialog : public QDialog {
  Q_OBJECT

 public:
  struct Input {
    std::string path;
    std::vector<std::string> ladder;  // the quality keys the video offers
  };

  BatchSettingsDialog(QWidget* parent, std::vector<Input> inputs, const std::string& outputDir);

  bool IsCancel() const { return isCancel_; }
  // The quality chosen in the list ("85") and the output extension (".mkv").
  std::string chosenQuality() const;
  std::string chosenFormat() const;
  // The quality each video is transcoded with, in the order of the inputs.
  std::vector<std::string> qualities() const;
  // Every audio track and subtitle the container holds is kept.
  bool keepAllTracks() const;
  // The size every output is fitted into, in bytes; 0 when the quality decides.
  int64_t targetBytes() const;

 private:
  // The per-video rows, the note and the total estimate for the current choice.
  void refresh();
  // The same for the size typed: each video's row and estimate, or how small it can be made.
  void refreshSizes();
  // The line on the videos whose outputs drop tracks; summaries[row] says what
  // each output keeps.
  void showTracks(const std::vector<QString>& summaries, const std::vector<bool>& drops);

  std::vector<Input> inputs_;
  bool isCancel_ = true;
  QTableWidget* table_ = nullptr;
  KnobChoice* knob_ = nullptr;
  QLabel* labelQuality_ = nullptr;
  QComboBox* comboQuality_ = nullptr;
  QLabel* labelSize_ = nullptr;
  SizeChoice* sizeChoice_ = nullptr;
  QComboBox* comboFormat_ = nullptr;
  QLabel* note_ = nullptr;
  QLabel* total_ = nullptr;
  QCheckBox* checkAllTracks_ = nullptr;
  QLabel* tracks_ = nullptr;
  QPushButton* btnStart_ = nullptr;
};
