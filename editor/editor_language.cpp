#include "editor/editor_language.h"

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <langinfo.h>
#include <string>

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "platform/platform_os.h"
#include "settings/settings.h"

std::string SettingsFilePath() { return SettingsFilePath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME")); }

Language EditorLanguage(const char* option) {
    std::string setting = LoadDisplaySettings(SettingsFilePath()).language;
    return ChooseLanguage(option, setting.c_str());
}

namespace {
Language CurrentLanguage = Language::English;
}

QString LanguageOption() {
    std::string_view name = LanguageName(CurrentLanguage);
    return QString::fromLatin1(name.data(), qsizetype(name.size()));
}

void UseLanguage(QApplication& app, Language language) {
    static QTranslator qtTexts, ownTexts;
    app.removeTranslator(&qtTexts);
    app.removeTranslator(&ownTexts);
    CurrentLanguage = language;
    bool japanese = language == Language::Japanese;
    QLocale locale = japanese ? QLocale(QLocale::Japanese, QLocale::Japan) : QLocale(QLocale::English, QLocale::UnitedStates);
    QLocale::setDefault(locale);
    if (japanese) {
        if (qtTexts.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            app.installTranslator(&qtTexts);
    }
    // Built into the program as a resource: found in the build folder and
    // installed alike. The English one holds only the plural forms of texts
    // written in the code with a count.
    if (ownTexts.load(japanese ? QStringLiteral(":/i18n/tessmar_editor_ja.qm") : QStringLiteral(":/i18n/tessmar_editor_en.qm")))
        app.installTranslator(&ownTexts);
    // gettext takes the language from LANGUAGE unless the messages locale is
    // plain C, whose texts are never translated; a change of the locale
    // (through C and back) makes it forget the texts it already looked up.
    // It converts them to
    // the character set of LC_CTYPE, which must be UTF-8 as Qt reads them
    // (a C or EUC-JP locale would give question marks or mojibake).
    qputenv("LANGUAGE", japanese ? "ja" : "en");
    const char* current = std::setlocale(LC_MESSAGES, nullptr);
    std::string messages = current != nullptr ? current : "C";
    if (messages == "C" || messages == "POSIX") messages = "C.UTF-8";
    std::setlocale(LC_MESSAGES, "C");
    std::setlocale(LC_MESSAGES, messages.c_str());
    if (std::strcmp(nl_langinfo(CODESET), "UTF-8") != 0) std::setlocale(LC_CTYPE, "C.UTF-8");
}
