#include "ui/PlainText.h"

#include <QMessageBox>
#include <QTextDocument>

namespace {

void showBox(QMessageBox::Icon icon, QWidget* parent, const QString& title, const QString& text) {
  QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

}  // namespace

QString PlainText::toolTip(const QString& text) {
  // Most texts are not mistaken for markup and stay as they are.
  return Qt::mightBeRichText(text) ? Qt::convertFromPlainText(text, Qt::WhiteSpacePre) : text;
}

void PlainText::information(QWidget* parent, const QString& title, const QString& text) {
  showBox(QMessageBox::Information, parent, title, text);
}

void PlainText::warning(QWidget* parent, const QString& title, const QString& text) {
  showBox(QMessageBox::Warning, parent, title, text);
}
