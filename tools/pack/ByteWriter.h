// A growing little-endian byte buffer for building a file in memory: append
// at the end, or patch a field that was left as a placeholder.
#pragma once

#include "BaseLayout.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kvelo::pack {

class ByteWriter {
public:
    // Position of the next appended byte (as a file offset).
    int32_t Pos() const;

    void U8(uint8_t value);
    void U16(uint16_t value);
    void I32(int32_t value);
    void Date(double value);
    void Bytes(const void* data, size_t size);
    void Bytes(const std::string& bytes) { Bytes(bytes.data(), bytes.size()); }
    void Bytes(const std::vector<uint8_t>& bytes) { Bytes(bytes.data(), bytes.size()); }
    // A u16 length and the bytes; throws PackError above 65,535 bytes.
    void CountedString(const std::string& bytes);
    void Zeros(size_t count);

    // Overwrite a field at `base` + field.offset; the field's width must be
    // the value's width (PutBytes: at most) and the bytes must already exist.
    void PutU8(layout::Field field, uint8_t value, int32_t base = 0);
    void PutU16(layout::Field field, uint16_t value, int32_t base = 0);
    void PutI32(layout::Field field, int32_t value, int32_t base = 0);
    void PutDate(layout::Field field, double value, int32_t base = 0);
    void PutBytes(layout::Field field, const std::string& bytes, int32_t base = 0);

    std::vector<uint8_t>& Data() { return data_; }
    const std::vector<uint8_t>& Data() const { return data_; }

private:
    uint8_t* at(layout::Field field, uint32_t width, int32_t base);
    uint8_t* exactly(layout::Field field, uint32_t width, int32_t base);
    std::vector<uint8_t> data_;
};

} // namespace kvelo::pack
