#include "screens/records_file.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/data_folder.h"
#include "platform/platform_os.h"
#include "screens/notice.h"

constinit RecordEntry RecordTable[6]{};
constinit uint8_t ClearedFlags[100];
constinit uint8_t ClearedCount;

// The file always lives in the folder the game started in, whatever folder
// an open-file dialog left current.
static std::string RecordsPath() { return JoinPath(StartDirectory, "rcd.dat"); }

void EncodeRecords(uint8_t out[RecordsFileSize]) {
    for (int i = 0; i < 6; ++i) {
        uint8_t* e = out + 16 * i;
        std::memcpy(e, RecordTable[i].name, 12);
        uint32_t s = RecordTable[i].score;
        e[12] = uint8_t(s);
        e[13] = uint8_t(s >> 8);
        e[14] = uint8_t(s >> 16);
        e[15] = uint8_t(s >> 24);
    }
    std::memcpy(out + 96, ClearedFlags, 100);
    out[196] = ClearedCount;
}

void DecodeRecords(const uint8_t* bytes, int size) {
    uint8_t image[RecordsFileSize];
    EncodeRecords(image);
    if (size > 0) std::memcpy(image, bytes, size_t(size < RecordsFileSize ? size : RecordsFileSize));
    for (int i = 0; i < 6; ++i) {
        const uint8_t* e = image + 16 * i;
        std::memcpy(RecordTable[i].name, e, 12);
        RecordTable[i].score = uint32_t(e[12]) | uint32_t(e[13]) << 8 | uint32_t(e[14]) << 16 | uint32_t(e[15]) << 24;
    }
    std::memcpy(ClearedFlags, image + 96, 100);
    ClearedCount = image[196];
}

void CopyShownName(const RecordEntry& entry, char out[ShownNameSize]) {
    const void* zero = std::memchr(entry.name, 0, sizeof entry.name);
    size_t length = zero ? size_t(static_cast<const uint8_t*>(zero) - entry.name) : 8;
    std::memcpy(out, entry.name, length);
    out[length] = '\0';
}

void ReadRecordsFile() {
    std::string path = RecordsPath();
    RemoveStaleTemporaries(path);  // left by a write that was killed
    CreateEmptyFileIfMissing(path);
    std::vector<uint8_t> bytes;
    // What a failing read got still counts, as a short file does; nothing read changes nothing.
    ReadFileBytes(path, bytes, RecordsFileSize);
    DecodeRecords(bytes.data(), int(bytes.size()));
}

bool WriteRecordsFile() {
    uint8_t image[RecordsFileSize];
    EncodeRecords(image);
    std::string error;
    if (WriteFileAtomically(RecordsPath(), image, sizeof image, &error)) return true;
    std::fprintf(stderr, "tessmar: could not write %s: %s\n", RecordsPath().c_str(), error.c_str());
    ShowNotice(NoticeRecordsNotSaved);  // the old file stays; the game goes on
    return false;
}
