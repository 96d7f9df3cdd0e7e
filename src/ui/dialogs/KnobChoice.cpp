#include "ui/dialogs/KnobChoice.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QRadioButton>

KnobChoice::KnobChoice(QWidget* parent) : QWidget(parent) {
  quality_ = new QRadioButton(tr("Output video quality"), this);
  quality_->setObjectName("radioQuality");
  size_ = new QRadioButton(tr("Fit into a size"), this);
  size_->setObjectName("radioSize");
  quality_->setChecked(true);
  auto* group = new QButtonGroup(this);
  group->addButton(quality_);
  group->addButton(size_);
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(quality_);
  row->addWidget(size_);
  row->addStretch(1);
  connect(size_, &QRadioButton::toggled, this, &KnobChoice::changed);
}

bool KnobChoice::FitIntoSize() const { return size_->isChecked(); }

void KnobChoice::SetFitIntoSize(bool size) { (size ? size_ : quality_)->setChecked(true); }
