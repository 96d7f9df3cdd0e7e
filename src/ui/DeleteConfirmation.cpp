#include "ui/DeleteConfirmation.h"

#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>

#include "environment/AppConstants.h"
#include "text/QtText.h"

DeleteConfirmation::Answer DeleteConfirmation::ask(QWidget* parent) {
  QMessageBox box(QMessageBox::Question, to_qstring(get_product_name()),
                  tr("Are you sure to completely delete the transcoding task") + "?",
                  QMessageBox::Yes | QMessageBox::No, parent);
  box.setDefaultButton(QMessageBox::Yes);
  box.button(QMessageBox::Yes)->setText(tr("OK, delete now") + "!");
  box.button(QMessageBox::No)->setText(tr("Cancel, do not delete") + "!");
  auto* alsoOutput = new QCheckBox(tr("Also delete the transcoding output files") + ".");
  alsoOutput->setChecked(true);
  box.setCheckBox(alsoOutput);
  box.exec();
  Answer answer;
  answer.confirmed = box.clickedButton() == box.button(QMessageBox::Yes);
  answer.deleteOutput = alsoOutput->isChecked();
  return answer;
}
