#pragma once

#include <QString>
#include <QStringList>

// The window and dialogs name Windows fonts ("Microsoft YaHei", "微软雅黑",
// "SimSun"). Where a family is not installed, this makes Qt use an installed font
// with Chinese glyphs in its place, never a Latin-only default. Call once, after
// the application object exists. Returns the substitute chosen ("" when every
// named family is present or no Chinese font is installed).
QString install_cjk_font_fallback();

// The fonts the interface names, as written in the code and style sheet.
QStringList interface_font_families();
