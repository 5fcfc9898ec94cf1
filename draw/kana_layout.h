// The katakana sheet: the katakana the game writes beyond its goal labels
// (the how-to-play pages), 16 x 16 cells, 16 to a row, in the order of
// KanaOrder; every mask KanaMaskOffset lower. The art generator draws it in
// this order and the text drawing finds a character's cell by it.
#pragma once
#include <string_view>

inline constexpr std::string_view KanaOrder = "レンサセヨブプロッツクケドトウジニワスベテメキノルーカナヒエラアイオコシソタチハフヘホマミムモヤュョリヲガギグゲゴズダデバパビピペボポ";
inline constexpr int KanaSheetWidth = 256, KanaRows = 5, KanaMaskOffset = 16 * KanaRows;
inline constexpr int KanaSheetHeight = 2 * KanaMaskOffset;
