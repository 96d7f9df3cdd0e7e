#include "ui/dialogs/SettingWindow1File.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <iostream>
#include <vector>

#include "environment/UserSettings.h"
#include "jobs/JobEngine.h"
#include "planning/FFmpegCmdGenerator.h"
#include "planning/SizeText.h"
#include "platform/OSUtil.h"
#include "probe/MediaInfoCache.h"
#include "text/QtText.h"
#include "text/StringUtil.h"
#include "ui/MyLabel.h"
#include "ui/PlainText.h"
#include "ui/ReasonText.h"
#include "ui/RememberedChoices.h"
#include "ui/dialogs/CompletedFigures.h"
#include "ui/dialogs/DialogFit.h"
#include "ui/dialogs/KnobChoice.h"
#include "ui/dialogs/SizeChoice.h"
#include "ui/dialogs/SizePlanText.h"
#include "ui/dialogs/TrackSummary.h"

namespace {

const char* const kFontFamily = "SimSun";
const int kRecommendedIndex = 4;

// Shows a path line in full where the screen allows: the dialog widens with it, and
// the tooltip holds the whole text when it is still too long.
void showPathLine(QLineEdit* edit, const QString& text) {
  edit->setText(text);
  edit->setToolTip(PlainText::toolTip(text));
  edit->setCursorPosition(0);
  edit->ensurePolished();  // measure in the style sheet's font
  const int wanted = edit->fontMetrics().horizontalAdvance(text) + 24;
  const QScreen* screen = QGuiApplication::primaryScreen();
  const int room = screen ? screen->availableGeometry().width() * 4 / 5 : 900;
  edit->setMinimumWidth(std::min(wanted, std::max(room, 480)));
}

// The application's style sheet gives every widget a font of its own, which would
// replace one set with setFont(); the widget's own style sheet wins over it.
void useBoldFont(QWidget* widget, int points, bool underline = false, const QString& rules = QString()) {
  QFont font(QString::fromLatin1(kFontFamily), points, QFont::Bold);
  font.setUnderline(underline);
  widget->setFont(font);
  widget->setStyleSheet(QString("%1{%2 font:bold %3pt \"%4\";%5}")
                            .arg(QString::fromLatin1(widget->metaObject()->className()), rules)
                            .arg(points)
                            .arg(QString::fromLatin1(kFontFamily))
                            .arg(underline ? " text-decoration:underline;" : ""));
}

// "1920x1080", turned as the picture is shown.
QString resolutionText(std::string width, std::string height, const std::optional<MediaFigure>& rotate) {
  const int turn = rotate ? ((rotate->AsInt() % 360) + 360) % 360 : 0;
  // The output of such an input shows turned too: an MP4 keeps the turn, the other
  // containers get upright frames.
  if (turn == 90 || turn == 270) std::swap(width, height);
  return to_qstring(width + "x" + height);
}

const char* const kHelpEnglish =
    "1. What is the output video quality?\n"
    "    The clarity and resolution of the output video, with the input file counted as 100%. "
    "The higher the value, the clearer the output and the higher its resolution.\n"
    "2. What is the quality compared with?\n"
    "    With the input video file: its quality counts as 100%.\n"
    "3. Why is 100% not offered?\n"
    "    Transcoding always loses a little quality, so 100% cannot be reached.\n"
    "4. Why is 95% recommended?\n"
    "    Above 95% the difference is hard to see, and the file stays small. For playback on a "
    "large screen you may choose a higher value.\n"
    "5. How do I make the output file smaller?\n"
    "    Choose a lower value: lower values give smaller files, higher values larger ones.\n"
    "6. Why is nothing below 70% offered?\n"
    "    Lower values leave visible blocks in the picture. Only some values are offered, and "
    "inputs of lower resolution get fewer choices.\n"
    "7. Does transcoding lower the resolution?\n"
    "    Above 90% the resolution stays as it is. Lower values reduce it automatically, the lower "
    "the value the lower the resolution; nothing needs to be set by hand.";

const char* const kHelpChinese =
    "1. 什么是输出视频质量？\n"
    "    指输出视频的清晰度和分辨率，以输入文件为100%。数值越高，输出的视频越清晰，分辨率也越高。\n"
    "2. 质量是和哪个文件相比？\n"
    "    和输入的视频文件相比，输入文件的质量算作100%。\n"
    "3. 为什么没有100%可选？\n"
    "    转码总会损失一些画质，所以无法达到100%。\n"
    "4. 为什么推荐95%？\n"
    "    高于95%时肉眼很难看出差别，而且文件较小。如果要在大屏幕上播放，可以选择更高的数值。\n"
    "5. 怎样让输出文件更小？\n"
    "    选择较低的数值即可：数值越低文件越小，数值越高文件越大。\n"
    "6. 为什么没有低于70%的选项？\n"
    "    数值过低时画面会出现明显的马赛克。程序只提供部分数值，分辨率较低的视频可选的数值也更少。\n"
    "7. 转码会降低分辨率吗？\n"
    "    高于90%时分辨率保持不变；数值较低时会自动降低分辨率，数值越低分辨率越低，无需手动设置。";

}  // namespace

