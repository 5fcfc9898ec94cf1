#include "tools/headless/trace.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "platform/platform.h"
#include "platform/platform_headless.h"
#include "platform/platform_os.h"
#include "rules/board.h"
#include "rules/falling_pair.h"
#include "rules/fish.h"
#include "rules/link.h"
#include "shell/daily_maker.h"
#include "shell/program_state.h"
#include "tools/fnv.h"
#include "tools/json_text.h"

namespace {
struct JsonWriter {
    std::string out = "{";
    void Key(const char* k) {
        if (out.size() > 1) out += ',';
        out += '"';
        out += k;
        out += "\":";
    }
    void Number(const char* k, long long v) {
        Key(k);
        out += std::to_string(v);
    }
    void List(const char* k, const std::vector<std::string>& items) {
        Key(k);
        out += '[';
        for (size_t i = 0; i < items.size(); ++i) {
            if (i) out += ',';
            out += JsonString(items[i]);
        }
        out += ']';
    }
};

// A listed variable under its own name: numbers as numbers (floats truncated
// toward zero, as positions become pixels), records and arrays as a 64-bit
// FNV-1a checksum of their bytes, so two runs compare frame by frame.
void Value(JsonWriter& j, const StateVariable& v) {
    const auto* bytes = static_cast<const uint8_t*>(v.address);
    uint64_t u = 0;
    for (size_t i = 0; i < v.size && i < 8; ++i) u |= uint64_t(bytes[i]) << (8 * i);
    switch (v.shape) {
        case StateShape::Unsigned: j.Number(v.name, (long long)u); break;
        case StateShape::Signed: {
            const unsigned unused = unsigned(64 - 8 * v.size);  // sign-extend from the variable's width
            j.Number(v.name, (long long)(int64_t(u << unused) >> unused));
            break;
        }
        case StateShape::Float: {
            float f;
            std::memcpy(&f, bytes, sizeof f);
            j.Number(v.name, int32_t(f));
            break;
        }
        case StateShape::Bytes: {
            uint64_t h = FnvOffsetBasis;
            for (size_t i = 0; i < v.size; ++i) h = FnvAdd(h, bytes[i]);
            char text[17];
            std::snprintf(text, sizeof text, "%016llx", (unsigned long long)h);
            j.Key(v.name);
            j.out += JsonString(text);
            break;
        }
    }
}
}  // namespace

std::string TraceObject(int frame, bool withBoard) {
    JsonWriter j;
    j.Number("frame", frame);
    j.Number("Ticks", PlatformTicks());  // virtual clock after the frame
    for (const StateVariable& v : ProgramState) Value(j, v);
    // Readable views of records the list gives as checksums.
    j.Number("FishActive", CountActiveFish());
    j.Number("FallingPair.col1", FallingPair.col1);
    j.Number("FallingPair.row1", FallingPair.row1);
    j.Number("FallingPair.col2", FallingPair.col2);
    j.Number("FallingPair.row2", FallingPair.row2);
    j.Number("FallingPair.kind1", FallingPair.kind1);
    j.Number("FallingPair.kind2", FallingPair.kind2);
    j.Number("FallingPair.orientation", FallingPair.orientation);
    j.Number("LinkSprite.phase", LinkSprite.phase);
    j.Number("DailyBoardsTried", DailyBoardsTried);
    j.List("sounds", Headless.sounds);
    j.List("music", Headless.music);
    j.List("files", FilesWritten);
    if (withBoard) {
        std::vector<std::string> rows;
        for (int r = -2; r <= 11; ++r) {
            char row[9];
            for (int c = 0; c < 8; ++c) std::snprintf(row + c, 2, "%x", GetKind(c, r) & 0xF);
            rows.emplace_back(row, 8);
        }
        j.List("board", rows);
        // What the game last put on the clipboard (the day's result line).
        std::vector<std::string> clipboard;
        if (!Headless.clipboard.empty()) clipboard.push_back(Headless.clipboard);
        j.List("clipboard", clipboard);
    }
    return j.out + "}";
}
