// SDL's names of the keys by scancode and of the pad buttons, without SDL:
// for the platforms that have no keyboard or pad of their own.
#pragma once
#include <string>

// "" for a key without a name.
std::string KeyNameOf(int key);
// The first key of that name, in any case; -1 for none.
int KeyOfNamed(const std::string& name);

// SDL's game controller name of a pad button ("" for none), and the button
// of a name (in any case, as SDL reads it; -1 for none).
std::string PadButtonNameOf(int button);
int PadButtonOfNamed(const std::string& name);
