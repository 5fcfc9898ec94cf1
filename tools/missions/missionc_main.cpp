// tessmar-missionc SOURCE.txt OUT.msn: compiles a readable mission source
// into the 294-byte mission file, exactly as the editor would save it.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "tools/missions/mission_source.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: tessmar-missionc SOURCE.txt OUT.msn\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "tessmar-missionc: cannot read %s\n", argv[1]);
        return 1;
    }
    std::ostringstream text;
    text << in.rdbuf();
    MissionSource source;
    std::string error;
    if (!ParseMissionSource(text.str(), source, error)) {
        std::fprintf(stderr, "%s: %s\n", argv[1], error.c_str());
        return 1;
    }
    MissionBytes bytes = EncodeMission(source.image);
    std::FILE* out = std::fopen(argv[2], "wb");
    bool ok = out != nullptr && std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    if (out != nullptr && std::fclose(out) != 0) ok = false;
    if (!ok) {
        std::fprintf(stderr, "tessmar-missionc: cannot write %s\n", argv[2]);
        std::remove(argv[2]);
        return 1;
    }
    return 0;
}
