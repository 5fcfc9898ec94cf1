// Puts every program-wide variable back to its program-start value (tests).
#pragma once

void ResetProgramState();
