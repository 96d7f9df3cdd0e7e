#include <QDBusMessage>
#include <QVariantMap>
#include <QWidget>

#include "ui/DesktopBus.h"
#include "ui/DesktopProgress.h"

namespace {
// The desktop entry the launcher shows the figure on.
const char* const kAppUri = "application://kovadle.desktop";
const char* const kPath = "/com/canonical/unity/launcherentry/kovadle";
}  // namespace

struct DesktopProgress::Platform {};

DesktopProgress::DesktopProgress(QWidget* window) : window_(window), platform_(new Platform) {}

DesktopProgress::~DesktopProgress() = default;

void DesktopProgress::showOnTaskBar(std::optional<double> fraction) {
  DesktopBus::post([fraction](QDBusConnection& bus) {
    if (!bus.isConnected()) return;
    // A signal: nobody has to answer, and docks that do not read it lose nothing.
    QDBusMessage update = QDBusMessage::createSignal(QString::fromLatin1(kPath),
                                                     QStringLiteral("com.canonical.Unity.LauncherEntry"),
                                                     QStringLiteral("Update"));
    QVariantMap properties;
    properties.insert(QStringLiteral("progress"), fraction.value_or(0.0));
    properties.insert(QStringLiteral("progress-visible"), fraction.has_value());
    update << QString::fromLatin1(kAppUri) << properties;
    bus.send(update);
  });
}
