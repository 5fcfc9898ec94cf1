#include "platform/platform_os.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <strings.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <thread>

std::vector<std::string> FilesWritten;

namespace {
bool Fail(std::string* reason, int error) {
    if (reason) *reason = std::strerror(error);
    return false;
}

// New files get the usual permissions (0666 less the umask); a replaced file
// keeps its own.
mode_t ModeFor(const std::string& path) {
    struct stat st;
    if (stat(path.c_str(), &st) == 0) return st.st_mode & 07777;
    mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

constexpr int MaxLinkHops = 40;  // as the kernel allows before ELOOP
// Our temporaries are named `<file>.tmp-tessmar-XXXXXX`, so that a user's own
// `rcd.dat.tmp-backup` never looks like one.
constexpr const char* TemporarySuffix = ".tmp-tessmar-";
constexpr size_t TemporaryRandomLength = 6;  // the XXXXXX of mkstemp

std::string FolderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Where a write to `path` really goes: the end of its chain of symbolic
// links, so that the link stays and its target gets the new bytes (a
// dangling link's target is created). False, with errno, for a loop.
bool FollowLinks(std::string& path) {
    for (int hops = 0; hops < MaxLinkHops; ++hops) {
        struct stat st {};
        if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
        char target[PATH_MAX];
        ssize_t n = readlink(path.c_str(), target, sizeof target);
        if (n < 0) return false;
        if (size_t(n) >= sizeof target) {
            errno = ENAMETOOLONG;
            return false;
        }
        std::string to(target, size_t(n));
        path = to.front() == '/' ? to : JoinPath(FolderOf(path), to);
    }
    errno = ELOOP;
    return false;
}

// A name mkstemp made from `name`: the suffix and six more characters.
bool IsTemporaryOf(const char* entry, const std::string& name) {
    std::string prefix = name + TemporarySuffix;
    return std::strncmp(entry, prefix.c_str(), prefix.size()) == 0 &&
           std::strlen(entry) == prefix.size() + TemporaryRandomLength;
}
}  // namespace

// A writer holds an advisory lock on its temporary from just after making it
// until the rename, so a temporary nobody holds was left by a write that
// died. The writer checks, once it holds the lock, that its file was not
// removed in the moment before (see WriteFileAtomically).
void RemoveStaleTemporaries(const std::string& path) {
    std::string real = path;
    if (!FollowLinks(real)) return;
    std::string folder = FolderOf(real), name = NameOf(real);
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) return;
    while (const dirent* entry = readdir(dir)) {
        if (!IsTemporaryOf(entry->d_name, name)) continue;
        std::string stale = JoinPath(folder, entry->d_name);
        int fd = open(stale.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0) continue;
        struct stat st {};
        if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0) unlink(stale.c_str());
        close(fd);  // releases the lock
    }
    closedir(dir);
}

bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& out, size_t max, std::string* reason) {
    out.clear();
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return Fail(reason, errno);
    struct stat st {};
    // errno only means something when fstat itself failed: after a
    // successful call it still holds whatever an earlier call left there.
    int statError = fstat(fd, &st) != 0 ? errno : 0;
    if (statError != 0 || !S_ISREG(st.st_mode)) {
        int error = statError;
        close(fd);
        if (error == 0 && S_ISDIR(st.st_mode)) return Fail(reason, EISDIR);
        if (error == 0) {
            if (reason) *reason = "Not a regular file";
            return false;
        }
        return Fail(reason, error);
    }
    size_t want = size_t(st.st_size) < max ? size_t(st.st_size) : max;
    out.resize(want);
    size_t got = 0;
    int error = 0;
    while (got < want) {
        ssize_t n = read(fd, out.data() + got, want - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) error = errno;
        if (n <= 0) break;
        got += size_t(n);
    }
    out.resize(got);
    close(fd);
    return error == 0 || Fail(reason, error);
}

void CreateEmptyFileIfMissing(const std::string& path) {
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd >= 0) close(fd);
}

