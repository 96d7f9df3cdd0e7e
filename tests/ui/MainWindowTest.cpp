#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QTabWidget>
#include <utility>
#include <vector>

#include "app/CjkFontFallback.h"
#include "support/ModalBoxes.h"
#include "support/QtPrinters.h"
#include "ui/MyLabel.h"
#include "ui/Widget.h"

namespace {

// Where each widget belongs for the inner window size w x h.
std::vector<std::pair<const char*, QRect>> placements(int w, int h) {
  return {{"btnAdd1File", {10, 10, 100, 30}},
          {"menu label", {w - 50, 5, 40, 40}},
          {"tabWidget", {0, 50, w + 2, h - 89}},
          {"tableWidgetRunning", {0, 0, w - 98, h - 89}},
          {"tableWidgetDone", {0, 0, w - 98, h - 89}},
          {"tableWidgetDel", {0, 0, w - 98, h - 89}},
          {"lineEditOutputDir", {5, h - 35, w - 260, 30}},
          {"btnChangeOutput", {w - 255, h - 35, 60, 30}},
          {"checkBoxShutdown", {w - 135, h - 35, 135, 30}}};
}

}  // namespace

TEST(MainWindow, HasThreeTitledTabsAndPlacesItsWidgetsForEverySize) {
  QStringList boxes;
  QObject box_guard;
  answer_modal_boxes(&box_guard,
                     [&boxes](const QString& title, const QString& text) { boxes << title + text; });
  Widget window;
  window.show();

  auto* tabs = window.findChild<QTabWidget*>("tabWidget");
  ASSERT_NE(tabs, nullptr);
  ASSERT_EQ(tabs->count(), 3);
  EXPECT_EQ(tabs->tabText(0), "Transcoding");
  EXPECT_EQ(tabs->tabText(1), "Completed");
  EXPECT_EQ(tabs->tabText(2), "RecycleBin");

  // 640 x 480 is below the minimum size and stays 800 x 600.
  for (const QSize asked : {QSize(800, 600), QSize(1000, 700), QSize(640, 480)}) {
    window.resize(asked);
    QCoreApplication::processEvents();
    const QSize inner = asked.expandedTo(QSize(800, 600));
    ASSERT_EQ(window.size(), inner);
    for (const auto& [name, place] : placements(inner.width(), inner.height())) {
      QWidget* widget =
          name == std::string("menu label") ? window.findChild<MyLabel*>() : window.findChild<QWidget*>(name);
      ASSERT_NE(widget, nullptr) << name;
      EXPECT_EQ(widget->geometry(), place) << name << " at " << inner.width() << "x" << inner.height();
    }
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
