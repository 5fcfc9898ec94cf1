// The operating system's files, calendar and wall clock: with platform.h the
// only door of the game's logic to the outside world, and shared with the
// editor, so that both programs read and save files the same way.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Reads up to `max` bytes of a regular file into `out`. A missing file, a
// folder, a device, a pipe or an unreadable file fails: false, with the
// reason in `reason` when given; a read that fails midway leaves what it got
// in `out`. Never blocks.
bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& out, size_t max, std::string* reason = nullptr);

// Creates an empty file if none exists. Does nothing when the path names
// anything else.
void CreateEmptyFileIfMissing(const std::string& path);

// Writes `size` bytes to a temporary file beside `path` and renames it over
// `path`, so a crash or full disk never leaves a torn file. A symbolic link
// is followed: the file it names is replaced (created when missing) and the
// link stays. Temporary files a killed write of the same path left behind
// are removed first. A replaced file keeps its permissions; a new one gets
// 0666 less the umask. On failure the old file stays, `reason` says why (when
// given), and false is returned.
bool WriteFileAtomically(const std::string& path, const void* data, size_t size, std::string* reason);

// Removes the temporary files that writes of `path` (after its links) left
// behind when they were killed: only names of our own pattern that no live
// writer holds; nothing else in the folder is touched.
void RemoveStaleTemporaries(const std::string& path);

// Reads `path` (at most `max` bytes; a missing file gives none), lets
// `change` rewrite the bytes and writes them atomically, all while holding an
// advisory lock on `path`.lock beside it, so that processes updating the same
// file take turns and none loses another's change. `change` returning false
// writes nothing. False, with the reason, when the lock cannot be had within
// `waitMs` (then `*busy` is set, when given), the file is there but
// unreadable or longer than `max` (it is never cut short), or the write
// fails. The lock file is opened read-only, so one that another user made
// still serves.
inline constexpr int LockWaitMilliseconds = 2000;
bool UpdateFileLocked(const std::string& path, size_t max, const std::function<bool(std::vector<uint8_t>&)>& change,
                      std::string* reason, int waitMs = LockWaitMilliseconds, bool* busy = nullptr);

// Names of files written since the list was last cleared (for traces).
extern std::vector<std::string> FilesWritten;

std::string JoinPath(const std::string& folder, const std::string& name);
std::string CurrentDirectory();

// Folders: whether one exists, whether it holds a file whose name ends in
// `suffix`, making one with its parents, entering one.
bool IsFolder(const std::string& path);
bool FolderHasFileEndingIn(const std::string& path, const std::string& suffix);
// The names of the regular files (or links to them) in a folder that end
// in `suffix`, sorted as a person reads them (case aside); none for a
// missing or unreadable folder.
std::vector<std::string> FilesEndingIn(const std::string& path, const std::string& suffix);
void MakeFolders(const std::string& path);
bool EnterFolder(const std::string& path);
// Makes `path` with its parents when missing and checks that files can be
// made in it; false with the reason when it is not a folder or not writable.
bool MakeWritableFolder(const std::string& path, std::string* reason);
// Whether two paths name the same existing folder.
bool SameFolder(const std::string& a, const std::string& b);

// The folder of the running program's executable, or empty when unknown.
std::string ExecutableFolder();

// A day of the local calendar.
struct CalendarDay {
    int year;   // e.g. 2026
    int month;  // 1..12
    int day;    // 1..31
};
CalendarDay SystemToday();

// Seconds of the wall clock, to seed the random numbers with.
unsigned WallClockSeed();
