#include <memory>

#include "ui/DBusInhibitor.h"
#include "ui/DesktopBus.h"
#include "ui/KeepAwake.h"

// The request is made and withdrawn on the bus's thread, in that order: the window
// asks and lets go at once, whatever the desktop does meanwhile.
struct KeepAwake::Impl {
  std::shared_ptr<std::unique_ptr<DBusInhibitor>> request =
      std::make_shared<std::unique_ptr<DBusInhibitor>>();
};

KeepAwake::KeepAwake() : impl_(new Impl) {
  DesktopBus::post(
      [request = impl_->request](QDBusConnection& bus) { *request = std::make_unique<DBusInhibitor>(bus); });
}

KeepAwake::~KeepAwake() {
  DesktopBus::post([request = impl_->request](QDBusConnection&) { request->reset(); });
}
