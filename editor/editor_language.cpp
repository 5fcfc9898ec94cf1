#include "editor/editor_language.h"

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <langinfo.h>
#include <string>
#include <vector>

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "platform/platform_os.h"

std::string SettingsFilePath() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::string folder;
    if (config != nullptr && config[0] == '/') {
        folder = config;
    } else {
        const char* home = std::getenv("HOME");
        if (home == nullptr || home[0] == '\0') return {};
        folder = JoinPath(home, ".config");
    }
    return JoinPath(JoinPath(folder, "tessmar"), "settings.conf");
}

std::string LanguageLine(const std::string& settings) {
    auto trim = [](std::string s) {
        size_t a = s.find_first_not_of(" \t\r"), b = s.find_last_not_of(" \t\r");
        return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
    };
    size_t start = 0;
    while (start < settings.size()) {
        size_t end = settings.find('\n', start);
        if (end == std::string::npos) end = settings.size();
        std::string line = settings.substr(start, end - start);
        size_t equals = line.find('=');
        if (equals != std::string::npos && trim(line.substr(0, equals)) == "language")
            return trim(line.substr(equals + 1));
        start = end + 1;
    }
    return {};
}

std::string SettingsLanguage(const std::string& path) {
    if (path.empty()) return {};
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(path, bytes, 64 * 1024)) return {};
    return LanguageLine(std::string(bytes.begin(), bytes.end()));
}

Language EditorLanguage(const char* option) {
    std::string setting = SettingsLanguage(SettingsFilePath());
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