SettingWindow1File::SettingWindow1File(QWidget* parent, const std::string& inputFile,
                                       const std::string& outputFile, bool viewMode, const JobView* job)
    : QDialog(parent), viewMode_(viewMode), inputFile_(inputFile), outputFile_(outputFile) {
  setWindowTitle(tr("Transcode settings"));
  if (viewMode_ && job != nullptr) {
    outputFile_ = job->outputFile;
    viewQuality_ = job->quality;
    viewAllTracks_ = job->keepAllTracks;
    viewTarget_ = job->targetBytes;
    failureReason_ =
        job->reason.empty() && job->why.Empty() ? QString() : ReasonText::of(job->reason, job->why);
    if (job->recorded == JobState::Completed) {
      // Only a record at hand: the window probes the output before it opens this.
      MediaInfoCache& cache = MediaInfoCache::GetInstance();
      MediaInfo output;
      if (cache.Contains(job->outputFile)) output = cache.GetMediaInfo(job->outputFile);
      for (const auto& row : CompletedFigures::of(*job, output)) results_.push_back(row);
    }
  }
  inputInfo_ = MediaInfoCache::GetInstance().GetMediaInfo(inputFile_);

  createWidgets();
  fillQualities();
  fillFormats();
  createTrackWidgets();
  createSizeWidgets();

  if (viewMode_) {
    btnStart_->setText(tr("Close window"));
    btnCancel_->setEnabled(false);
    btnCancel_->hide();
  } else {
    btnStart_->setDefault(true);
  }
  refresh();
  layOut();
  showKnob();
  // A wrapped failure line needs its own height on top of what the other rows ask for.
  const int width = std::max(500, minimumSizeHint().width());
  const int height = layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(width) : 0;
  resize(width, std::max(250, height));
  connectSignals();
}

std::string SettingWindow1File::GetQuality() const { return selectedQuality_.substr(0, 2); }

std::string SettingWindow1File::GetOutputFile() const { return outputFile_; }

bool SettingWindow1File::IsCancel() const { return isCancel_; }

bool SettingWindow1File::KeepAllTracks() const { return checkAllTracks_->isChecked(); }

int64_t SettingWindow1File::TargetBytes() const { return knob_->FitIntoSize() ? sizeChoice_->Bytes() : 0; }

