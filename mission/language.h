// The two languages of every text a player or an author reads: Japanese,
// the original wording, and English.
#pragma once
#include <cstdint>

enum class Language : uint8_t { Japanese, English };
