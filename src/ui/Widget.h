#pragma once

#include <QWidget>
#include <memory>
#include <string>

namespace Ui {
class Widget;
}
class KeepAwake;
class MyLabel;

// The main window: the three job tables, the add buttons, the output folder and
// the shutdown option, and the menu label in the top-right corner.
class Widget : public QWidget {
  Q_OBJECT

 public:
  explicit Widget(QWidget* parent = nullptr);
  ~Widget() override;

  // Shows a box for every file the program needs but cannot find beside it.
  void precondition_check();

  // The shutdown option's text for an interface language.
  static QString shutdown_option_text(const std::string& language);

  // Offers a verified newer installer waiting in the data folder (or cleans up
  // one that is no longer newer); may end the program.
  void check_new_version();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private slots:
  // Opens the application menu.
  void slot_on_lbMenu_clicked();

 private:
  void create_menu_label();
  void restore_sign_in_state();
  void set_window_title();
  void relocateGUI();

  Ui::Widget* ui;
  MyLabel* m_lbMenu = nullptr;
  std::unique_ptr<KeepAwake> m_keepAwake;
};