void SettingWindow1File::createWidgets() {
  lineEditInput_ = new QLineEdit(this);
  lineEditInput_->setObjectName("lineEditInput");
  lineEditInput_->setReadOnly(true);
  showPathLine(lineEditInput_, tr("Input File") + ": " + to_qstring(inputFile_));

  lineEditOutput_ = new QLineEdit(this);
  lineEditOutput_->setObjectName("lineEditOutput");
  lineEditOutput_->setReadOnly(true);
  showPathLine(lineEditOutput_, tr("Output File") + ": " + to_qstring(outputFile_));

  labelQuality_ = new QLabel(tr("Output video quality") + ":\n(" + tr("Input file as 100%") + "):", this);
  useBoldFont(labelQuality_, 18);
  comboQuality_ = new QComboBox(this);
  comboQuality_->setObjectName("comboBoxQuality");
  // A long ladder scrolls in a list below the box instead of covering the screen.
  useBoldFont(comboQuality_, 18, false, "combobox-popup:0;");

  labelHelp_ = new MyLabel(this);
  labelHelp_->setObjectName("labelHelp");
  labelHelp_->setText(tr("Help"));
  useBoldFont(labelHelp_, 12, true, "color:rgb(255,151,50);");
  labelHelp_->setFixedSize(55, 30);
  labelHelp_->setCursor(Qt::PointingHandCursor);

  labelFormat_ = new QLabel(tr("Output file format") + ":", this);
  useBoldFont(labelFormat_, 18);
  comboFormat_ = new QComboBox(this);
  comboFormat_->setObjectName("comboBoxFormat");
  useBoldFont(comboFormat_, 18);

  const auto makeLabel = [this](const QString& text, const char* name) {
    auto* label = new QLabel(text, this);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    useBoldFont(label, 12);
    return label;
  };
  const MediaInfo& info = inputInfo_;
  captionInputResolution_ = makeLabel(tr("Input Resolution") + ":", "captionInputResolution");
  valueInputResolution_ = makeLabel(DisplayedResolution(info), "labelInputResolution");
  captionOutputResolution_ = makeLabel(tr("Output Resolution") + ":", "captionOutputResolution");
  valueOutputResolution_ = makeLabel(QString(), "labelOutputResolution");
  captionInputSize_ = makeLabel(tr("Input Filesize") + ":", "captionInputFilesize");
  valueInputSize_ =
      makeLabel(to_qstring(OSUtil::FileSizeFriendly(info.fileSize.AsInt64())), "labelInputFilesize");
  captionOutputSize_ = makeLabel(tr("Output Filesize(Estimated)") + ":", "captionOutputFilesize");
  valueOutputSize_ = makeLabel(QString(), "labelOutputFilesize");

  btnStart_ = new QPushButton(tr("Start Transcoding"), this);
  btnStart_->setObjectName("btnStartTranscoding");
  btnCancel_ = new QPushButton(tr("Cancel"), this);
  btnCancel_->setObjectName("btnCancel");
}

void SettingWindow1File::fillQualities() {
  const std::vector<std::string> keys = JobEngine::Prepare(inputFile_).qualities;  // highest first
  for (const std::string& key : keys) comboQuality_->addItem(to_qstring(key + "%"));
  if (!viewMode_ && comboQuality_->count() > kRecommendedIndex)
    comboQuality_->setItemText(kRecommendedIndex, tr("95%(recommended)"));
  // Every entry of the ladder in the list (it scrolls where the screen is too short).
  comboQuality_->setMaxVisibleItems(std::max(comboQuality_->count(), 1));
  // Wide enough for the longest label in the fonts this machine has.
  const int width = get_language() == "en" ? 240 : 160;
  comboQuality_->setFixedSize(std::max(width, comboQuality_->sizeHint().width()), 50);
  if (viewMode_) {
    comboQuality_->setEditable(true);
    comboQuality_->setEditText(viewQuality_.empty() ? QString() : to_qstring(viewQuality_ + "%"));
    comboQuality_->setEnabled(false);
  } else {
    // The quality last confirmed, or the nearest this input offers.
    const std::string start = RememberedChoices::offeredQuality(keys, RememberedChoices::quality());
    const int index = comboQuality_->findText(to_qstring(start), Qt::MatchStartsWith);
    if (index >= 0) comboQuality_->setCurrentIndex(index);
  }
}

void SettingWindow1File::fillFormats() {
  for (const std::string& format : RememberedChoices::formats()) comboFormat_->addItem(to_qstring(format));
  if (viewMode_) {
    comboFormat_->setCurrentText(to_qstring(OSUtil::getFileExtension(outputFile_)));
    comboFormat_->setEnabled(false);
    return;
  }
  // The format last confirmed; the proposed output takes its extension.
  const std::string format = RememberedChoices::format();
  comboFormat_->setCurrentText(to_qstring(format));
  if (!outputFile_.empty() && OSUtil::getFileExtension(outputFile_) != format) {
    outputFile_ = JobEngine::ProposedOutput(inputFile_, OSUtil::getFileDir(outputFile_), format);
    showPathLine(lineEditOutput_, tr("Output File") + ": " + to_qstring(outputFile_));
  }
}

