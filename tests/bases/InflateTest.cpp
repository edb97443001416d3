// The inflate stream and CopyStream.
#include "bases/Inflate.h"
#include "bases/BaseErrors.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>

namespace kvelo {
namespace {

std::vector<uint8_t> Compress(const std::vector<uint8_t>& plain) {
    uLongf size = compressBound(static_cast<uLong>(plain.size()));
    std::vector<uint8_t> out(size);
    EXPECT_EQ(compress2(out.data(), &size, plain.data(), static_cast<uLong>(plain.size()), 6),
              Z_OK);
    out.resize(size);
    return out;
}

std::vector<uint8_t> Noise(size_t n, unsigned seed = 1) {
    std::mt19937 rng(seed);
    std::vector<uint8_t> v(n);
    for (auto& b : v)
        b = static_cast<uint8_t>(rng());
    return v;
}

std::vector<uint8_t> Text(size_t n) {
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i)
        v[i] = static_cast<uint8_t>('a' + (i * 7 + i / 13) % 26);
    return v;
}

// Records the byte count of every read it passes on.
class ReadLog : public TStream {
public:
    explicit ReadLog(TStream& inner) : inner_(inner) {}
    size_t Read(void* buffer, size_t count) override {
        const size_t n = inner_.Read(buffer, count);
        reads.push_back(n);
        return n;
    }
    size_t Write(const void*, size_t) override { return 0; }
    int64_t Seek(int64_t offset, SeekOrigin origin) override { return inner_.Seek(offset, origin); }
    int64_t Size() const override { return inner_.Size(); }
    std::vector<size_t> reads;

private:
    TStream& inner_;
};

struct CopyCase {
    size_t bodyBytes;
    std::vector<size_t> reads;
};

class CopyStreamReads : public ::testing::TestWithParam<CopyCase> {};

TEST_P(CopyStreamReads, RepeatWhileTheBufferCameBackFull) {
    const CopyCase c = GetParam();
    const std::vector<uint8_t> plain = Text(c.bodyBytes);
    TMemoryStream compressed(Compress(plain));
    TDecompressionStream inflater(compressed);
    ReadLog log(inflater);
    TMemoryStream body;
    EXPECT_EQ(CopyStream(log, body), static_cast<int64_t>(c.bodyBytes));
    EXPECT_EQ(log.reads, c.reads);
    EXPECT_EQ(body.Bytes(), plain);
}

INSTANTIATE_TEST_SUITE_P(Sizes, CopyStreamReads,
                         ::testing::Values(CopyCase{524288, {524288, 0}},
                                           CopyCase{1000000, {524288, 475712}}, CopyCase{10, {10}},
                                           CopyCase{0, {0}}));

TEST(TDecompressionStream, FillsRequestsAcrossManyInputBuffers) {
    const std::vector<uint8_t> plain = Noise(300000); // compresses to more than 64 KiB
    TMemoryStream compressed(Compress(plain));
    ASSERT_GT(compressed.Size(), 4 * 65536);
    TDecompressionStream inflater(compressed);
    std::vector<uint8_t> out(plain.size() + 10);
    EXPECT_EQ(inflater.Read(out.data(), out.size()), plain.size());
    out.resize(plain.size());
    EXPECT_EQ(out, plain);
    EXPECT_TRUE(inflater.Ended());
    EXPECT_EQ(inflater.Read(out.data(), 1), 0u);
}

TEST(TDecompressionStream, StartsAtTheSourcePositionAndSurvivesOtherReaders) {
    const std::vector<uint8_t> plain = Noise(200000, 2);
    std::vector<uint8_t> bytes(100, 0xEE);
    const std::vector<uint8_t> z = Compress(plain);
    bytes.insert(bytes.end(), z.begin(), z.end());
    TMemoryStream source(bytes);
    source.SetPosition(100);
    TDecompressionStream inflater(source);
    std::vector<uint8_t> out(plain.size());
    size_t done = 0;
    while (done < out.size()) {
        const size_t n =
            inflater.Read(out.data() + done, std::min<size_t>(70001, out.size() - done));
        ASSERT_GT(n, 0u);
        done += n;
        source.SetPosition(3); // someone else reads the same source in between
    }
    EXPECT_EQ(out, plain);
}

TEST(TDecompressionStream, DamagedDataThrowsError) {
    std::vector<uint8_t> z = Compress(Text(5000));
    z[0] = 0xFF; // bad zlib header
    TMemoryStream source(z);
    TDecompressionStream inflater(source);
    TMemoryStream body;
    try {
        CopyStream(inflater, body);
        FAIL() << "no exception";
    } catch (const EDecompressionError& e) {
        EXPECT_STREQ(e.what(), "error");
    }
}

TEST(TDecompressionStream, WrongChecksumThrows) {
    std::vector<uint8_t> z = Compress(Text(5000));
    z.back() ^= 0x55; // Adler-32
    TMemoryStream source(z);
    TDecompressionStream inflater(source);
    TMemoryStream body;
    EXPECT_THROW(CopyStream(inflater, body), EDecompressionError);
}

TEST(TDecompressionStream, ShortSourceEndsWithWhatWasInflated) {
    const std::vector<uint8_t> plain = Noise(100000, 3);
    std::vector<uint8_t> z = Compress(plain);
    z.resize(z.size() / 2);
    TMemoryStream source(z);
    TDecompressionStream inflater(source);
    TMemoryStream body;
    const int64_t n = CopyStream(inflater, body);
    EXPECT_GT(n, 0);
    EXPECT_LT(n, static_cast<int64_t>(plain.size()));
    EXPECT_TRUE(std::equal(body.Bytes().begin(), body.Bytes().end(), plain.begin()));
}

TEST(TDecompressionStream, OutputBeyondTheLimitThrows) {
    TMemoryStream source(Compress(std::vector<uint8_t>(3 << 20, 0))); // 3 MiB of zeros
    TDecompressionStream inflater(source, 1 << 20);
    TMemoryStream body;
    EXPECT_THROW(CopyStream(inflater, body), EDecompressionError);
    EXPECT_LE(body.Size(), (1 << 20) + static_cast<int64_t>(CopyStreamBufferBytes));
}

TEST(TDecompressionStream, SeeksOnlyForward) {
    const std::vector<uint8_t> plain = Text(1000);
    TMemoryStream source(Compress(plain));
    TDecompressionStream inflater(source);
    EXPECT_EQ(inflater.Seek(100, SeekOrigin::Current), 100);
    EXPECT_EQ(inflater.ReadU8(), plain[100]);
    EXPECT_EQ(inflater.Position(), 101);
    EXPECT_THROW(inflater.Seek(0, SeekOrigin::Beginning), EStreamError);
    EXPECT_THROW(inflater.Seek(0, SeekOrigin::End), EStreamError);
}

} // namespace
} // namespace kvelo
