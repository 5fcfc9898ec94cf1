// A variable the state list must refuse: a string (its bytes are not its
// value) or a record with padding it does not spell out.
#include <string>

#include "shell/program_state.h"

#ifdef LISTED_STRING
std::string Listed;
#else
struct Padded {
    uint8_t kind;
    uint32_t count;
};
Padded Listed;
#endif
const StateVariable Entry = StateEntry("Listed", &Listed);
