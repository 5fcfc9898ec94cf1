#include "shell/program_state.h"

#include <cstring>

#include "platform/platform_os.h"
#include "screens/pause.h"
#include "shell/startup.h"

namespace {
#define TESSMAR_STATE_ENTRY(v) StateEntry(#v, &(v)),
const StateVariable List[] = {PROGRAM_STATE(TESSMAR_STATE_ENTRY)};
#undef TESSMAR_STATE_ENTRY

// Every listed variable is constant-initialised, so this dynamic initialiser
// sees the program-start values whatever the order of the other files.
struct StartImage {
    ProgramStateImage bytes;
    StartImage() { SaveProgramState(bytes); }
};
const StartImage Start;
}  // namespace

const std::span<const StateVariable> ProgramState(List);

void SaveProgramState(ProgramStateImage& out) {
    uint8_t* at = out;
    for (const StateVariable& v : List) {
        std::memcpy(at, v.address, v.size);
        at += v.size;
    }
}

void RestoreProgramState(const ProgramStateImage& in) {
    const uint8_t* at = in;
    for (const StateVariable& v : List) {
        std::memcpy(v.address, at, v.size);
        at += v.size;
    }
}

void ResetListedState() { RestoreProgramState(Start.bytes); }

void ResetProgramState() {
    ResetListedState();
    ResetStartupState();
    FilesWritten.clear();
}
