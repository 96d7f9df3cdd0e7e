#pragma once

#include <QProxyStyle>

// Draws the main window's tabs as flat 100 x 30 boxes with horizontal, centred
// titles, also when the tab bar stands on the left side.
class TabBarStyle : public QProxyStyle {
  Q_OBJECT

 public:
  static constexpr int kTabWidth = 100;
  static constexpr int kTabHeight = 30;

  QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                         const QWidget* widget) const override;
  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override;
};
