#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <algorithm>

#include "app/CjkFontFallback.h"
#include "support/ModalBoxes.h"
#include "support/QtPrinters.h"
#include "ui/MyLabel.h"
#include "ui/Widget.h"

TEST(MainWindow, OpensQuietlyAndKeepsItsWidgetsOnTheEdgesWhenResized) {
  QStringList boxes;
  QObject box_guard;
  answer_modal_boxes(&box_guard,
                     [&boxes](const QString& title, const QString& text) { boxes << title + text; });
  Widget window;
  window.show();
  // 640 x 480 is below the minimum size and stays 800 x 600.
  for (const QSize asked : {QSize(1000, 700), QSize(640, 480)}) {
    window.resize(asked);
    QCoreApplication::processEvents();
    const int w = std::max(asked.width(), 800), h = std::max(asked.height(), 600);
    ASSERT_EQ(window.size(), QSize(w, h));
    EXPECT_EQ(window.findChild<MyLabel*>()->geometry(), QRect(w - 50, 5, 40, 40));
    EXPECT_EQ(window.findChild<QWidget*>("tableWidgetRunning")->geometry(), QRect(0, 0, w - 98, h - 89));
    EXPECT_EQ(window.findChild<QWidget*>("checkBoxShutdown")->geometry(), QRect(w - 135, h - 35, 135, 30));
  }
  // The program's own folder has bin/ with both tools: nothing to report.
  EXPECT_TRUE(boxes.isEmpty()) << boxes.join('\n').toStdString();
}

TEST(MainWindow, WindowsFontsAreDrawnWithAnInstalledChineseFont) {
  const QFontDatabase fonts;
  if (fonts.families(QFontDatabase::SimplifiedChinese).isEmpty()) GTEST_SKIP() << "no Chinese font installed";
  install_cjk_font_fallback();
  for (const QString& family : interface_font_families()) {
    const QString drawn = QFontInfo(QFont(family)).family();
    EXPECT_TRUE(fonts.writingSystems(drawn).contains(QFontDatabase::SimplifiedChinese))
        << family.toStdString() << " drawn with " << drawn.toStdString();
  }
}
