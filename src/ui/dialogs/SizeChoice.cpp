#include "ui/dialogs/SizeChoice.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

#include "planning/SizeText.h"
#include "text/QtText.h"
#include "ui/RememberedChoices.h"

SizeChoice::SizeChoice(QWidget* parent) : QWidget(parent) {
  box_ = new QComboBox(this);
  box_->setObjectName("comboBoxSize");
  box_->setEditable(true);
  box_->setInsertPolicy(QComboBox::NoInsert);
  // A combo box completes what is typed from its list: "1" would become 10 MB.
  box_->setCompleter(nullptr);
  // Megabytes with at most two decimals, a point or a comma.
  box_->setValidator(new QRegularExpressionValidator(QRegularExpression("\\d{1,7}([.,]\\d{0,2})?"), box_));
  for (int64_t size : RememberedChoices::targetSizes()) box_->addItem(to_qstring(SizeText::Megabytes(size)));
  auto* unit = new QLabel(QStringLiteral("MB"), this);
  note_ = new QLabel(tr("(1 MB = 1,000,000 bytes)"), this);
  note_->setObjectName("labelSizeUnit");
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(box_);
  row->addWidget(unit);
  row->addWidget(note_);
  row->addStretch(1);
  connect(box_, &QComboBox::editTextChanged, this, &SizeChoice::changed);
}

int64_t SizeChoice::BytesOf(const QString& megabytes) {
  QString text = megabytes.trimmed();
  text.replace(',', '.');
  if (text.isEmpty() || !text.front().isDigit()) return 0;
  return SizeText::Parse(to_utf8(text) + "MB").value_or(0);
}

int64_t SizeChoice::Bytes() const { return BytesOf(box_->currentText()); }

void SizeChoice::SetBytes(int64_t bytes) { box_->setEditText(to_qstring(SizeText::Megabytes(bytes))); }
