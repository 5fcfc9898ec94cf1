#include "tests/fuzz/fuzz_support.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

bool FuzzDrawPixels = true;

std::string EnterScratchFolder(const char* name) {
    static std::string folder;
    if (!folder.empty()) return folder;
    std::string base = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
    std::string pattern = base + "/tessmar-fuzz-" + name + "-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr || chdir(pattern.c_str()) != 0) std::abort();
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
