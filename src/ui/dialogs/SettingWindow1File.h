#pragma once

#include <QDialog>
#include <QString>
#include <string>
#include <utility>
#include <vector>

#include "planning/FFmpegParams.h"
#include "planning/SizePlan.h"
#include "probe/MediaInfo.h"

struct JobView;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class KnobChoice;
class MyLabel;
class SizeChoice;

// The "Transcode settings" dialog: confirms one input file before it becomes a
// job. Offers the quality ladder, or a size to fit the output into, and the output
// container, and shows the input's resolution and size beside the output
// resolution and an estimated output size (for a size: what it buys, or why it
// cannot be made).
// In view mode it shows the settings of an existing job (its view, handed in) and
// allows no change.
//
// Run it with exec(), then read the results: only "Start Transcoding" clears the
// cancel flag; "Cancel", Escape and closing the window leave it set.
class SettingWindow1File : public QDialog {
  Q_OBJECT

 public:
  // job: the job shown in view mode; none for a new file (and for a job that is
  // gone, which shows empty settings).
  SettingWindow1File(QWidget* parent, const std::string& inputFile, const std::string& outputFile,
                     bool viewMode, const JobView* job);

  // The first two characters of the chosen quality ("95%(recommended)" gives "95").
  std::string GetQuality() const;
  std::string GetOutputFile() const;
  bool IsCancel() const;
  // Every audio track and subtitle the container holds is kept.
  bool KeepAllTracks() const;
  // The size the output is fitted into, in bytes; 0 when the quality decides.
  int64_t TargetBytes() const;

  // The help box text for an interface language ("cn" or "en"); empty for others.
  static QString HelpText(const std::string& language);
  // "1920x1080" as the picture is shown: a video stored turned by a quarter (a
  // phone's portrait video) shows with width and height swapped. Empty for an output
  // that is not planned.
  static QString DisplayedResolution(const MediaInfo& input);
  static QString DisplayedResolution(const FFmpegParams& output);

 private slots:
  void OnCombox1IndexChanged(const QString& text);
  void OnCombox2IndexChanged(const QString& text);
  void custom_on_btnStartTranscoding_clicked();
  void custom_on_btnCancel_clicked();
  void slot_on_helpLabel_clicked();

 private:
  void createWidgets();
  void fillQualities();
  void fillFormats();
  // The "keep every track" choice and the line on what the output keeps.
  void createTrackWidgets();
  // The knob's two kinds: the quality ladder, or the size with what it buys.
  void createSizeWidgets();
  // Output resolution, size estimate and kept tracks for the knob as it stands.
  void refresh();
  // Output resolution, size estimate and kept tracks for a quality key.
  void showOutputValues(const std::string& quality);
  // The same for the size typed, with what it buys or why it cannot be made.
  void showSizeValues();
  // Shows the widgets of the knob chosen.
  void showKnob();
  void layOut();
  void connectSignals();

  bool viewMode_;
  std::string selectedQuality_ = "95";
  bool isCancel_ = true;
  std::string inputFile_;
  std::string outputFile_;
  std::string viewQuality_;
  bool viewAllTracks_ = false;
  int64_t viewTarget_ = 0;
  SizePlan sizePlan_;  // for the size typed, in size mode
  // Why the job shown in view mode failed, in the interface's language; empty when
  // it did not.
  QString failureReason_;
  // What a completed job shown in view mode actually gave (caption, value).
  std::vector<std::pair<QString, QString>> results_;
  MediaInfo inputInfo_;

  QLineEdit* lineEditInput_ = nullptr;
  QLineEdit* lineEditOutput_ = nullptr;
  QLabel* labelQuality_ = nullptr;
  QComboBox* comboQuality_ = nullptr;
  MyLabel* labelHelp_ = nullptr;
  QLabel* labelFormat_ = nullptr;
  QComboBox* comboFormat_ = nullptr;
  QLabel* captionInputResolution_ = nullptr;
  QLabel* valueInputResolution_ = nullptr;
  QLabel* captionOutputResolution_ = nullptr;
  QLabel* valueOutputResolution_ = nullptr;
  QLabel* captionInputSize_ = nullptr;
  QLabel* valueInputSize_ = nullptr;
  QLabel* captionOutputSize_ = nullptr;
  QLabel* valueOutputSize_ = nullptr;
  KnobChoice* knob_ = nullptr;
  QLabel* labelSize_ = nullptr;
  SizeChoice* sizeChoice_ = nullptr;
  QLabel* labelSizePlan_ = nullptr;
  QPushButton* btnKeepQuality_ = nullptr;
  QCheckBox* checkAllTracks_ = nullptr;
  QLabel* labelTracks_ = nullptr;
  QLabel* labelFailure_ = nullptr;
  QPushButton* btnStart_ = nullptr;
  QPushButton* btnCancel_ = nullptr;
};
