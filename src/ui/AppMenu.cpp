#include "ui/AppMenu.h"

#include <QActionGroup>
#include <QDesktopServices>
#include <QMenu>
#include <QMessageBox>
#include <QTranslator>
#include <QUrl>
#include <iostream>
#include <memory>

#include "account/SignInStore.h"
#include "backend/ServerLog.h"
#include "environment/AppConstants.h"
#include "environment/UserSettings.h"
#include "log/LogUtil.h"
#include "text/QtText.h"
#include "ui/InterfaceTranslation.h"
#include "ui/PlainText.h"
#include "ui/dialogs/ShowDeviceID.h"

namespace {
const char* const kLanguageKey = "Language";
}  // namespace

AppMenu::AppMenu(QWidget* window) : QObject(window), window_(window) {}

QMenu* AppMenu::build() {
  auto* menu = new QMenu(window_);
  connect(menu->addAction(tr("Open Official Website")), &QAction::triggered, this,
          &AppMenu::slot_openSiteAction_trigger);
  connect(menu->addAction(tr("Sign In")), &QAction::triggered, this, &AppMenu::slot_signInAction_trigger);
  connect(menu->addAction(tr("DeviceID")), &QAction::triggered, this, &AppMenu::slot_DIDAction_trigger);
  connect(menu->addAction(tr("Customer Support")), &QAction::triggered, this,
          &AppMenu::slot_supportAction_trigger);
  connect(menu->addAction(tr("About")), &QAction::triggered, this, &AppMenu::slot_aboutAction_trigger);

  // Language names are written in their own language, so either reader finds theirs.
  QMenu* languages = menu->addMenu(tr("Language"));
  auto* group = new QActionGroup(languages);
  const std::string chosen = language_from_setting(UserSettings::instance().get(kLanguageKey));
  const std::pair<const char*, QString> choices[] = {{"cn", QString::fromUtf8("中文")},
                                                     {"en", QStringLiteral("English")}};
  for (const auto& [code, name] : choices) {
    QAction* action = languages->addAction(name);
    action->setCheckable(true);
    action->setChecked(chosen == code);
    group->addAction(action);
    const QString language = QString::fromLatin1(code);
    connect(action, &QAction::triggered, this, [this, language] { slot_languageAction_trigger(language); });
  }
  languages->addSeparator();
  languages->addAction(tr("Applies from the next start"))->setEnabled(false);
  // The application's menu style colours every item alike; the note must not look clickable.
  languages->setStyleSheet(QStringLiteral("QMenu::item:disabled { color: #8C9BAB; }"));
  return menu;
}

void AppMenu::exec_at(const QPoint& position) {
  std::unique_ptr<QMenu> menu(build());
  menu->exec(position);
}

void AppMenu::slot_openSiteAction_trigger() {
  QDesktopServices::openUrl(QUrl(to_qstring(get_official_site())));
}

void AppMenu::slot_signInAction_trigger() {
  QMessageBox::information(
      window_, tr("Sign In"),
      tr("Sign-in is not available in this edition of %1.").arg(to_qstring(get_product_name())),
      QMessageBox::Ok);
}

void AppMenu::slot_DIDAction_trigger() {
  std::cout << "slot_DIDAction_trigger, was clicked." << std::endl;
  ShowDeviceID dialog(window_);
  dialog.exec();
}

QString AppMenu::support_text(bool signed_in) {
  QString text = tr("If you're having a problem with our service and need help,go to") + ":\n\n";
  if (signed_in) {
    text += tr("Support Wechat") + ": " + to_qstring(ServerLog::setting("support_wechat")) + "\n";
  } else {
    text += tr("Support Email") + ": " + to_qstring(ServerLog::setting("support_email")) + "\n";
  }
  text += tr("How to get DeviceID? Menu->DeviceID") + "\n" +
          tr("Please help to provide DeviceID when you contact customer service") + ".\n\n";
  return text;
}

void AppMenu::slot_supportAction_trigger() {
  std::cout << "slot_supportAction_trigger, was clicked." << std::endl;
  // The contact comes from the backend.
  PlainText::information(window_, tr("Customer Support"), support_text(SignInStore::signed_in()));
}

QString AppMenu::about_title() { return tr("About") + to_qstring(get_product_name()); }

QString AppMenu::about_text() {
  const QString product = to_qstring(get_product_name());
  return product + " " + to_qstring(get_current_version()) + "\n\n" + product + ", " +
         tr("simplify complex audio and video transcoding parameters to only video quality by percentage. "
            "Through complex calculations, select the optimal transcoding parameters for users, greatly "
            "reducing the complexity of transcoding and allowing users to transcode faster and simpler.") +
         "!\n\n" + product + " " +
         tr("Support various formats transcode to mp4, make transcoding easier and simpler");
}

void AppMenu::slot_aboutAction_trigger() {
  std::cout << "slot_aboutAction_trigger, was clicked." << std::endl;
  QMessageBox::information(window_, about_title(), about_text(), QMessageBox::Ok);
}

void AppMenu::slot_languageAction_trigger(const QString& language) {
  UserSettings& settings = UserSettings::instance();
  if (settings.get(kLanguageKey) == language.toStdString()) return;
  // Stored even when it is the system's language now: the choice outlives a change of the system's.
  settings.set(kLanguageKey, language.toStdString());
  settings.save();
  log_info("AppMenu, interface language for the next start:" + language.toStdString());
  if (get_language() == language.toStdString()) return;  // nothing will change
  QMessageBox::information(
      window_, in_language(language, "AppMenu", QT_TR_NOOP("Language")),
      in_language(language, "AppMenu", QT_TR_NOOP("The new language applies from the next start of %1."))
          .arg(in_language(language, "QObject", "Kovadle")),
      QMessageBox::Ok);
}

QString AppMenu::in_language(const QString& language, const char* context, const char* source) {
  // Said in the chosen language: the user may not read the one shown now.
  QTranslator chosen;
  const QString translated = load_interface_translation(chosen, language.toStdString())
                                 ? chosen.translate(context, source)
                                 : QString();
  return translated.isEmpty() ? QString::fromUtf8(source) : translated;
}
