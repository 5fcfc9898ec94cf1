// Readable mission sources (missions/NN.txt) and their compilation into the
// 294-byte image the editor saves. The format is described in missions/README.md.
#pragma once
#include <string>

#include "mission/mission_file.h"

struct MissionSource {
    std::string title;
    std::string idea;
    MissionImage image;
};

// Parses a source text. On failure returns false and sets `error` to
// "line N: why".
bool ParseMissionSource(const std::string& text, MissionSource& out, std::string& error);

// The block kind a source character stands for (-1 when unknown).
int KindOfCharacter(char c);
// The source character of a block kind ('?' when there is none).
char CharacterOfKind(int kind);
