#include "ui/DeleteConfirmation.h"

#include <QCheckBox>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>

#include "environment/AppConstants.h"
#include "text/QtText.h"

namespace {

// Why the output stays whatever the check box would say; empty when it may go.
QString keptBecause(OutputFate output) {
  switch (output) {
    case OutputFate::Shared:
      return DeleteConfirmation::tr("kept: another job's output");
    case OutputFate::NotMadeHere:
      return DeleteConfirmation::tr("kept: not the file this job made");
    case OutputFate::Missing:
      return DeleteConfirmation::tr("there is no output file");
    default:
      return QString();
  }
}

}  // namespace

DeleteConfirmation::Answer DeleteConfirmation::ask(QWidget* parent, OutputFate output) {
  QMessageBox box(QMessageBox::Question, to_qstring(get_product_name()),
                  tr("Are you sure to completely delete the transcoding task") + "?",
                  QMessageBox::Yes | QMessageBox::No, parent);
  box.setDefaultButton(QMessageBox::Yes);
  box.button(QMessageBox::Yes)->setText(tr("OK, delete now") + "!");
  box.button(QMessageBox::No)->setText(tr("Cancel, do not delete") + "!");
  // A file is never lost by leaving the box as it is.
  auto* alsoOutput = new QCheckBox(tr("Also delete the transcoding output files") + ".");
  alsoOutput->setChecked(false);
  const QString kept = keptBecause(output);
  if (!kept.isEmpty()) {
    alsoOutput->setText(alsoOutput->text() + " (" + kept + ")");
    alsoOutput->setEnabled(false);
  }
  box.setCheckBox(alsoOutput);
  box.exec();
  Answer answer;
  answer.confirmed = box.clickedButton() == box.button(QMessageBox::Yes);
  answer.deleteOutput = alsoOutput->isEnabled() && alsoOutput->isChecked();
  return answer;
}

bool DeleteConfirmation::confirmRemoval(QWidget* parent, const std::string& outputFile) {
  QMessageBox box(QMessageBox::Warning, to_qstring(get_product_name()),
                  tr("The output file cannot be moved to the trash. Delete it for good?") + "\n\n" +
                      QDir::toNativeSeparators(to_qstring(outputFile)),
                  QMessageBox::Yes | QMessageBox::No, parent);
  // A file name is shown as it is, never read as markup.
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}
