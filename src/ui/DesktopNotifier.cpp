#include "ui/DesktopNotifier.h"

#include "platform/OSUtil.h"
#include "text/QtText.h"

void DesktopNotifier::jobFinished(const std::string& outputFile) {
  notify(tr("Transcoding finished"), tr("%1 is ready.").arg(to_qstring(OSUtil::getFileName(outputFile))));
}

void DesktopNotifier::jobFailed(const std::string& inputFile, const QString& reason) {
  const QString name = to_qstring(OSUtil::getFileName(inputFile));
  notify(tr("Transcoding failed"), reason.isEmpty() ? name : name + "\n" + reason);
}