void SettingWindow1File::createTrackWidgets() {
  checkAllTracks_ = new QCheckBox(tr("Keep every audio track and subtitle"), this);
  checkAllTracks_->setObjectName("checkBoxAllTracks");
  useBoldFont(checkAllTracks_, 12);
  checkAllTracks_->setChecked(viewMode_ ? viewAllTracks_ : RememberedChoices::keepAllTracks());
  checkAllTracks_->setEnabled(!viewMode_);
  labelTracks_ = new QLabel(this);
  labelTracks_->setObjectName("labelTracks");
  labelTracks_->setWordWrap(true);
}

void SettingWindow1File::createSizeWidgets() {
  knob_ = new KnobChoice(this);
  useBoldFont(knob_, 12);
  labelSize_ = new QLabel(tr("Fit into") + ":", this);
  labelSize_->setObjectName("labelSize");
  useBoldFont(labelSize_, 18);
  sizeChoice_ = new SizeChoice(this);
  useBoldFont(sizeChoice_->Box(), 18);
  labelSizePlan_ = new QLabel(this);
  labelSizePlan_->setObjectName("labelSizePlan");
  labelSizePlan_->setWordWrap(true);
  labelSizePlan_->setTextFormat(Qt::PlainText);
  btnKeepQuality_ = new QPushButton(tr("Keep quality 99 %"), this);
  btnKeepQuality_->setObjectName("btnKeepQuality");
  if (viewMode_) {
    knob_->SetFitIntoSize(viewTarget_ > 0);
    sizeChoice_->SetBytes(viewTarget_);
    knob_->setEnabled(false);
    sizeChoice_->setEnabled(false);
  } else {
    knob_->SetFitIntoSize(RememberedChoices::fitIntoSize());
    sizeChoice_->SetBytes(RememberedChoices::targetSize());
  }
}

void SettingWindow1File::showKnob() {
  const bool size = knob_->FitIntoSize();
  for (QWidget* widget : std::initializer_list<QWidget*>{labelQuality_, comboQuality_, labelHelp_})
    widget->setVisible(!size);
  labelSize_->setVisible(size);
  sizeChoice_->setVisible(size);
  // A job shown in view mode has run: what the size bought is in its results.
  labelSizePlan_->setVisible(size && !viewMode_);
  btnKeepQuality_->setVisible(size && !viewMode_ && sizePlan_.verdict == SizePlan::Verdict::Fits);
  DialogFit::GrowToFit(this);
}

void SettingWindow1File::refresh() {
  if (knob_->FitIntoSize()) {
    showSizeValues();
  } else {
    showOutputValues(viewMode_ ? viewQuality_ : to_utf8(comboQuality_->currentText()).substr(0, 2));
    // Nothing to choose: starting would make a job the encoder cannot run.
    if (!viewMode_) btnStart_->setEnabled(comboQuality_->count() > 0);
  }
  if (layout() != nullptr) showKnob();
}

void SettingWindow1File::showSizeValues() {
  const int64_t target = sizeChoice_->Bytes();
  sizePlan_ =
      SizePlan::For(inputInfo_, target, to_utf8(comboFormat_->currentText()), checkAllTracks_->isChecked());
  const bool made = sizePlan_.Encodable();
  valueOutputResolution_->setText(made ? DisplayedResolution(sizePlan_.params) : QString());
  valueOutputSize_->setText(made ? to_qstring(SizeText::Decimal(sizePlan_.expectedBytes)) : QString());
  const TrackPlan tracks =
      TrackPlan::For(inputInfo_, to_utf8(comboFormat_->currentText()), checkAllTracks_->isChecked());
  labelTracks_->setText(TrackSummary::Parts(tracks).join('\n'));
  labelTracks_->setVisible(!labelTracks_->text().isEmpty());
  labelSizePlan_->setText(SizePlanText::Line(sizePlan_));
  // A refusal stands out; a size it makes reads as the figures above it do.
  labelSizePlan_->setStyleSheet(made ? QString() : QStringLiteral("color: #b00020;"));
  if (!viewMode_) btnStart_->setEnabled(made);
}

