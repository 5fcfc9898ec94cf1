// The records screen: the five places of the best-score table.
#pragma once
#include <cstdint>

// The five places of the table, one every 48 pixels from y = 128: number and
// name with `format` ("%d. %s") at x, "-" for an empty name, the score ending
// at x = right. The records screen and the name entry differ only in these.
void DrawRecordRows(const char* format, int x, int right);
