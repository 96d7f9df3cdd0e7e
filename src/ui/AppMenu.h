#pragma once

#include <QObject>
#include <QString>

class QMenu;
class QPoint;
class QWidget;

// The application menu behind the main window's menu label: the official site,
// sign-in, the device id, customer support, About, and the interface language.
// Boxes it opens belong to the window.
class AppMenu : public QObject {
  Q_OBJECT

 public:
  explicit AppMenu(QWidget* window);

  // The menu, owned by the window, with every entry connected.
  QMenu* build();
  // Builds the menu, runs it at the position and removes it again.
  void exec_at(const QPoint& position);

  // The customer-support text: the e-mail contact for a user who is not signed
  // in, the WeChat contact for one who is.
  static QString support_text(bool signed_in);
  static QString about_title();
  static QString about_text();

 public slots:
  void slot_openSiteAction_trigger();
  void slot_signInAction_trigger();
  void slot_DIDAction_trigger();
  void slot_supportAction_trigger();
  void slot_aboutAction_trigger();
  // Stores "cn" or "en" for the next start and says so in that language.
  void slot_languageAction_trigger(const QString& language);

  // A text of the program in the given interface language ("cn", "en"); the
  // source text when that translation is not there.
  static QString in_language(const QString& language, const char* context, const char* source);

 private:
  QWidget* window_;
};