QString SettingWindow1File::DisplayedResolution(const MediaInfo& input) {
  return resolutionText(input.width.Text(), input.height.Text(), input.rotate);
}

QString SettingWindow1File::DisplayedResolution(const FFmpegParams& output) {
  if (!output.planned) return QString();
  return resolutionText(std::to_string(output.width), std::to_string(output.height), output.rotate);
}

void SettingWindow1File::showOutputValues(const std::string& quality) {
  const FFmpegCmdGenerator::OutputPlan plan = FFmpegCmdGenerator::PlanOutput(
      inputInfo_, quality, to_utf8(comboFormat_->currentText()), checkAllTracks_->isChecked());
  valueOutputResolution_->setText(DisplayedResolution(plan.params));
  // One line for each sort of stream.
  labelTracks_->setText(plan.params.planned ? TrackSummary::Parts(plan.params.tracks).join('\n') : QString());
  labelTracks_->setVisible(!labelTracks_->text().isEmpty());
  // More lines than before need room (the constructor sizes the dialog once laid out).
  if (layout() != nullptr) DialogFit::GrowToFit(this);

  const int64_t size = plan.estimatedBytes;
  const std::string sizeText = OSUtil::FileSizeFriendly(size);
  std::cout << "video_bitrate:" << plan.params.videoBitrate << std::endl;
  std::cout << "audio_bitrate:" << plan.params.audioBitrate << std::endl;
  std::cout << "input_duration_d:" << StringUtil::double_to_str(inputInfo_.overallDuration.AsDouble())
            << std::endl;
  std::cout << "audio_bitrate_i:" << plan.params.audioBitrate << std::endl;
  std::cout << "video_bitrate_i:" << plan.params.videoBitrate << std::endl;
  std::cout << "output_file_size:" << size << std::endl;
  std::cout << "output_file_size_s:" << sizeText << std::endl;
  valueOutputSize_->setText(to_qstring(sizeText));
}

void SettingWindow1File::layOut() {
  auto* grid = new QGridLayout(this);
  grid->setHorizontalSpacing(10);
  grid->setVerticalSpacing(10);
  grid->addWidget(lineEditInput_, 0, 0, 1, 4);
  grid->addWidget(lineEditOutput_, 1, 0, 1, 4);
  grid->addWidget(knob_, 2, 0, 1, 4);
  // The quality's row, or in its place the size's.
  grid->addWidget(labelQuality_, 3, 0, 1, 2);
  grid->addWidget(comboQuality_, 3, 2);
  grid->addWidget(labelHelp_, 3, 3);
  grid->addWidget(labelSize_, 3, 0, 1, 2);
  grid->addWidget(sizeChoice_, 3, 2, 1, 2);
  grid->addWidget(labelSizePlan_, 4, 0, 1, 3);
  grid->addWidget(btnKeepQuality_, 4, 3);
  grid->addWidget(labelFormat_, 5, 0, 1, 2);
  grid->addWidget(comboFormat_, 5, 2);
  grid->addWidget(captionInputResolution_, 6, 0);
  grid->addWidget(valueInputResolution_, 6, 1);
  grid->addWidget(captionOutputResolution_, 6, 2);
  grid->addWidget(valueOutputResolution_, 6, 3);
  grid->addWidget(captionInputSize_, 7, 0);
  grid->addWidget(valueInputSize_, 7, 1);
  grid->addWidget(captionOutputSize_, 7, 2);
  grid->addWidget(valueOutputSize_, 7, 3);
  grid->addWidget(checkAllTracks_, 8, 0, 1, 4);
  grid->addWidget(labelTracks_, 9, 0, 1, 4);
  int row = 10;
  // Two figures a row, as the estimates above them.
  for (size_t i = 0; i < results_.size(); ++i) {
    auto* caption = new QLabel(results_[i].first + ":", this);
    auto* value = new QLabel(results_[i].second, this);
    value->setObjectName("labelResult");
    for (QLabel* label : {caption, value}) {
      label->setTextFormat(Qt::PlainText);
      useBoldFont(label, 12);
    }
    const int column = int(i % 2) * 2;
    grid->addWidget(caption, row + int(i / 2), column);
    grid->addWidget(value, row + int(i / 2), column + 1);
  }
  row += int(results_.size() + 1) / 2;
  if (!failureReason_.isEmpty()) {
    labelFailure_ = new QLabel(tr("Failed") + ": " + failureReason_, this);
    labelFailure_->setTextFormat(Qt::PlainText);  // the encoder's words, or a job file's
    labelFailure_->setWordWrap(true);
    labelFailure_->setStyleSheet(QStringLiteral("color: #b00020;"));
    grid->addWidget(labelFailure_, row++, 0, 1, 4);
  }
  grid->addWidget(btnStart_, row, 2);
  grid->addWidget(btnCancel_, row, 3);
}

