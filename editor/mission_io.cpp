#include "editor/mission_io.h"

#include <algorithm>
#include <vector>

#include "platform/platform_os.h"

bool WriteMissionFile(const std::string& path, const MissionBytes& bytes, std::string* reason) {
    return WriteFileAtomically(path, bytes.data(), bytes.size(), reason);
}

bool ReadMissionFile(const std::string& path, MissionBytes& bytes, size_t* size, std::string* reason) {
    std::vector<uint8_t> read;
    bool ok = ReadFileBytes(path, read, bytes.size(), reason);
    std::copy(read.begin(), read.end(), bytes.begin());
    *size = read.size();
    return ok;
}
