#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTranslator>

#include "Util/AppConstants.h"
#include "account/SignInStore.h"
#include "app/AppStyleSheet.h"
#include "support/ChildProgram.h"
#include "support/ModalBoxCloser.h"
#include "support/QtPrinters.h"
#include "ui/MyLabel.h"
#include "ui/Widget.h"

namespace {

// Installs the Chinese translation for the life of the object.
class ChineseInterface {
 public:
  ChineseInterface() {
    loaded_ = translator_.load(build_output_dir() + "/translations/qt_cn.qm");
    QCoreApplication::installTranslator(&translator_);
  }
  ~ChineseInterface() { QCoreApplication::removeTranslator(&translator_); }
  bool loaded() const { return loaded_; }

 private:
  QTranslator translator_;
  bool loaded_ = false;
};

template <typename T = QWidget>
T* child(const Widget& window, const char* name) {
  T* found = window.findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(found, nullptr) << name;
  return found;
}

void resize_shown(Widget& window, int width, int height) {
  window.resize(width, height);
  QCoreApplication::processEvents();
}

// Placement for the inner size w x h.
void expect_placed_for(const Widget& window, int w, int h) {
  EXPECT_EQ(window.size(), QSize(w, h));
  EXPECT_EQ(child(window, "btnAdd1File")->geometry(), QRect(10, 10, 100, 30));
  EXPECT_EQ(window.findChild<MyLabel*>()->geometry(), QRect(w - 50, 5, 40, 40));
  EXPECT_EQ(child(window, "tabWidget")->geometry(), QRect(0, 50, w + 2, h - 89));
  for (const char* table : {"tableWidgetRunning", "tableWidgetDone", "tableWidgetDel"})
    EXPECT_EQ(child(window, table)->geometry(), QRect(0, 0, w - 98, h - 89)) << table;
  EXPECT_EQ(child(window, "lineEditOutputDir")->geometry(), QRect(5, h - 35, w - 260, 30));
  EXPECT_EQ(child(window, "btnChangeOutput")->geometry(), QRect(w - 255, h - 35, 60, 30));
  EXPECT_EQ(child(window, "checkBoxShutdown")->geometry(), QRect(w - 135, h - 35, 135, 30));
}

}  // namespace

TEST(MainWindow, PlacesItsWidgetsForTheWindowSizeAndAgainAfterEveryResize) {
  ModalBoxCloser closer;
  Widget window;
  window.show();
  resize_shown(window, 800, 600);
  // The figures at the smallest size, written out.
  EXPECT_EQ(child(window, "tabWidget")->geometry(), QRect(0, 50, 802, 511));
  EXPECT_EQ(child(window, "tableWidgetDone")->geometry(), QRect(0, 0, 702, 511));
  EXPECT_EQ(child(window, "lineEditOutputDir")->geometry(), QRect(5, 565, 540, 30));
  EXPECT_EQ(window.findChild<MyLabel*>()->geometry(), QRect(750, 5, 40, 40));
  expect_placed_for(window, 800, 600);

  resize_shown(window, 1000, 700);
  expect_placed_for(window, 1000, 700);

  resize_shown(window, 640, 480);  // below the minimum
  expect_placed_for(window, 800, 600);

  // The program's own folder has bin/ with both tools: nothing to report.
  EXPECT_TRUE(closer.closed().empty());
}

