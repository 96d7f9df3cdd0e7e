#pragma once

#include <QString>
#include <string>

class QTranslator;

// The translation file for an interface language, relative to the program:
// "translations/qt_cn.qm" for "cn", "translations/qt_en.qm" for "en", else empty.
QString translation_file_for(const std::string& language);

// Where the translation file is found: the working directory first, then the
// executable's folder. Empty when it is in neither or the name is empty.
QString locate_translation_file(const QString& relative_path);

// Loads the translation for the language into the translator; a missing file
// leaves it empty (the interface stays in English). Returns whether it loaded.
bool load_interface_translation(QTranslator& translator, const std::string& language);

// Qt's own texts (the file dialog, the standard buttons of message boxes) for the
// language: Qt's installed translations first, then the program's translations
// folder. Returns whether it loaded; without it those texts stay in English.
bool load_qt_translation(QTranslator& translator, const std::string& language);
