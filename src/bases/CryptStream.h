// TCryptStream: the position-keyed scrambling of base and companion files.
// The byte at absolute position p is XORed with the low 8 bits of p * Key,
// so any offset can be read after a seek, and the same object both
// descrambles (reads) and scrambles (writes).
#pragma once

#include "platform/Streams.h"

#include <array>
#include <cstdint>

namespace kvelo {

class TCryptStream : public TStream {
public:
    // `source` is not owned and must outlive this stream.
    TCryptStream(int16_t key, TStream& source);

    size_t Read(void* buffer, size_t count) override;
    // Scrambles through a private buffer; the caller's bytes are left unchanged.
    size_t Write(const void* buffer, size_t count) override;
    int64_t Seek(int64_t offset, SeekOrigin origin) override;
    int64_t Size() const override { return source_.Size(); }

    int16_t Key() const { return key_; }
    // The XOR mask of absolute position `position`.
    uint8_t Mask(int64_t position) const { return pad_[static_cast<uint8_t>(position)]; }

private:
    void Transform(uint8_t* bytes, size_t count, int64_t firstPosition) const;

    TStream& source_;
    int16_t key_;
    std::array<uint8_t, 256> pad_{}; // mask per low byte of the position
};

} // namespace kvelo