TEST(MainWindow, TabsControlsAndTitleInEnglishAndChinese) {
  {
    Widget window;
    auto* tabs = child<QTabWidget>(window, "tabWidget");
    ASSERT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->tabText(0), "Transcoding");
    EXPECT_EQ(tabs->tabText(1), "Completed");
    EXPECT_EQ(tabs->tabText(2), "RecycleBin");
    EXPECT_EQ(tabs->tabPosition(), QTabWidget::West);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(tabs->tabBar()->tabRect(i).size(), QSize(100, 30));
    EXPECT_EQ(window.windowTitle(), "Kovadle v1.1 - Support more than twenty formats");

    for (const char* name : {"btnAddNFile", "btnTest"}) {
      EXPECT_FALSE(child(window, name)->isVisibleTo(&window)) << name;
      EXPECT_FALSE(child(window, name)->isEnabled()) << name;
    }
    EXPECT_FALSE(child(window, "lineEditOutputDir")->isEnabled());
    EXPECT_EQ(child<QTableWidget>(window, "tableWidgetDel")->selectionMode(),
              QAbstractItemView::SingleSelection);
  }
  EXPECT_EQ(Widget::shutdown_option_text("en"), "Shutdown computer\nafter transcoding");

  ChineseInterface chinese;
  ASSERT_TRUE(chinese.loaded());
  Widget window;
  EXPECT_EQ(window.windowTitle(), QString::fromUtf8("Kovadle视频转换器 v1.1 - 支持二十多种格式"));
  auto* tabs = child<QTabWidget>(window, "tabWidget");
  EXPECT_EQ(tabs->tabText(0), QString::fromUtf8("转码中"));
  EXPECT_EQ(tabs->tabText(2), QString::fromUtf8("回收站"));
  EXPECT_EQ(child<QCheckBox>(window, "checkBoxShutdown")->text(), QString::fromUtf8("转码完成后关机"));
}

TEST(MainWindow, TabsAreDrawnFlatWithTheSelectedOneWhite) {
  qApp->setStyleSheet(application_style_sheet());
  {
    Widget window;
    window.show();
    resize_shown(window, 800, 600);
    QTabBar* bar = child<QTabWidget>(window, "tabWidget")->tabBar();
    bar->setCurrentIndex(1);
    const QImage image = bar->grab().toImage();
    const QRect selected = bar->tabRect(1);
    const QRect idle = bar->tabRect(0);
    // Away from the centred title: the fill; on the edge: the frame.
    EXPECT_EQ(image.pixelColor(selected.left() + 3, selected.center().y()), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(idle.left() + 3, idle.center().y()), QColor(0xF2, 0xF2, 0xF2));
    EXPECT_EQ(image.pixelColor(idle.left(), idle.center().y()), QColor(0xDA, 0xDB, 0xDC));

    // The window's own font for the output folder wins over the application's.
    const QFont font = child(window, "lineEditOutputDir")->font();
    EXPECT_EQ(font.pointSize(), 12);
    EXPECT_TRUE(font.bold());
  }
  qApp->setStyleSheet(QString());
}

TEST(MainWindow, MenuLabelShowsItsIconAndReactsToTheLeftButtonOnly) {
  Widget window;
  auto* menu = window.findChild<MyLabel*>();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->size(), QSize(40, 40));
  EXPECT_FALSE(menu->pixmap(Qt::ReturnByValue).isNull());

  QSignalSpy clicks(menu, &MyLabel::clicked);
  QTest::mousePress(menu, Qt::RightButton);
  QTest::mouseRelease(menu, Qt::RightButton);
  EXPECT_EQ(clicks.count(), 0);
  QTest::mousePress(menu, Qt::LeftButton);
  QTest::mouseRelease(menu, Qt::LeftButton);
  EXPECT_EQ(clicks.count(), 1);
}

TEST(MainWindow, AccountAreaShowsTheRestoredUserAndNothingWithoutOne) {
  SignInStore::sign_out();
  {
    Widget window;
    EXPECT_FALSE(child(window, "labelAccount")->isVisibleTo(&window));
    EXPECT_EQ(get_user_id(), "init");
  }
  ASSERT_TRUE(SignInStore::save({"u-42", "张三"}));
  set_user_id("init");  // as at a fresh start
  {
    Widget window;
    auto* label = child<QLabel>(window, "labelAccount");
    EXPECT_TRUE(label->isVisibleTo(&window));
    EXPECT_EQ(label->text(), QString::fromUtf8("张三"));
    EXPECT_EQ(get_user_id(), "u-42");
  }
  SignInStore::sign_out();
  EXPECT_EQ(get_user_id(), "init");
}
