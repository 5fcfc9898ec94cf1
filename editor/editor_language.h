// The editor's language: the command line's choice, then the settings file's
// language= line, then the locale (the rule the game follows too). Its own
// texts come from the compiled translations built into the program, Qt's
// from Qt's translations, and the C library's error texts follow as far as
// the system has them.
#pragma once
#include <string>

#include <QString>

#include "settings/language.h"

class QApplication;

// The settings file, ${XDG_CONFIG_HOME:-$HOME/.config}/tessmar/settings.conf,
// found and read by the game's own rules (settings/settings.h).
std::string SettingsFilePath();

// The language for a --language value (null when not given).
Language EditorLanguage(const char* option);

// Installs the editor's and Qt's translations for `language` (removing those
// of an earlier call) and points the C library's messages at it.
void UseLanguage(QApplication& app, Language language);
// The language in use, as the game's --language takes it: "ja" or "en".
QString LanguageOption();
