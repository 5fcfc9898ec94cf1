// Mission files on disk for the editor. Both calls report failure with a
// reason the user can read instead of failing silently.
#pragma once
#include <string>

#include "mission/mission_file.h"

// Writes the 294 bytes to a temporary file beside `path` and renames it over
// `path`, so a failed save never leaves a half-written mission behind.
bool WriteMissionFile(const std::string& path, const MissionBytes& bytes, std::string* reason);

// Reads up to 294 bytes of `path` into `bytes`; `*size` receives how many.
// A file that cannot be opened or read (missing, a folder, no permission)
// fails; a short file succeeds with fewer bytes.
bool ReadMissionFile(const std::string& path, MissionBytes& bytes, size_t* size, std::string* reason);
