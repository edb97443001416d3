// The storage mode rule and the fixed layouts.
#include "bases/BaseFormat.h"
#include "platform/Streams.h"

#include <gtest/gtest.h>

namespace kvelo {
namespace {

struct ModeCase {
    uint8_t modeA, modeB;
    const char* file;
    bool accepted;
    StorageMode mode;
    bool supplementary;
};

class Storage : public ::testing::TestWithParam<ModeCase> {};

TEST_P(Storage, FollowsTheModeBytesAndTheExtension) {
    const ModeCase c = GetParam();
    const StorageDecision d = DecideStorage(c.modeA, c.modeB, c.file);
    EXPECT_EQ(d.accepted, c.accepted);
    if (c.accepted) {
        EXPECT_EQ(d.mode, c.mode);
        EXPECT_EQ(d.supplementary, c.supplementary);
    }
}

constexpr auto S = StorageMode::SelfContained;
constexpr auto C = StorageMode::Companion;

INSTANTIATE_TEST_SUITE_P(
    Rules, Storage,
    ::testing::Values(
        ModeCase{0, 0, "a.phb", true, S, false},
        ModeCase{0, 0, "a.kvl", false, S, false}, // mode 0 never for ".kvl"
        ModeCase{0, 0, "a.KVL", true, S, false},  // case matters
        ModeCase{1, 0, "a.phb", false, S, false}, // mode 1 becomes 2
        ModeCase{0, 1, "a.buk", false, S, false}, ModeCase{0, '-', "a.kvl", true, C, false},
        ModeCase{9, '/', "a.phb", true, C, false}, ModeCase{0, 42, "a.buk", true, C, true},
        ModeCase{5, 43, "x.buk", true, C, true}, ModeCase{0, 48, "x.buk", true, C, true},
        ModeCase{0, 42, "a.BUK", false, S, false}, // 42 alone is mode 42
        ModeCase{0, 42, "a.phb", false, S, false},
        ModeCase{214, 42, "a.phb", true, S, false},  // (214 + 42) mod 256 = 0
        ModeCase{215, 42, "a.phb", false, S, false}, // = 1, becomes 2
        ModeCase{3, '(', "a.phb", true, C, false}, ModeCase{4, '(', "a.phb", false, S, false},
        ModeCase{2, 0, "a.phb", false, S, false}));

TEST(BaseFormat, CompanionNameReplacesTheLastThreeCharacters) {
    EXPECT_EQ(CompanionFileName("/d/law.kvl"), "/d/law.dcm");
    EXPECT_EQ(CompanionFileName("x.BUK"), "x.dcm");
}

TEST(BaseFormat, HeaderFieldsAtTheirOffsets) {
    std::vector<uint8_t> bytes(BaseHeaderLayout::Size, 0);
    const std::string magic = "SGK1";
    std::copy(magic.begin(), magic.end(), bytes.begin());
    bytes[4] = 3;
    bytes[5] = 'A', bytes[6] = 'B', bytes[7] = 'C';
    bytes[260] = 0xFF, bytes[261] = 0xFF;            // DocCount 65535
    bytes[312] = 0, bytes[314] = 1;                  // ScrambleKey 0x00010000
    bytes[324] = 7, bytes[325] = 1, bytes[326] = 45; // ModeA, Language, ModeB
    bytes[340] = 0x2A;                               // RecordCount
    TMemoryStream stream(bytes);
    const auto raw = ReadBaseHeaderBytes(stream);
    ASSERT_TRUE(HasBaseMagic(raw));
    const BaseHeader h = ParseBaseHeader(raw);
    EXPECT_EQ(h.name, "ABC");
    EXPECT_EQ(h.docCount, 65535);
    EXPECT_EQ(h.scrambleKey, 0x00010000);
    EXPECT_EQ(h.modeA, 7);
    EXPECT_EQ(h.language, 1);
    EXPECT_EQ(h.modeB, 45);
    EXPECT_EQ(h.recordCount, 42);
}

TEST(BaseFormat, ShortHeaderThrows) {
    TMemoryStream stream(std::vector<uint8_t>(BaseHeaderLayout::Size - 1));
    EXPECT_THROW(ReadBaseHeaderBytes(stream), EReadError);
    TMemoryStream companion(std::vector<uint8_t>(CompanionHeaderLayout::Size - 1));
    EXPECT_THROW(ReadCompanionHeader(companion), EReadError);
}

TEST(BaseFormat, NodeNamesAreCutTo255AndMustLieInside) {
    std::vector<uint8_t> bytes(400, 'n');
    TMemoryStream stream(bytes);
    EXPECT_EQ(ReadNodeName(stream, 300).size(), 255u);
    EXPECT_EQ(stream.Position(), 300);
    EXPECT_THROW(ReadNodeName(stream, 101), EReadError);
    EXPECT_THROW(ReadNodeName(stream, -1), EReadError);
    EXPECT_EQ(ReadNodeName(stream, 100).size(), 100u);
}

} // namespace
} // namespace kvelo
