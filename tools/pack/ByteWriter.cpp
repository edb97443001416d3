#include "ByteWriter.h"

#include "BasePacker.h"

#include <cstring>
#include <limits>
#include <stdexcept>

namespace kvelo::pack {
namespace {

void storeLe(uint8_t* out, uint64_t value, unsigned width) {
    for (unsigned i = 0; i < width; ++i)
        out[i] = static_cast<uint8_t>(value >> (8 * i));
}

uint64_t doubleBits(double value) {
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

} // namespace

int32_t ByteWriter::Pos() const {
    if (data_.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
        throw PackError("the file grows beyond 2 GiB, which 32-bit offsets cannot address");
    return static_cast<int32_t>(data_.size());
}

void ByteWriter::U8(uint8_t value) {
    data_.push_back(value);
}

void ByteWriter::U16(uint16_t value) {
    uint8_t bytes[2];
    storeLe(bytes, value, 2);
    Bytes(bytes, 2);
}

void ByteWriter::I32(int32_t value) {
    uint8_t bytes[4];
    storeLe(bytes, static_cast<uint32_t>(value), 4);
    Bytes(bytes, 4);
}

void ByteWriter::Date(double value) {
    uint8_t bytes[8];
    storeLe(bytes, doubleBits(value), 8);
    Bytes(bytes, 8);
}

void ByteWriter::Bytes(const void* data, size_t size) {
    const auto* p = static_cast<const uint8_t*>(data);
    data_.insert(data_.end(), p, p + size);
}

void ByteWriter::CountedString(const std::string& bytes) {
    if (bytes.size() > 0xFFFF)
        throw PackError("a text of " + std::to_string(bytes.size()) +
                        " bytes does not fit a counted string (at most 65535)");
    U16(static_cast<uint16_t>(bytes.size()));
    Bytes(bytes);
}

void ByteWriter::Zeros(size_t count) {
    data_.insert(data_.end(), count, 0);
}

uint8_t* ByteWriter::exactly(layout::Field field, uint32_t width, int32_t base) {
    if (field.width != width)
        throw std::logic_error("ByteWriter: field width differs from the value's");
    return at(field, width, base);
}

uint8_t* ByteWriter::at(layout::Field field, uint32_t width, int32_t base) {
    if (width > field.width || base < 0)
        throw std::logic_error("ByteWriter: value does not fit its field");
    const size_t start = static_cast<size_t>(base) + field.offset;
    if (start + width > data_.size())
        throw std::logic_error("ByteWriter: field lies beyond the written bytes");
    return data_.data() + start;
}

void ByteWriter::PutU8(layout::Field field, uint8_t value, int32_t base) {
    storeLe(exactly(field, 1, base), value, 1);
}

void ByteWriter::PutU16(layout::Field field, uint16_t value, int32_t base) {
    storeLe(exactly(field, 2, base), value, 2);
}

void ByteWriter::PutI32(layout::Field field, int32_t value, int32_t base) {
    storeLe(exactly(field, 4, base), static_cast<uint32_t>(value), 4);
}

void ByteWriter::PutDate(layout::Field field, double value, int32_t base) {
    storeLe(exactly(field, 8, base), doubleBits(value), 8);
}

void ByteWriter::PutBytes(layout::Field field, const std::string& bytes, int32_t base) {
    if (bytes.size() > field.width) throw std::logic_error("ByteWriter: bytes exceed their field");
    std::memcpy(at(field, static_cast<uint32_t>(bytes.size()), base), bytes.data(), bytes.size());
}

} // namespace kvelo::pack
