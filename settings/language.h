// Which language every text a player or author reads is in: the rule
// shared by the game and the editor.
#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

// Japanese, the original wording, and English.
enum class Language : uint8_t { Japanese, English };

// "ja" or "en"; anything else is no choice.
std::optional<Language> ParseLanguage(std::string_view name);
std::string_view LanguageName(Language language);

// A command-line choice first, then a settings file's, then the locale: the
// first of LC_ALL, LC_MESSAGES and LANG that is set and not empty, Japanese
// when it starts with "ja" (installed or not), English otherwise, the C and
// POSIX locales and no locale at all included. Null or empty strings count
// as not given.
Language ChooseLanguage(const char* option, const char* setting, const char* lcAll, const char* lcMessages,
                        const char* lang);
// The same with the locale taken from the environment.
Language ChooseLanguage(const char* option, const char* setting);