void SettingWindow1File::connectSignals() {
  // Connected last, so filling and preselecting the boxes above ran no slot.
  connect(comboQuality_, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
          [this](int index) { OnCombox1IndexChanged(comboQuality_->itemText(index)); });
  connect(comboFormat_, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
          [this](int index) { OnCombox2IndexChanged(comboFormat_->itemText(index)); });
  connect(checkAllTracks_, &QCheckBox::toggled, this, &SettingWindow1File::refresh);
  connect(knob_, &KnobChoice::changed, this, &SettingWindow1File::refresh);
  connect(sizeChoice_, &SizeChoice::changed, this, &SettingWindow1File::refresh);
  connect(btnKeepQuality_, &QPushButton::clicked, this, [this] {
    // The top of the ladder, as a quality: the knob turns back.
    comboQuality_->setCurrentIndex(0);
    knob_->SetFitIntoSize(false);
  });
  connect(btnStart_, &QPushButton::clicked, this, &SettingWindow1File::custom_on_btnStartTranscoding_clicked);
  connect(btnCancel_, &QPushButton::clicked, this, &SettingWindow1File::custom_on_btnCancel_clicked);
  connect(labelHelp_, &MyLabel::clicked, this, &SettingWindow1File::slot_on_helpLabel_clicked);
}

void SettingWindow1File::OnCombox1IndexChanged(const QString& text) {
  std::cout << "OnCombox1IndexChanged:" << to_utf8(text) << std::endl;
  const std::string quality = to_utf8(text).substr(0, 2);
  std::cout << "OnCombox1IndexChanged,quality" << quality << std::endl;
  showOutputValues(quality);
}

void SettingWindow1File::OnCombox2IndexChanged(const QString& text) {
  std::cout << "OnCombox2IndexChanged:" << to_utf8(text) << std::endl;
  outputFile_ = JobEngine::ProposedOutput(inputFile_, OSUtil::getFileDir(outputFile_), to_utf8(text));
  showPathLine(lineEditOutput_, tr("Output File") + ": " + to_qstring(outputFile_));
  // The container may change what the output is planned as.
  refresh();
}

void SettingWindow1File::custom_on_btnStartTranscoding_clicked() {
  if (viewMode_) {
    close();
    return;
  }
  isCancel_ = false;
  selectedQuality_ = to_utf8(comboQuality_->currentText());
  RememberedChoices::remember(GetQuality(), to_utf8(comboFormat_->currentText()));
  RememberedChoices::rememberKeepAllTracks(KeepAllTracks());
  RememberedChoices::rememberSize(knob_->FitIntoSize(), sizeChoice_->Bytes());
  accept();
}

void SettingWindow1File::custom_on_btnCancel_clicked() {
  std::cout << "custom_on_btnCancel_clicked" << std::endl;
  isCancel_ = true;
  reject();
}

void SettingWindow1File::slot_on_helpLabel_clicked() {
  QMessageBox::information(this, tr("Help"), HelpText(get_language()), QMessageBox::Ok);
}

QString SettingWindow1File::HelpText(const std::string& language) {
  if (language == "en") return QString::fromUtf8(kHelpEnglish);
  if (language == "cn") return QString::fromUtf8(kHelpChinese);
  return QString();
}
