#include "app/CjkFontFallback.h"

#include <QFont>
#include <QFontDatabase>

#include "log/LogUtil.h"

namespace {

// Preferred first: the one the setup script installs, then the common desktop ones.
const char* const kCandidates[] = {"WenQuanYi Micro Hei", "Noto Sans CJK SC",  "Noto Sans SC",
                                   "Source Han Sans SC",  "WenQuanYi Zen Hei", "Droid Sans Fallback"};

QString installed_chinese_family(const QFontDatabase& fonts) {
  const QStringList families = fonts.families(QFontDatabase::SimplifiedChinese);
  for (const char* candidate : kCandidates) {
    for (const QString& family : families) {
      if (family.compare(QLatin1String(candidate), Qt::CaseInsensitive) == 0) return family;
    }
  }
  // Any other font that declares Chinese beats one that has none of its glyphs.
  return families.isEmpty() ? QString() : families.first();
}

}  // namespace

QStringList interface_font_families() {
  return {QStringLiteral("Microsoft YaHei"), QString::fromUtf8("微软雅黑"), QStringLiteral("SimSun")};
}

QString install_cjk_font_fallback() {
  const QFontDatabase fonts;
  const QStringList present = fonts.families();
  QStringList missing;
  for (const QString& family : interface_font_families()) {
    if (!present.contains(family, Qt::CaseInsensitive)) missing << family;
  }
  if (missing.isEmpty()) return QString();
  const QString substitute = installed_chinese_family(fonts);
  if (substitute.isEmpty()) {
    log_info("install_cjk_font_fallback, no font with Chinese glyphs is installed.");
    return QString();
  }
  for (const QString& family : missing) QFont::insertSubstitution(family, substitute);
  log_info("install_cjk_font_fallback, " + missing.join(", ").toStdString() + " shown in " +
           substitute.toStdString());
  return substitute;
}
