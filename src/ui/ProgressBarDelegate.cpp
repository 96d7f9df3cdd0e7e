#include "ui/ProgressBarDelegate.h"

#include <QApplication>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace {
// The window's own colours (the buttons' blue, the text's dark blue).
const QColor kTrough(0xFF, 0xFF, 0xFF);
const QColor kFrame(0xB8, 0xC9, 0xDA);
const QColor kChunk(0x66, 0x99, 0xCC);
const QColor kTextOnTrough(0x00, 0x33, 0x66);
const QColor kTextOnChunk(Qt::white);
}  // namespace

bool ProgressBarDelegate::fractionOf(const QString& text, double* fraction) {
  if (!text.endsWith(QLatin1Char('%'))) return false;
  bool ok = false;
  // Written by the program itself, always with a decimal point.
  const double percent = QLocale::c().toDouble(text.left(text.size() - 1), &ok);
  if (!ok) return false;
  *fraction = std::clamp(percent / 100.0, 0.0, 1.0);
  return true;
}

void ProgressBarDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
  const QString text = index.data(Qt::DisplayRole).toString();
  double fraction = 0;
  if (!fractionOf(text, &fraction)) {
    QStyledItemDelegate::paint(painter, option, index);
    return;
  }
  // The row's background and selection as for any cell, without the text.
  QStyleOptionViewItem cell(option);
  initStyleOption(&cell, index);
  cell.text.clear();
  const QWidget* view = option.widget;
  QStyle* style = view != nullptr ? view->style() : QApplication::style();
  style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, view);

  const QRectF bar = QRectF(option.rect).adjusted(4.5, 3.5, -4.5, -3.5);
  if (bar.width() < 4 || bar.height() < 4) return;
  QPainterPath outline;
  outline.addRoundedRect(bar, 3, 3);
  QRectF filled = bar;
  filled.setWidth(bar.width() * fraction);

  painter->save();
  painter->setRenderHint(QPainter::Antialiasing);
  painter->fillPath(outline, kTrough);
  painter->setClipPath(outline);
  painter->fillRect(filled, kChunk);
  painter->setClipping(false);
  painter->setPen(kFrame);
  painter->drawPath(outline);
  // The text in dark blue on the empty part and in white on the filled part.
  painter->setFont(option.font);
  const QRect textArea = bar.toAlignedRect();
  painter->setClipRect(filled);
  painter->setPen(kTextOnChunk);
  painter->drawText(textArea, Qt::AlignCenter, text);
  painter->setClipRect(QRectF(filled.right(), bar.top(), bar.right() - filled.right(), bar.height()));
  painter->setPen(kTextOnTrough);
  painter->drawText(textArea, Qt::AlignCenter, text);
  painter->restore();
}
