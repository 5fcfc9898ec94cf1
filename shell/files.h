// Plain file access for the game's data files (records, missions, sounds).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Reads up to `max` bytes of a regular file into `out`. A missing file, a
// directory, a device or an unreadable file gives false and leaves `out` empty.
bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& out, size_t max);

// Creates an empty file if none exists (the open-or-create of the old
// platform). Does nothing when the path names anything else.
void CreateEmptyFileIfMissing(const std::string& path);

// Writes `size` bytes to a temporary file beside `path` and renames it over
// `path`, so a crash or full disk never leaves a torn file. On failure the
// old file stays, `error` says why, and false is returned.
bool WriteFileAtomically(const std::string& path, const void* data, size_t size, std::string* error);

// Names of files written since the list was last cleared (for traces).
extern std::vector<std::string> FilesWritten;

std::string JoinPath(const std::string& folder, const std::string& name);
std::string CurrentDirectory();
