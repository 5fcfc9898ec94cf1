// Pictures for a person to judge the art by: every sheet at twice its size
// and screens composed the way the game composes them.
#pragma once
#include <string>
#include <vector>

#include "draw/surface.h"

void WritePreviews(const std::string& dir, const Surface& block, const Surface& font, const Surface& logo,
                   const Surface& editor, const Surface& gameIcon, const std::vector<uint32_t>& editorIcon);
