// The how-to-play pages on the rules the missions lean on: sliding a resting
// pair, a pair that splits, what a loop erases, the joiner ring's reach and
// the link action. Each page is a function drawing itself.
#pragma once

inline constexpr int RulePageCount = 5;

// Draws one line of a how-to-play page at (x, y), the keys' labels filled
// in; returns its characters that have no picture or end past the page's
// right margin (8 pixels in from the edge).
int DrawHelpLine(const char* keyed, int x, int y, bool japanese);

// Draws rule page `page` (0..RulePageCount - 1) into the back buffer.
void DrawRulePage(int page, bool japanese);

// Characters of every rule page in the language that no sheet has a
// picture for or that end past the page's right margin (drawing them on
// the way); none is expected.
int RuleCharactersWithoutPicture(bool japanese);
