#include <QtGlobal>

// Status texts the job engine passes through QObject::tr. The engine has no
// windows of its own, so they are named here to keep them in the translation files.
[[maybe_unused]] static const char* const kEngineTexts[] = {
    QT_TRANSLATE_NOOP("QObject", "queueing"),
    QT_TRANSLATE_NOOP("QObject", "Failed"),
};
