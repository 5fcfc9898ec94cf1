// SDL's names of the keys by scancode, without SDL: for the platforms that
// have no keyboard of their own.
#pragma once
#include <string>

// "" for a key without a name.
std::string KeyNameOf(int key);
// The first key of that name, in any case; -1 for none.
int KeyOfNamed(const std::string& name);
