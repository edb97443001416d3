#include "Streams.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kvelo {
namespace {

int64_t resolveSeek(int64_t offset, SeekOrigin origin, int64_t position, int64_t size) {
    int64_t base = 0;
    switch (origin) {
    case SeekOrigin::Beginning:
        base = 0;
        break;
    case SeekOrigin::Current:
        base = position;
        break;
    case SeekOrigin::End:
        base = size;
        break;
    }
    if ((offset < 0 && base < -offset) ||
        (offset > 0 && base > std::numeric_limits<int64_t>::max() - offset))
        throw EStreamError("Stream seek error");
    return base + offset;
}

std::string systemError(const std::string& what, const std::string& path) {
    return what + " " + path + ": " + std::strerror(errno);
}

} // namespace

void TStream::ReadBuffer(void* buffer, size_t count) {
    if (count != 0 && Read(buffer, count) != count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, size_t count) {
    if (count != 0 && Write(buffer, count) != count) throw EStreamError("Stream write error");
}

uint8_t TStream::ReadU8() {
    uint8_t b;
    ReadBuffer(&b, 1);
    return b;
}

uint16_t TStream::ReadU16() {
    uint8_t b[2];
    ReadBuffer(b, 2);
    return static_cast<uint16_t>(b[0] | (b[1] << 8));
}

int16_t TStream::ReadI16() {
    return static_cast<int16_t>(ReadU16());
}

uint32_t TStream::ReadU32() {
    uint8_t b[4];
    ReadBuffer(b, 4);
    return static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
           (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24);
}

int32_t TStream::ReadI32() {
    return static_cast<int32_t>(ReadU32());
}

double TStream::ReadDouble() {
    uint8_t b[8];
    ReadBuffer(b, 8);
    uint64_t bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = (bits << 8) | b[i];
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::string TStream::ReadBytes(size_t count) {
    // Bound the allocation by what the stream can still deliver.
    const int64_t left = Size() - Position();
    if (left < 0 || static_cast<uint64_t>(left) < count) throw EReadError("Stream read error");
    std::string s(count, '\0');
    ReadBuffer(s.data(), count);
    return s;
}

std::string TStream::ReadCountedString() {
    return ReadBytes(ReadU16());
}

void TStream::WriteU8(uint8_t value) {
    WriteBuffer(&value, 1);
}

void TStream::WriteU16(uint16_t value) {
    const uint8_t b[2] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)};
    WriteBuffer(b, 2);
}

void TStream::WriteI32(int32_t value) {
    const auto u = static_cast<uint32_t>(value);
    const uint8_t b[4] = {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8),
                          static_cast<uint8_t>(u >> 16), static_cast<uint8_t>(u >> 24)};
    WriteBuffer(b, 4);
}

void TStream::WriteDouble(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    uint8_t b[8];
    for (int i = 0; i < 8; ++i)
        b[i] = static_cast<uint8_t>(bits >> (8 * i));
    WriteBuffer(b, 8);
}

void TStream::WriteBytes(const std::string& bytes) {
    WriteBuffer(bytes.data(), bytes.size());
}

void TStream::WriteCountedString(const std::string& bytes) {
    const size_t n = std::min<size_t>(bytes.size(), 0xFFFF);
    WriteU16(static_cast<uint16_t>(n));
    WriteBuffer(bytes.data(), n);
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
    if (count == 0) count = std::max<int64_t>(0, source.Size() - source.Position());
    std::vector<uint8_t> buffer(static_cast<size_t>(std::min<int64_t>(count, 1 << 16)));
    int64_t copied = 0;
    while (copied < count) {
        const auto want = static_cast<size_t>(std::min<int64_t>(count - copied, buffer.size()));
        source.ReadBuffer(buffer.data(), want);
        WriteBuffer(buffer.data(), want);
        copied += static_cast<int64_t>(want);
    }
    return copied;
}

// --- TMemoryStream ---------------------------------------------------------

size_t TMemoryStream::Read(void* buffer, size_t count) {
    if (position_ >= Size()) return 0;
    const size_t n = std::min<size_t>(count, static_cast<size_t>(Size() - position_));
    std::memcpy(buffer, data_.data() + position_, n);
    position_ += static_cast<int64_t>(n);
    return n;
}

size_t TMemoryStream::Write(const void* buffer, size_t count) {
    if (count == 0) return 0;
    const auto end = static_cast<size_t>(position_) + count;
    if (end > data_.size()) data_.resize(end);
    std::memcpy(data_.data() + position_, buffer, count);
    position_ = static_cast<int64_t>(end);
    return count;
}

int64_t TMemoryStream::Seek(int64_t offset, SeekOrigin origin) {
    position_ = resolveSeek(offset, origin, position_, Size());
    return position_;
}

void TMemoryStream::SetSize(int64_t size) {
    if (size < 0) throw EStreamError("Stream size error");
    data_.resize(static_cast<size_t>(size));
    position_ = std::min(position_, size);
}

void TMemoryStream::Clear() {
    data_.clear();
    position_ = 0;
}

std::vector<uint8_t> TMemoryStream::TakeBytes() {
    position_ = 0;
    return std::move(data_);
}

// --- TByteViewStream -------------------------------------------------------

size_t TByteViewStream::Read(void* buffer, size_t count) {
    if (position_ >= static_cast<int64_t>(size_)) return 0;
    const size_t n = std::min<size_t>(count, size_ - static_cast<size_t>(position_));
    std::memcpy(buffer, data_ + position_, n);
    position_ += static_cast<int64_t>(n);
    return n;
}

int64_t TByteViewStream::Seek(int64_t offset, SeekOrigin origin) {
    position_ = resolveSeek(offset, origin, position_, Size());
    return position_;
}

// --- MappedFile ------------------------------------------------------------

MappedFile::MappedFile(const std::string& path) : path_(path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw EStreamError(systemError("Cannot open file", path));
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        throw EStreamError("Cannot open file " + path + ": not a regular file");
    }
    size_ = static_cast<size_t>(st.st_size);
    if (size_ > 0) {
        void* p = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, fd, 0);
        if (p == MAP_FAILED) {
            ::close(fd);
            throw EStreamError(systemError("Cannot map file", path));
        }
        data_ = static_cast<const uint8_t*>(p);
    }
    ::close(fd);
}

MappedFile::~MappedFile() {
    if (data_) ::munmap(const_cast<uint8_t*>(data_), size_);
}

// --- whole files -----------------------------------------------------------

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
    MappedFile map(path);
    return std::vector<uint8_t>(map.Data(), map.Data() + map.Size());
}

void WriteFileAtomic(const std::string& path, const void* data, size_t size) {
    const std::string temp = path + ".tmp-" + std::to_string(::getpid());
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) throw EStreamError(systemError("Cannot create file", temp));
    const auto* p = static_cast<const uint8_t*>(data);
    size_t left = size;
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const std::string reason = systemError("Cannot write file", temp);
            ::close(fd);
            ::unlink(temp.c_str());
            throw EStreamError(reason);
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    const bool synced = ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!synced || !closed || ::rename(temp.c_str(), path.c_str()) != 0) {
        const std::string reason = systemError("Cannot write file", path);
        ::unlink(temp.c_str());
        throw EStreamError(reason);
    }
}

} // namespace kvelo
