#include "ui/dialogs/BatchSettingsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>
#include <set>

#include "planning/FFmpegCmdGenerator.h"
#include "planning/SizePlan.h"
#include "planning/SizeText.h"
#include "platform/OSUtil.h"
#include "probe/MediaInfoCache.h"
#include "text/QtText.h"
#include "ui/PlainText.h"
#include "ui/RememberedChoices.h"
#include "ui/dialogs/DialogFit.h"
#include "ui/dialogs/KnobChoice.h"
#include "ui/dialogs/SettingWindow1File.h"
#include "ui/dialogs/SizeChoice.h"
#include "ui/dialogs/SizePlanText.h"
#include "ui/dialogs/TrackSummary.h"

namespace {

enum Column { kFile, kResolution, kQuality, kEstimate, kColumnCount };

// Videos named one by one in the tracks line; the rest are counted.
const size_t kNamedVideos = 3;

}  // namespace

BatchSettingsDialog::BatchSettingsDialog(QWidget* parent, std::vector<Input> inputs,
                                         const std::string& outputDir)
    : QDialog(parent), inputs_(std::move(inputs)) {
  setWindowTitle(tr("Transcode settings"));
  auto* heading = new QLabel(tr("Videos: %1    Output folder: %2")
                                 .arg(inputs_.size())
                                 .arg(QDir::toNativeSeparators(to_qstring(outputDir))),
                             this);
  heading->setObjectName("labelBatchHeading");
  heading->setTextFormat(Qt::PlainText);
  heading->setWordWrap(true);

  table_ = new QTableWidget(static_cast<int>(inputs_.size()), kColumnCount, this);
  table_->setObjectName("tableBatch");
  table_->setHorizontalHeaderLabels({tr("File name"), tr("Resolution"), tr("Quality"), tr("Estimated size")});
  table_->verticalHeader()->setVisible(false);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionMode(QAbstractItemView::NoSelection);
  table_->setFocusPolicy(Qt::NoFocus);
  table_->setWordWrap(false);
  table_->setTextElideMode(Qt::ElideMiddle);
  table_->horizontalHeader()->setStyleSheet(QStringLiteral("QHeaderView::section { padding: 2px 8px; }"));
  table_->horizontalHeader()->setSectionResizeMode(kFile, QHeaderView::Stretch);
  for (int column : {kResolution, kQuality, kEstimate})
    table_->horizontalHeader()->setSectionResizeMode(column, QHeaderView::ResizeToContents);

  // Every quality some video offers, best first.
  std::set<std::string, std::greater<std::string>> offered;
  for (size_t row = 0; row < inputs_.size(); ++row) {
    const Input& input = inputs_[row];
    offered.insert(input.ladder.begin(), input.ladder.end());
    auto* name = new QTableWidgetItem(to_qstring(OSUtil::getFileName(input.path)));
    name->setToolTip(PlainText::toolTip(to_qstring(input.path)));
    table_->setItem(int(row), kFile, name);
    table_->setItem(int(row), kResolution,
                    new QTableWidgetItem(SettingWindow1File::DisplayedResolution(
                        MediaInfoCache::GetInstance().GetMediaInfo(input.path))));
    table_->setItem(int(row), kQuality, new QTableWidgetItem);
    table_->setItem(int(row), kEstimate, new QTableWidgetItem);
  }

  comboQuality_ = new QComboBox(this);
  comboQuality_->setObjectName("comboBoxQuality");
  for (const std::string& key : offered) {
    comboQuality_->addItem(key == "95" ? tr("95%(recommended)") : to_qstring(key + "%"), to_qstring(key));
  }
  comboQuality_->setMaxVisibleItems(std::max(comboQuality_->count(), 1));
  const std::string start =
      RememberedChoices::offeredQuality({offered.begin(), offered.end()}, RememberedChoices::quality());
  comboQuality_->setCurrentIndex(std::max(comboQuality_->findData(to_qstring(start)), 0));

  comboFormat_ = new QComboBox(this);
  comboFormat_->setObjectName("comboBoxFormat");
  for (const std::string& format : RememberedChoices::formats()) comboFormat_->addItem(to_qstring(format));
  comboFormat_->setCurrentText(to_qstring(RememberedChoices::format()));

  note_ = new QLabel(this);
  note_->setObjectName("labelFallbackNote");
  note_->setWordWrap(true);
  total_ = new QLabel(this);
  total_->setObjectName("labelTotalEstimate");
  checkAllTracks_ = new QCheckBox(tr("Keep every audio track and subtitle"), this);
  checkAllTracks_->setObjectName("checkBoxAllTracks");
  checkAllTracks_->setChecked(RememberedChoices::keepAllTracks());
  tracks_ = new QLabel(this);
  tracks_->setObjectName("labelTracks");
  tracks_->setWordWrap(true);

  btnStart_ = new QPushButton(tr("Start Transcoding"), this);
  btnStart_->setObjectName("btnStartTranscoding");
  btnStart_->setDefault(true);
  btnStart_->setEnabled(comboQuality_->count() > 0);
  auto* btnCancel = new QPushButton(tr("Cancel"), this);
  btnCancel->setObjectName("btnCancel");

  knob_ = new KnobChoice(this);
  knob_->SetFitIntoSize(RememberedChoices::fitIntoSize());
  labelQuality_ = new QLabel(tr("Output video quality") + " (" + tr("Input file as 100%") + "):", this);
  labelSize_ = new QLabel(tr("Fit each video into") + ":", this);
  sizeChoice_ = new SizeChoice(this);
  sizeChoice_->SetBytes(RememberedChoices::targetSize());

  auto* choices = new QGridLayout;
  choices->setHorizontalSpacing(10);
  choices->addWidget(knob_, 0, 0, 1, 3);
  // The quality's row, or in its place the size's.
  choices->addWidget(labelQuality_, 1, 0);
  choices->addWidget(comboQuality_, 1, 1);
  choices->addWidget(labelSize_, 1, 0);
  choices->addWidget(sizeChoice_, 1, 1, 1, 2);
  choices->addWidget(new QLabel(tr("Output file format") + ":", this), 2, 0);
  choices->addWidget(comboFormat_, 2, 1);
  choices->addWidget(checkAllTracks_, 3, 0, 1, 2);
  choices->setColumnStretch(2, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(btnStart_);
  buttons->addWidget(btnCancel);
  auto* layout = new QVBoxLayout(this);
  layout->setSpacing(10);
  layout->addWidget(heading);
  layout->addWidget(table_, 1);
  layout->addLayout(choices);
  layout->addWidget(note_);
  layout->addWidget(tracks_);
  layout->addWidget(total_);
  layout->addLayout(buttons);
  // The lines below the table never squeeze it under four rows: the dialog grows.
  table_->setMinimumHeight(table_->horizontalHeader()->sizeHint().height() +
                           4 * table_->verticalHeader()->defaultSectionSize() + 2 * table_->frameWidth());
  resize(680, 440);

  refresh();
  connect(comboQuality_, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
          &BatchSettingsDialog::refresh);
  // The container and the choice decide which tracks stay, and so the estimate.
  connect(comboFormat_, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
          &BatchSettingsDialog::refresh);
  connect(checkAllTracks_, &QCheckBox::toggled, this, &BatchSettingsDialog::refresh);
  connect(knob_, &KnobChoice::changed, this, &BatchSettingsDialog::refresh);
  connect(sizeChoice_, &SizeChoice::changed, this, &BatchSettingsDialog::refresh);
  connect(btnStart_, &QPushButton::clicked, this, [this] {
    isCancel_ = false;
    RememberedChoices::remember(chosenQuality(), chosenFormat());
    RememberedChoices::rememberKeepAllTracks(keepAllTracks());
    RememberedChoices::rememberSize(knob_->FitIntoSize(), sizeChoice_->Bytes());
    accept();
  });
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

std::string BatchSettingsDialog::chosenQuality() const {
  return to_utf8(comboQuality_->currentData().toString());
}

std::string BatchSettingsDialog::chosenFormat() const { return to_utf8(comboFormat_->currentText()); }

bool BatchSettingsDialog::keepAllTracks() const { return checkAllTracks_->isChecked(); }

int64_t BatchSettingsDialog::targetBytes() const { return knob_->FitIntoSize() ? sizeChoice_->Bytes() : 0; }

std::vector<std::string> BatchSettingsDialog::qualities() const {
  std::vector<std::string> used;
  for (const Input& input : inputs_)
    used.push_back(RememberedChoices::offeredQuality(input.ladder, chosenQuality()));
  return used;
}

void BatchSettingsDialog::refresh() {
  const bool size = knob_->FitIntoSize();
  labelQuality_->setVisible(!size);
  comboQuality_->setVisible(!size);
  labelSize_->setVisible(size);
  sizeChoice_->setVisible(size);
  table_->horizontalHeaderItem(kQuality)->setText(size ? tr("Quality bought") : tr("Quality"));
  if (size) return refreshSizes();
  btnStart_->setEnabled(comboQuality_->count() > 0);
  const std::string chosen = chosenQuality();
  const std::vector<std::string> used = qualities();
  int64_t total = 0;
  int otherQuality = 0;
  std::vector<QString> summaries;
  std::vector<bool> drops;
  for (size_t row = 0; row < used.size(); ++row) {
    const bool other = used[row] != chosen;
    otherQuality += other;
    table_->item(int(row), kQuality)->setText(to_qstring(used[row] + "%") + (other ? " *" : ""));
    const FFmpegCmdGenerator::OutputPlan plan =
        FFmpegCmdGenerator::PlanOutput(MediaInfoCache::GetInstance().GetMediaInfo(inputs_[row].path),
                                       used[row], chosenFormat(), keepAllTracks());
    total += plan.estimatedBytes;
    table_->item(int(row), kEstimate)->setText(to_qstring(OSUtil::FileSizeFriendly(plan.estimatedBytes)));
    // What a size said of the row before goes.
    table_->item(int(row), kEstimate)->setForeground(table_->palette().text());
    table_->item(int(row), kQuality)->setToolTip(QString());
    summaries.push_back(TrackSummary::Text(plan.params.tracks));
    drops.push_back(plan.params.tracks.DropsSomething());
  }
  showTracks(summaries, drops);
  note_->setText(otherQuality == 0 ? QString()
                                   : tr("* These videos do not offer %1%: each uses the nearest lower "
                                        "quality it offers (or its lowest).")
                                         .arg(to_qstring(chosen)));
  note_->setVisible(otherQuality > 0);
  total_->setText(tr("Estimated total output size") + ": " + to_qstring(OSUtil::FileSizeFriendly(total)));
}

void BatchSettingsDialog::refreshSizes() {
  const int64_t target = sizeChoice_->Bytes();
  int64_t total = 0;
  int tooSmall = 0, fits = 0;
  std::vector<QString> summaries;
  std::vector<bool> drops;
  for (size_t row = 0; row < inputs_.size(); ++row) {
    const SizePlan plan = SizePlan::For(MediaInfoCache::GetInstance().GetMediaInfo(inputs_[row].path), target,
                                        chosenFormat(), keepAllTracks());
    const bool made = plan.Encodable();
    tooSmall += !made;
    fits += plan.verdict == SizePlan::Verdict::Fits;
    total += made ? plan.expectedBytes : 0;
    QTableWidgetItem* quality = table_->item(int(row), kQuality);
    QTableWidgetItem* estimate = table_->item(int(row), kEstimate);
    quality->setText(made ? to_qstring(plan.quality + "%") +
                                (plan.verdict == SizePlan::Verdict::Fits ? " *" : "")
                          : QStringLiteral("-"));
    estimate->setText(made ? to_qstring(SizeText::Decimal(plan.expectedBytes)) : SizePlanText::Short(plan));
    estimate->setForeground(made ? table_->palette().text() : QBrush(QColor(0xb0, 0x00, 0x20)));
    quality->setToolTip(made ? SizePlanText::Buys(plan) : SizePlanText::Line(plan));
    const TrackPlan tracks = TrackPlan::For(MediaInfoCache::GetInstance().GetMediaInfo(inputs_[row].path),
                                            chosenFormat(), keepAllTracks());
    summaries.push_back(TrackSummary::Text(tracks));
    drops.push_back(tracks.DropsSomething());
  }
  showTracks(summaries, drops);
  QStringList notes;
  if (target <= 0) notes << tr("Type a size in MB.");
  if (target > 0 && tooSmall > 0)
    notes
        << tr("Videos that cannot be made this small: %1. Each needs at least the size shown.").arg(tooSmall);
  if (fits > 0) notes << tr("* These videos already fit: they are made at quality 99 %.");
  note_->setText(notes.join('\n'));
  note_->setVisible(!notes.isEmpty());
  total_->setText(tr("Estimated total output size") + ": " + to_qstring(SizeText::Decimal(total)));
  // Nothing starts while a video cannot be made in the size.
  btnStart_->setEnabled(target > 0 && tooSmall == 0);
}

void BatchSettingsDialog::showTracks(const std::vector<QString>& summaries, const std::vector<bool>& drops) {
  QStringList named;
  int unnamed = 0;
  for (size_t row = 0; row < summaries.size(); ++row) {
    const QString path = to_qstring(inputs_[row].path);
    table_->item(int(row), kFile)->setToolTip(summaries[row].isEmpty() ? path : path + "\n" + summaries[row]);
    if (!drops[row]) continue;
    if (static_cast<size_t>(named.size()) < kNamedVideos) {
      named << tr("%1: %2").arg(to_qstring(OSUtil::getFileName(inputs_[row].path)), summaries[row]);
    } else {
      ++unnamed;
    }
  }
  if (named.isEmpty()) {
    tracks_->setText(tr("Every video keeps all its tracks."));
    DialogFit::GrowToFit(this);
    return;
  }
  if (unnamed > 0) named << tr("and %1 more videos that drop tracks").arg(unnamed);
  tracks_->setText(tr("Not every track is kept:") + "\n" + named.join("\n"));
  DialogFit::GrowToFit(this);
}
