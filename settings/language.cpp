#include "settings/language.h"

#include <cstdlib>

std::optional<Language> ParseLanguage(std::string_view name) {
    if (name == "ja") return Language::Japanese;
    if (name == "en") return Language::English;
    return std::nullopt;
}

std::string_view LanguageName(Language language) { return language == Language::Japanese ? "ja" : "en"; }

static bool Given(const char* s) { return s != nullptr && *s != '\0'; }

Language ChooseLanguage(const char* option, const char* setting, const char* lcAll, const char* lcMessages,
                        const char* lang) {
    for (const char* choice : {option, setting})
        if (Given(choice))
            if (auto l = ParseLanguage(choice)) return *l;
    for (const char* locale : {lcAll, lcMessages, lang})
        if (Given(locale)) return std::string_view(locale).starts_with("ja") ? Language::Japanese : Language::English;
    return Language::English;
}

Language ChooseLanguage(const char* option, const char* setting) {
    return ChooseLanguage(option, setting, std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
}
