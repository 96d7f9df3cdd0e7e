#include "ui/TabBarStyle.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStyleOptionTab>

namespace {
const QColor kSelectedFill(Qt::white);
const QColor kIdleFill(0xF2, 0xF2, 0xF2);
const QColor kFrame(0xDA, 0xDB, 0xDC);
const QColor kSelectedText(0x00, 0x6A, 0xB1);
const QColor kIdleText(0x00, 0x33, 0x66);
}  // namespace

QSize TabBarStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                    const QWidget* widget) const {
  if (type == CT_TabBarTab) return QSize(kTabWidth, kTabHeight);
  return QProxyStyle::sizeFromContents(type, option, size, widget);
}

void TabBarStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                              const QWidget* widget) const {
  const auto* tab = qstyleoption_cast<const QStyleOptionTab*>(option);
  if (element != CE_TabBarTabLabel || tab == nullptr) {
    QProxyStyle::drawControl(element, option, painter, widget);
    return;
  }
  const bool selected = tab->state & State_Selected;
  const QRect box = tab->rect.adjusted(0, 0, -1, -1);
  painter->save();
  painter->fillRect(box, selected ? kSelectedFill : kIdleFill);
  painter->setPen(kFrame);
  painter->drawRect(box);
  QFont font = painter->font();
  if (tab->state & State_MouseOver) {
    font.setPointSize(9);
    font.setBold(true);
  }
  // A title with its count ("Transcoding (12)") may not fit the fixed box: smaller
  // type rather than a cut title.
  while (font.pointSize() > 7 && QFontMetrics(font).horizontalAdvance(tab->text) > box.width() - 6)
    font.setPointSize(font.pointSize() - 1);
  painter->setFont(font);
  painter->setPen(selected ? kSelectedText : kIdleText);
  painter->drawText(box, Qt::AlignCenter, tab->text);
  painter->restore();
}
