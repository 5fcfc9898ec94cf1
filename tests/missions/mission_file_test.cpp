// The mission file image: where every block lands and that a round trip is exact.
#include <numeric>

#include <gtest/gtest.h>

#include "mission/mission_file.h"

namespace {

MissionImage SampleMission() {
    MissionImage m;
    for (int c = -1; c <= 8; ++c)
        for (int r = -2; r <= 12; ++r)
            m.kind[MissionKindIndex(c, r)] = (c < 0 || c > 7 || r == 12) ? 13 : uint8_t((c * 3 + r + 2) % 12);
    m.frame[MissionFrameIndex(2, 5)] = 1;
    m.frame[MissionFrameIndex(7, 11)] = 1;
    for (int i = 0; i < 16; ++i) m.queueKind[i] = uint8_t(1 + i % 12);
    m.queueFrame[MissionQueueIndex(3, 1)] = 1;
    m.target = 0x12345678;
    m.type = 5;
    m.pieceLimit = 6;
    m.padding = {0xAB, 0xCD};
    return m;
}

TEST(MissionFile, BlocksSitAtTheirOffsets) {
    MissionImage m;
    m.kind[MissionKindIndex(-1, -2)] = 13;   // first byte of the file
    m.kind[MissionKindIndex(3, 4)] = 7;      // (3 + 1) * 15 + 6 = 66
    m.kind[MissionKindIndex(8, 12)] = 13;    // last kind byte, 149
    m.frame[MissionFrameIndex(0, -1)] = 1;   // 150
    m.frame[MissionFrameIndex(2, 5)] = 1;    // 150 + 26 + 6 = 182
    m.frame[MissionFrameIndex(7, 11)] = 1;   // 253
    m.queueKind[MissionQueueIndex(0, 0)] = 11;  // 254
    m.queueKind[MissionQueueIndex(5, 1)] = 12;  // 254 + 11 = 265
    m.queueFrame[MissionQueueIndex(7, 1)] = 1;  // 285
    m.target = 0x0A0B0C0D;
    m.type = 3;
    m.pieceLimit = 8;
    m.padding = {0x11, 0x22};

    MissionBytes b = EncodeMission(m);
    ASSERT_EQ(b.size(), 294u);
    EXPECT_EQ(b[0], 13);
    EXPECT_EQ(b[66], 7);
    EXPECT_EQ(b[149], 13);
    EXPECT_EQ(b[150], 1);
    EXPECT_EQ(b[182], 1);
    EXPECT_EQ(b[253], 1);
    EXPECT_EQ(b[254], 11);
    EXPECT_EQ(b[265], 12);
    EXPECT_EQ(b[285], 1);
    // Target little-endian, then type, pieceLimit and the two padding bytes.
    EXPECT_EQ(b[286], 0x0D);
    EXPECT_EQ(b[287], 0x0C);
    EXPECT_EQ(b[288], 0x0B);
    EXPECT_EQ(b[289], 0x0A);
    EXPECT_EQ(b[290], 3);
    EXPECT_EQ(b[291], 8);
    EXPECT_EQ(b[292], 0x11);
    EXPECT_EQ(b[293], 0x22);
    // Nothing else was written.
    int nonZero = 0;
    for (uint8_t v : b) nonZero += v != 0;
    EXPECT_EQ(nonZero, 17);
}

TEST(MissionFile, RoundTripIsByteIdentical) {
    MissionBytes bytes{};
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = uint8_t(i * 37 + 11);
    MissionImage m;
    EXPECT_EQ(DecodeMission(bytes.data(), bytes.size(), m), 294u);
    EXPECT_EQ(EncodeMission(m), bytes);

    MissionImage sample = SampleMission();
    MissionImage back;
    MissionBytes encoded = EncodeMission(sample);
    DecodeMission(encoded.data(), encoded.size(), back);
    EXPECT_EQ(back.kind, sample.kind);
    EXPECT_EQ(back.frame, sample.frame);
    EXPECT_EQ(back.queueKind, sample.queueKind);
    EXPECT_EQ(back.queueFrame, sample.queueFrame);
    EXPECT_EQ(back.target, 0x12345678u);
    EXPECT_EQ(back.type, 5);
    EXPECT_EQ(back.pieceLimit, 6);
    EXPECT_EQ(back.padding[0], 0xAB);
    EXPECT_EQ(back.padding[1], 0xCD);
}

TEST(MissionFile, ShortImageFillsOnlyAsFarAsItReaches) {
    MissionImage before = SampleMission();
    MissionBytes zeros{};

    // 200 bytes: the kind layer and the first 50 frame bytes.
    MissionImage m = before;
    EXPECT_EQ(DecodeMission(zeros.data(), 200, m), 200u);
    EXPECT_EQ(m.kind, MissionImage{}.kind);
    EXPECT_EQ(m.frame[49], 0);
    EXPECT_EQ(m.frame[MissionFrameIndex(7, 11)], 1);  // byte 253 not reached
    EXPECT_EQ(m.queueKind, before.queueKind);
    EXPECT_EQ(m.target, before.target);

    // 288 bytes: the two low target bytes only.
    m = before;
    DecodeMission(zeros.data(), 288, m);
    EXPECT_EQ(m.queueFrame, MissionImage{}.queueFrame);
    EXPECT_EQ(m.target, 0x12340000u);
    EXPECT_EQ(m.type, 5);
    EXPECT_EQ(m.pieceLimit, 6);

    // 293 bytes: everything but the last padding byte.
    m = before;
    DecodeMission(zeros.data(), 293, m);
    EXPECT_EQ(m.type, 0);
    EXPECT_EQ(m.padding[0], 0);
    EXPECT_EQ(m.padding[1], 0xCD);

    // Nothing at all.
    m = before;
    EXPECT_EQ(DecodeMission(zeros.data(), 0, m), 0u);
    EXPECT_EQ(EncodeMission(m), EncodeMission(before));
}

TEST(MissionFile, LongImageUsesTheFirst294Bytes) {
    std::array<uint8_t, 400> bytes{};
    std::iota(bytes.begin(), bytes.end(), uint8_t(0));
    MissionImage m;
    EXPECT_EQ(DecodeMission(bytes.data(), bytes.size(), m), 294u);
    MissionBytes back = EncodeMission(m);
    EXPECT_TRUE(std::equal(back.begin(), back.end(), bytes.begin()));
}

}  // namespace
