// The editor's save, without its window, over and over: loads each mission
// file named in turn and saves it to OUT as the SAVE command does, COUNT
// times (0: until killed). The kill test stops it at random moments.
//   save_missions OUT COUNT MISSION...
#include <cstdio>
#include <cstdlib>
#include <string>

#include "editor/editor_model.h"
#include "editor/mission_io.h"

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: save_missions OUT COUNT MISSION...\n");
        return 2;
    }
    std::string out = argv[1];
    long count = std::atol(argv[2]);
    for (long n = 0; count == 0 || n < count; ++n) {
        const char* in = argv[3 + n % (argc - 3)];
        MissionBytes bytes{};
        size_t size = 0;
        std::string reason;
        if (!ReadMissionFile(in, bytes, &size, &reason)) {
            std::fprintf(stderr, "save_missions: %s: %s\n", in, reason.c_str());
            return 1;
        }
        LoadEditorMission(bytes.data(), size);
        SetPieceLimitFromScrollBar();
        SetGoalForSave(RadioForLoadedType(), std::to_string(EditorMission.target));
        if (!WriteMissionFile(out, EditorMissionBytes(), &reason)) {
            std::fprintf(stderr, "save_missions: %s: %s\n", out.c_str(), reason.c_str());
            return 1;
        }
    }
    return 0;
}
