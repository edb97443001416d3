// Byte streams with the seek semantics the database code relies on: a position
// that may be set anywhere at or beyond the end (reads there return 0 bytes),
// Seek returning the new position, and bounds-checked reads of fixed-size
// little-endian fields that throw EReadError when the data runs out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace kvelo {

class EStreamError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A read that could not get the bytes it asked for.
class EReadError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

enum class SeekOrigin { Beginning, Current, End };

class TStream {
public:
    virtual ~TStream() = default;

    // Reads up to `count` bytes; returns how many were read (0 at or past the end).
    virtual size_t Read(void* buffer, size_t count) = 0;
    // Writes `count` bytes; returns how many were written (0 for read-only streams).
    virtual size_t Write(const void* buffer, size_t count) = 0;
    // Moves the position; a position before 0 throws EStreamError.
    virtual int64_t Seek(int64_t offset, SeekOrigin origin) = 0;
    virtual int64_t Size() const = 0;

    int64_t Position() { return Seek(0, SeekOrigin::Current); }
    void SetPosition(int64_t position) { Seek(position, SeekOrigin::Beginning); }

    // Reads exactly `count` bytes or throws EReadError.
    void ReadBuffer(void* buffer, size_t count);
    // Writes exactly `count` bytes or throws EStreamError.
    void WriteBuffer(const void* buffer, size_t count);

    uint8_t ReadU8();
    uint16_t ReadU16();
    int16_t ReadI16();
    int32_t ReadI32();
    uint32_t ReadU32();
    double ReadDouble();
    // `count` raw bytes (code page 1251 text), bounds-checked.
    std::string ReadBytes(size_t count);
    // A u16 length followed by that many bytes.
    std::string ReadCountedString();
    void Skip(int64_t count) { Seek(count, SeekOrigin::Current); }

    void WriteU8(uint8_t value);
    void WriteU16(uint16_t value);
    void WriteI32(int32_t value);
    void WriteDouble(double value);
    void WriteBytes(const std::string& bytes);
    // Writes a u16 length and the bytes; longer texts are cut to 65,535 bytes.
    void WriteCountedString(const std::string& bytes);

    // Copies `count` bytes (all remaining when count is 0) from `source`; returns the count.
    int64_t CopyFrom(TStream& source, int64_t count);
};

// A growable stream in memory that owns its bytes.
class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::vector<uint8_t> bytes) : data_(std::move(bytes)) {}

    size_t Read(void* buffer, size_t count) override;
    size_t Write(const void* buffer, size_t count) override;
    int64_t Seek(int64_t offset, SeekOrigin origin) override;
    int64_t Size() const override { return static_cast<int64_t>(data_.size()); }

    void SetSize(int64_t size);
    void Clear();
    const uint8_t* Memory() const { return data_.data(); }
    const std::vector<uint8_t>& Bytes() const { return data_; }
    std::vector<uint8_t> TakeBytes();

private:
    std::vector<uint8_t> data_;
    int64_t position_ = 0;
};

// A read-only view of bytes someone else owns (a mapped file, a buffer).
class TByteViewStream : public TStream {
public:
    TByteViewStream(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    size_t Read(void* buffer, size_t count) override;
    size_t Write(const void*, size_t) override { return 0; }
    int64_t Seek(int64_t offset, SeekOrigin origin) override;
    int64_t Size() const override { return static_cast<int64_t>(size_); }

    const uint8_t* Data() const { return data_; }

private:
    const uint8_t* data_;
    size_t size_;
    int64_t position_ = 0;
};

// A file mapped read-only into memory. An empty file maps to no memory.
class MappedFile {
public:
    // Throws EStreamError with the reason when the file cannot be opened or mapped.
    explicit MappedFile(const std::string& path);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    const uint8_t* Data() const { return data_; }
    size_t Size() const { return size_; }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
    const uint8_t* data_ = nullptr;
    size_t size_ = 0;
};

// A read-only file stream over a memory map of the whole file.
class TFileStream : public TByteViewStream {
public:
    explicit TFileStream(const std::string& path)
        : TFileStream(std::make_unique<MappedFile>(path)) {}
    const std::string& FileName() const { return map_->Path(); }

private:
    explicit TFileStream(std::unique_ptr<MappedFile> map)
        : TByteViewStream(map->Data(), map->Size()), map_(std::move(map)) {}
    std::unique_ptr<MappedFile> map_;
};

// Whole-file helpers. WriteFileAtomic writes to a temporary file in the same
// folder and renames it into place, so a crash never leaves half a file.
std::vector<uint8_t> ReadWholeFile(const std::string& path);
void WriteFileAtomic(const std::string& path, const void* data, size_t size);

} // namespace kvelo
