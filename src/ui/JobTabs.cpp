#include "ui/JobTabs.h"

#include <QAbstractItemModel>
#include <QTabWidget>
#include <QTableView>

JobTabs::JobTabs(QTabWidget* tabs, const std::array<QTableView*, 3>& tables)
    : QObject(tabs), tabs_(tabs), tables_(tables) {
  for (QTableView* table : tables_) {
    QAbstractItemModel* model = table->model();
    connect(model, &QAbstractItemModel::rowsInserted, this, &JobTabs::refresh);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &JobTabs::refresh);
    connect(model, &QAbstractItemModel::modelReset, this, &JobTabs::refresh);
  }
  refresh();
}

QString JobTabs::title(int tab, int rows) {
  // The texts of the window's form, translated in its context.
  static const char* const kTitles[] = {QT_TRANSLATE_NOOP("Widget", "Transcoding"),
                                        QT_TRANSLATE_NOOP("Widget", "Completed"),
                                        QT_TRANSLATE_NOOP("Widget", "RecycleBin")};
  const QString name = QCoreApplication::translate("Widget", kTitles[tab]);
  return rows > 0 ? QStringLiteral("%1 (%2)").arg(name).arg(rows) : name;
}

void JobTabs::refresh() {
  for (int tab = 0; tab < 3 && tab < tabs_->count(); ++tab) {
    const QString text = title(tab, tables_[tab]->model()->rowCount());
    if (tabs_->tabText(tab) != text) tabs_->setTabText(tab, text);
  }
}

void JobTabs::showTranscoding() {
  if (tabs_->indexOf(tables_[0]->parentWidget()) >= 0) {
    tabs_->setCurrentWidget(tables_[0]->parentWidget());
  } else {
    tabs_->setCurrentIndex(0);
  }
}
