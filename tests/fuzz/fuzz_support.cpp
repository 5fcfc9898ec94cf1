#include "tests/fuzz/fuzz_support.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

bool FuzzDrawPixels = true;

std::string EnterScratchFolder(const char* name) {
    static std::string folder;
    if (!folder.empty()) return folder;
    // Memory-backed when it can be written, else the usual temporary folder.
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern;
    for (std::string base : {std::string("/dev/shm"), std::string(tmp && *tmp ? tmp : "/tmp"), std::string("/tmp")}) {
        pattern = base + "/tessmar-fuzz-" + name + "-XXXXXX";
        if (mkdtemp(pattern.data()) != nullptr) break;
        pattern.clear();
    }
    if (pattern.empty() || chdir(pattern.c_str()) != 0) {
        std::fprintf(stderr, "tessmar-fuzz: cannot make a scratch folder in /dev/shm, $TMPDIR or /tmp: %s\n",
                     std::strerror(errno));
        std::abort();
    }
    folder = pattern;
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    });
    return folder;
}

void WriteScratchFile(const char* path, const uint8_t* bytes, size_t size) {
    int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) std::abort();
    if (size > 0 && write(fd, bytes, size) != ssize_t(size)) std::abort();
    close(fd);
}
