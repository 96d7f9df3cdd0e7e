#include "ui/Widget.h"

#include <QCoreApplication>
#include <QCursor>
#include <QMessageBox>
#include <QPixmap>
#include <QTabBar>
#include <QTimer>
#include <iostream>

#include "Util/AppConstants.h"
#include "Util/LogUtil.h"
#include "Util/OSUtil.h"
#include "Util/QtText.h"
#include "Util/StringUtil.h"
#include "account/SignInStore.h"
#include "backend/NewVersionDialog.h"
#include "backend/PendingInstaller.h"
#include "backend/ServerLog.h"
#include "ui/AppMenu.h"
#include "ui/KeepAwake.h"
#include "ui/MyLabel.h"
#include "ui/PreconditionCheck.h"
#include "ui/TabBarStyle.h"
#include "ui_Widget.h"

Widget::Widget(QWidget* parent) : QWidget(parent), ui(new Ui::Widget) {
  ui->setupUi(this);
  create_menu_label();
  setMinimumSize(800, 600);
  // A child of the window created after the form, so it outlives the tab bar.
  auto* tab_style = new TabBarStyle;
  tab_style->setParent(this);
  ui->tabWidget->tabBar()->setStyle(tab_style);

  restore_sign_in_state();
  set_window_title();
  relocateGUI();

  // TODO: load_outputDir() - show the output folder.
  // TODO: set up the three tables' columns.
  // TODO: load_existing_jobFile() - register the stored jobs and fill the tables.
  // TODO: create and start the progress publisher; its snapshots reach
  //       update_jobsProgress_mainWindowUI through a queued connection.
  // TODO: custom context menus of the three tables.
  connect(m_lbMenu, &MyLabel::clicked, this, &Widget::slot_on_lbMenu_clicked);

  precondition_check();

  check_new_version();
  ServerLog::background_operation_new_thread();

  m_keepAwake = std::make_unique<KeepAwake>();
}

Widget::~Widget() {
  m_keepAwake.reset();
  delete ui;
  delete m_lbMenu;
}

void Widget::create_menu_label() {
  m_lbMenu = new MyLabel(this);
  m_lbMenu->resize(40, 40);
  m_lbMenu->setToolTip(tr("Menu"));
  m_lbMenu->setAlignment(Qt::AlignCenter);
  const std::string icon = OSUtil::pathJoin(OSUtil::pathJoin(OSUtil::getAppDir(), "icon"), "menu.png");
  const QPixmap image(to_qstring(icon));
  if (!image.isNull())
    m_lbMenu->setPixmap(image.scaled(m_lbMenu->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void Widget::restore_sign_in_state() {
  const std::optional<SignedInUser> user = SignInStore::restore();
  QString shown;
  if (user) shown = to_qstring(user->display_name.empty() ? user->user_id : user->display_name);
  ui->labelAccount->setText(shown);
  ui->labelAccount->setVisible(user.has_value());
}

void Widget::set_window_title() {
  setWindowTitle(to_qstring(get_product_name()) + " v" +
                 to_qstring(StringUtil::short_version(get_current_version())) + " - " +
                 tr("Support more than twenty formats"));
}

QString Widget::shutdown_option_text(const std::string& language) {
  if (language == "en") return QStringLiteral("Shutdown computer\nafter transcoding");
  return tr("Shutdown computer after transcoding");
}

void Widget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  relocateGUI();
}

void Widget::relocateGUI() {
  const int w = width();
  const int h = height();

  ui->btnAdd1File->setGeometry(10, 10, 100, 30);
  for (QWidget* unused : {static_cast<QWidget*>(ui->btnAddNFile), static_cast<QWidget*>(ui->btnTest)}) {
    unused->hide();
    unused->setEnabled(false);
  }
  m_lbMenu->setGeometry(w - 50, 5, 40, 40);
  // The account area sits just left of the menu label.
  ui->labelAccount->setGeometry(w - 260, 15, 200, 20);

  QTabWidget* tabs = ui->tabWidget;
  tabs->setGeometry(0, 50, w + 2, h - 89);
  tabs->setTabPosition(QTabWidget::West);
  while (tabs->count() > 3) tabs->removeTab(tabs->count() - 1);
  while (tabs->count() < 3) tabs->addTab(new QWidget, QString());
  const QString titles[] = {tr("Transcoding"), tr("Completed"), tr("RecycleBin")};
  for (int i = 0; i < 3; ++i) {
    tabs->setTabText(i, titles[i]);
    tabs->widget(i)->resize(w - 98, h - 89);
  }
  for (QTableWidget* table : {ui->tableWidgetRunning, ui->tableWidgetDone, ui->tableWidgetDel}) {
    table->setGeometry(0, 0, w - 98, h - 89);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
  }

  ui->lineEditOutputDir->setGeometry(5, h - 35, w - 260, 30);
  ui->lineEditOutputDir->setEnabled(false);
  ui->lineEditOutputDir->setFont(QFont(QString::fromUtf8("微软雅黑"), 12, QFont::Bold));
  ui->btnChangeOutput->setGeometry(w - 255, h - 35, 60, 30);
  ui->checkBoxShutdown->setGeometry(w - 135, h - 35, 135, 30);
  ui->checkBoxShutdown->setText(shutdown_option_text(get_language()));

  log_info("Widget::relocateGUI end.");
}

void Widget::slot_on_lbMenu_clicked() {
  std::cout << "slot_on_lbMenu_clicked, My label was clicked." << std::endl;
  AppMenu(this).exec_at(QCursor::pos());
}

void Widget::check_new_version() {
  const std::optional<PendingInstaller::Offer> offer =
      PendingInstaller::check(get_appdata_dir(), get_current_version());
  if (!offer) return;
  const int answer = NewVersionDialog::ask(this, offer->version, get_current_version(), offer->force);
  if (!PendingInstaller::act_on_answer(*offer, answer)) return;
  // Quit once the event loop runs; the constructor is still going here.
  hide();
  QTimer::singleShot(100, this, [this] {
    close();
    QCoreApplication::quit();
  });
}

void Widget::precondition_check() {
  log_info("Widget::precondition_check begin");
  for (const std::string& message : missing_file_messages(OSUtil::getAppDir()))
    QMessageBox::information(this, QStringLiteral("DebugInfo"), to_qstring(message), QMessageBox::Ok);
}
