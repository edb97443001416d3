#include "platform/Streams.h"

#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace kvelo;

TEST(Streams, MemoryStreamSeekAndReadSemantics) {
    TMemoryStream s;
    s.WriteI32(-2);
    s.WriteU16(0xBEEF);
    s.WriteDouble(38013.5);
    s.WriteCountedString("abc");
    EXPECT_EQ(s.Size(), 4 + 2 + 8 + 5);
    s.SetPosition(0);
    EXPECT_EQ(s.ReadI32(), -2);
    EXPECT_EQ(s.ReadU16(), 0xBEEF);
    EXPECT_EQ(s.ReadDouble(), 38013.5);
    EXPECT_EQ(s.ReadCountedString(), "abc");
    // At and past the end reads return 0 bytes; fixed-size reads throw.
    char c;
    EXPECT_EQ(s.Read(&c, 1), 0u);
    EXPECT_EQ(s.Seek(100, SeekOrigin::Beginning), 100);
    EXPECT_EQ(s.Read(&c, 1), 0u);
    EXPECT_THROW(s.ReadU8(), EReadError);
    EXPECT_EQ(s.Seek(-1, SeekOrigin::End), s.Size() - 1);
    EXPECT_THROW(s.Seek(-1, SeekOrigin::Beginning), EStreamError);
    // Writing past the end fills the gap with zeros.
    s.SetPosition(s.Size() + 2);
    s.WriteU8(7);
    EXPECT_EQ(s.Size(), 22);
}

TEST(Streams, CountedStringLongerThanTheDataIsAnErrorNotAnAllocation) {
    TMemoryStream s;
    s.WriteU16(0xFFFF);
    s.WriteBytes("short");
    s.SetPosition(0);
    EXPECT_THROW(s.ReadCountedString(), EReadError);
}

TEST(Streams, ByteViewReadsOnlyItsRange) {
    const uint8_t bytes[] = {1, 2, 3, 4};
    TByteViewStream s(bytes, 3);
    uint8_t out[4] = {};
    EXPECT_EQ(s.Read(out, 4), 3u);
    EXPECT_EQ(out[2], 3);
    EXPECT_EQ(out[3], 0);
    EXPECT_EQ(s.Write(out, 1), 0u);
}

TEST(Streams, MappedFileStreamAndAtomicWrite) {
    const std::string path = ::testing::TempDir() + "kvelo_stream_test.bin";
    const std::string content = "SGK1 mapped";
    WriteFileAtomic(path, content.data(), content.size());
    TFileStream f(path);
    EXPECT_EQ(f.Size(), static_cast<int64_t>(content.size()));
    EXPECT_EQ(f.ReadBytes(4), "SGK1");
    f.SetPosition(5);
    EXPECT_EQ(f.ReadBytes(6), "mapped");
    EXPECT_THROW(f.ReadBytes(1), EReadError);
    std::remove(path.c_str());
    EXPECT_THROW(TFileStream("/nonexistent/kvelo"), EStreamError);
    EXPECT_THROW(TFileStream("/tmp"), EStreamError); // a folder is not a file
}

TEST(Streams, EmptyFileMapsToAnEmptyStream) {
    const std::string path = ::testing::TempDir() + "kvelo_empty.bin";
    std::ofstream(path).close();
    TFileStream f(path);
    EXPECT_EQ(f.Size(), 0);
    EXPECT_THROW(f.ReadU8(), EReadError);
    std::remove(path.c_str());
}
