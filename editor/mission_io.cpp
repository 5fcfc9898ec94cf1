#include "editor/mission_io.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
bool Fail(std::string* reason, int error) {
    *reason = std::strerror(error);
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
}  // namespace

bool WriteMissionFile(const std::string& path, const MissionBytes& bytes, std::string* reason) {
    std::string temp = path + ".tmp-XXXXXX";
    int fd = mkstemp(temp.data());
    if (fd < 0) return Fail(reason, errno);
    size_t done = 0;
    int error = 0;
    while (done < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            error = n < 0 ? errno : ENOSPC;
            break;
        }
        done += size_t(n);
    }
    if (error == 0 && fchmod(fd, ModeFor(path)) != 0) error = errno;
    if (error == 0 && fsync(fd) != 0) error = errno;
    if (close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && rename(temp.c_str(), path.c_str()) != 0) error = errno;
    if (error != 0) {
        unlink(temp.c_str());
        return Fail(reason, error);
    }
    return true;
}

bool ReadMissionFile(const std::string& path, MissionBytes& bytes, size_t* size, std::string* reason) {
    *size = 0;
    // Non-blocking, so that a pipe cannot hang the editor; only regular files are read.
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK);
    if (fd < 0) return Fail(reason, errno);
    struct stat st {};
    if (fstat(fd, &st) != 0) {
        int error = errno;
        close(fd);
        return Fail(reason, error);
    }
    if (!S_ISREG(st.st_mode)) {
        close(fd);
        if (S_ISDIR(st.st_mode)) return Fail(reason, EISDIR);
        *reason = "Not a regular file";
        return false;
    }
    int error = 0;
    while (*size < bytes.size()) {
        ssize_t n = read(fd, bytes.data() + *size, bytes.size() - *size);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) error = errno;
        if (n <= 0) break;
        *size += size_t(n);
    }
    close(fd);
    if (error != 0) return Fail(reason, error);
    return true;
}
