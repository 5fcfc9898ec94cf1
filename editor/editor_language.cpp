#include "editor/editor_language.h"

#include <clocale>
#include <cstring>

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

void UseJapaneseTexts(QApplication& app) {
    QLocale japanese(QLocale::Japanese, QLocale::Japan);
    QLocale::setDefault(japanese);
    static QTranslator qtTexts;
    if (qtTexts.load(japanese, QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTexts);
    // gettext takes the language from LANGUAGE unless the messages locale is
    // plain C, whose texts are never translated.
    qputenv("LANGUAGE", "ja");
    const char* messages = std::setlocale(LC_MESSAGES, nullptr);
    if (messages == nullptr || std::strcmp(messages, "C") == 0 || std::strcmp(messages, "POSIX") == 0)
        std::setlocale(LC_MESSAGES, "C.UTF-8");
}
