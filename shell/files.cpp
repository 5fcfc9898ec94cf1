#include "shell/files.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::vector<std::string> FilesWritten;

bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& out, size_t max) {
    out.clear();
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return false;
    }
    size_t want = size_t(st.st_size) < max ? size_t(st.st_size) : max;
    out.resize(want);
    size_t got = 0;
    while (got < want) {
        ssize_t n = read(fd, out.data() + got, want - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += size_t(n);
    }
    out.resize(got);
    close(fd);
    return true;
}

void CreateEmptyFileIfMissing(const std::string& path) {
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd >= 0) close(fd);
}

bool WriteFileAtomically(const std::string& path, const void* data, size_t size, std::string* error) {
    std::string temp = path + ".tmp-XXXXXX";
    int fd = mkstemp(temp.data());
    if (fd < 0) {
        if (error) *error = std::strerror(errno);
        return false;
    }
    const auto* p = static_cast<const uint8_t*>(data);
    size_t done = 0;
    bool ok = true;
    while (done < size) {
        ssize_t n = write(fd, p + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = false;
            break;
        }
        done += size_t(n);
    }
    if (ok && fsync(fd) != 0) ok = false;
    int savedErrno = errno;
    fchmod(fd, 0644);
    if (close(fd) != 0 && ok) {
        ok = false;
        savedErrno = errno;
    }
    if (ok && rename(temp.c_str(), path.c_str()) != 0) {
        ok = false;
        savedErrno = errno;
    }
    if (!ok) {
        unlink(temp.c_str());
        if (error) *error = std::strerror(savedErrno ? savedErrno : EIO);
        return false;
    }
    FilesWritten.push_back(path);
    return true;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    if (folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

std::string CurrentDirectory() {
    char buffer[4096];
    if (getcwd(buffer, sizeof buffer) == nullptr) return ".";
    return buffer;
}
