#include "app/AppStyleSheet.h"

QString application_style_sheet() {
  return QStringLiteral(
      "QWidget { background-color: #E0EAF1; color: #003366; font: 10pt \"Microsoft YaHei\"; }\n"
      "QPushButton { background-color: #6699CC; color: white; border: 1px solid #336699;"
      " border-radius: 5px; padding: 5px 10px; }\n"
      "QPushButton:hover { background-color: #99CCFF; }\n"
      "QGroupBox { border: 2px solid #336699; border-radius: 5px; margin-top: 1ex; padding: 10px; }\n"
      "QTreeWidget { background-color: #FFFFFF; color: #003366; alternate-background-color: #F0F8FF; }\n"
      "QTreeWidget::item { height: 20px; }\n"
      "QCheckBox { color: #003366; }\n"
      "QMenu::item { background-color: #FFFFFF; color: #003366; padding: 5px 20px; }\n"
      "QMenu::item:hover { background-color: #E6F3FF; color: #0066CC; border-left: 3px solid #6699CC; }\n"
      "QMenu::item:selected { background-color: #6699CC; color: white; }\n");
}