bool WriteFileAtomically(const std::string& path, const void* data, size_t size, std::string* reason) {
    std::string real = path;
    if (!FollowLinks(real)) return Fail(reason, errno);
    RemoveStaleTemporaries(real);
    std::string temp;
    int fd = -1;
    // Another process's cleaner may remove a fresh temporary before this
    // one locks it: then the lock is on a file without a name, and a new one
    // is made. Losing that race many times running takes a cleaner in a
    // tight loop and a writer that keeps being descheduled; a generous number
    // of tries makes it practically impossible.
    for (int attempt = 0; attempt < 64 && fd < 0; ++attempt) {
        temp = real + TemporarySuffix + "XXXXXX";
        fd = mkstemp(temp.data());
        if (fd < 0) return Fail(reason, errno);
        struct stat st {};
        if (flock(fd, LOCK_EX) != 0 || fstat(fd, &st) != 0 || st.st_nlink == 0) {
            close(fd);
            fd = -1;
        }
    }
    if (fd < 0) return Fail(reason, ENOENT);
    const auto* p = static_cast<const uint8_t*>(data);
    size_t done = 0;
    int error = 0;
    while (done < size) {
        ssize_t n = write(fd, p + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            error = n < 0 ? errno : ENOSPC;
            break;
        }
        done += size_t(n);
    }
    if (error == 0 && fchmod(fd, ModeFor(real)) != 0) error = errno;
    if (error == 0 && fsync(fd) != 0) error = errno;
    if (error == 0 && rename(temp.c_str(), real.c_str()) != 0) error = errno;
    if (error != 0) unlink(temp.c_str());
    if (close(fd) != 0 && error == 0) error = errno;  // the lock goes with the descriptor
    if (error != 0) return Fail(reason, error);
    FilesWritten.push_back(path);
    return true;
}

bool UpdateFileLocked(const std::string& path, size_t max, const std::function<bool(std::vector<uint8_t>&)>& change,
                      std::string* reason, int waitMs, bool* busy) {
    if (busy) *busy = false;
    std::string real = path;
    if (!FollowLinks(real)) return Fail(reason, errno);
    std::string lockPath = real + ".lock";
    // Read-only is enough for the lock: a lock file another user made (in a
    // shared folder) does not block a records file this user may write.
    int lock = open(lockPath.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (lock < 0) return Fail(reason, errno);
    // Another game holds it only for its own read and write; one that hangs
    // does not hang this one.
    bool locked = false;
    for (int waited = 0; !(locked = flock(lock, LOCK_EX | LOCK_NB) == 0) && waited < waitMs; waited += 5)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    if (!locked) {
        close(lock);
        if (busy) *busy = true;
        if (reason) *reason = "held by another process (" + lockPath + ")";
        return false;
    }
    std::vector<uint8_t> bytes;
    bool ok = true;
    struct stat st {};
    if (lstat(real.c_str(), &st) == 0 && !ReadFileBytes(real, bytes, max + 1, reason)) ok = false;  // never replaced blindly
    if (ok && bytes.size() > max) {  // never cut short either
        if (reason) *reason = "longer than " + std::to_string(max) + " bytes, kept as it is";
        ok = false;
    }
    if (ok && change(bytes)) ok = WriteFileAtomically(path, bytes.data(), bytes.size(), reason);
    close(lock);
    return ok;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    if (folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

std::string CurrentDirectory() {
    std::error_code error;
    std::filesystem::path here = std::filesystem::current_path(error);
    return error ? "." : here.string();
}

bool IsFolder(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

bool FolderHasFileEndingIn(const std::string& path, const std::string& suffix) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(path, error)) {
        std::string name = entry.path().filename().string();
        if (name.size() > suffix.size() && name.ends_with(suffix)) return true;
    }
    return false;
}

std::vector<std::string> FilesEndingIn(const std::string& path, const std::string& suffix) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(path, error)) {
        std::string name = entry.path().filename().string();
        if (name.size() > suffix.size() && name.ends_with(suffix) && entry.is_regular_file(error))
            names.push_back(std::move(name));
    }
    // Letters in either case together, ties by their bytes.
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        int order = strcasecmp(a.c_str(), b.c_str());
        return order != 0 ? order < 0 : a < b;
    });
    return names;
}

// Folders made for the user's own files are the user's alone, as the XDG
// base directory rules ask (0700); folders already there keep their modes.
void MakeFolders(const std::string& path) {
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
        mkdir(path.substr(0, slash).c_str(), 0700);
    mkdir(path.c_str(), 0700);
}

bool EnterFolder(const std::string& path) { return chdir(path.c_str()) == 0; }

bool MakeWritableFolder(const std::string& path, std::string* reason) {
    MakeFolders(path);
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return Fail(reason, errno);
    if (!S_ISDIR(st.st_mode)) return Fail(reason, ENOTDIR);
    if (access(path.c_str(), W_OK | X_OK) != 0) return Fail(reason, errno);
    return true;
}

bool SameFolder(const std::string& a, const std::string& b) {
    std::error_code error;
    return IsFolder(a) && std::filesystem::equivalent(a, b, error);
}

std::string ExecutableFolder() {
    std::error_code error;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? "" : exe.parent_path().string();
}

CalendarDay SystemToday() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

unsigned WallClockSeed() { return unsigned(std::time(nullptr)); }
