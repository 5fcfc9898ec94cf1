// The reset that starts every game clean.
#pragma once

void NewGame();
