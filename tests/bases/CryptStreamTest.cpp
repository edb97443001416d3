// The position-keyed scrambling stream.
#include "bases/CryptStream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <numeric>

namespace kvelo {
namespace {

TMemoryStream Zeros(size_t n) {
    return TMemoryStream(std::vector<uint8_t>(n, 0));
}

TEST(TCryptStream, KeyOneGivesTheLowByteOfThePosition) {
    TMemoryStream source = Zeros(300);
    TCryptStream crypt(1, source);
    uint8_t b = 0xAA;
    crypt.SetPosition(5);
    ASSERT_EQ(crypt.Read(&b, 1), 1u);
    EXPECT_EQ(b, 5);
    crypt.SetPosition(261);
    ASSERT_EQ(crypt.Read(&b, 1), 1u);
    EXPECT_EQ(b, 5); // only the low 8 bits of the position matter
}

TEST(TCryptStream, MaskIsTheLowByteOfPositionTimesKey) {
    TMemoryStream source = Zeros(1);
    const int16_t key = -12345;
    TCryptStream crypt(key, source);
    for (int64_t p : {0, 1, 2, 255, 256, 1000, 123457}) {
        const auto expected = static_cast<uint8_t>(static_cast<int32_t>(p) * key);
        EXPECT_EQ(crypt.Mask(p), expected) << p;
    }
}

TEST(TCryptStream, DescramblingDependsOnlyOnTheAbsolutePosition) {
    std::vector<uint8_t> bytes(2000);
    std::iota(bytes.begin(), bytes.end(), uint8_t{3});
    TMemoryStream source(bytes);
    TCryptStream crypt(0x4A1B, source);
    uint8_t alone[10], within[20];
    crypt.SetPosition(1000);
    ASSERT_EQ(crypt.Read(alone, 10), 10u);
    crypt.SetPosition(990);
    ASSERT_EQ(crypt.Read(within, 20), 20u);
    EXPECT_EQ(0, std::memcmp(alone, within + 10, 10));
}

TEST(TCryptStream, KeyZeroChangesNothing) {
    TMemoryStream source(std::vector<uint8_t>{1, 2, 3, 250});
    TCryptStream crypt(0, source);
    uint8_t b[4];
    ASSERT_EQ(crypt.Read(b, 4), 4u);
    EXPECT_EQ(std::vector<uint8_t>(b, b + 4), (std::vector<uint8_t>{1, 2, 3, 250}));
}

TEST(TCryptStream, WriteScramblesInChunksWithoutTouchingTheCallersBytes) {
    std::vector<uint8_t> plain(5000);
    std::iota(plain.begin(), plain.end(), uint8_t{0});
    const std::vector<uint8_t> original = plain;
    TMemoryStream target;
    target.SetSize(7);
    target.SetPosition(7);
    TCryptStream crypt(777, target);
    EXPECT_EQ(crypt.Write(plain.data(), plain.size()), plain.size());
    EXPECT_EQ(plain, original);
    EXPECT_NE(target.Bytes()[7 + 1], original[1]);
    // Reading back through the same transform gives the plain bytes.
    crypt.SetPosition(7);
    std::vector<uint8_t> back(plain.size());
    ASSERT_EQ(crypt.Read(back.data(), back.size()), back.size());
    EXPECT_EQ(back, original);
}

TEST(TCryptStream, ReadsAtTheEndReturnWhatTheSourceReturns) {
    TMemoryStream source = Zeros(10);
    TCryptStream crypt(9, source);
    uint8_t b[8];
    crypt.SetPosition(6);
    EXPECT_EQ(crypt.Read(b, 8), 4u);
    EXPECT_EQ(crypt.Read(b, 8), 0u);
    EXPECT_EQ(crypt.Size(), 10);
}

} // namespace
} // namespace kvelo
