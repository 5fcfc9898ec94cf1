// Reading a whole decimal number written alone: script lines, settings,
// command-line options and mission sources all read numbers this way.
#pragma once
#include <charconv>
#include <string_view>

// True when `text` is a decimal number from low to high and nothing else.
inline bool ParseNumber(std::string_view text, long long low, long long high, long long& value) {
    long long v = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || v < low || v > high) return false;
    value = v;
    return true;
}
