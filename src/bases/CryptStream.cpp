#include "bases/CryptStream.h"

#include <algorithm>

namespace kvelo {

TCryptStream::TCryptStream(int16_t key, TStream& source) : source_(source), key_(key) {
    // Only the low 8 bits of p * key matter, and they depend only on the low
    // 8 bits of p and of key.
    const auto k = static_cast<uint32_t>(static_cast<int32_t>(key));
    for (uint32_t p = 0; p < 256; ++p)
        pad_[p] = static_cast<uint8_t>(p * k);
}

void TCryptStream::Transform(uint8_t* bytes, size_t count, int64_t firstPosition) const {
    auto low = static_cast<uint8_t>(firstPosition);
    for (size_t i = 0; i < count; ++i)
        bytes[i] ^= pad_[low++];
}

size_t TCryptStream::Read(void* buffer, size_t count) {
    const int64_t position = source_.Position();
    const size_t n = source_.Read(buffer, count);
    Transform(static_cast<uint8_t*>(buffer), n, position);
    return n;
}

size_t TCryptStream::Write(const void* buffer, size_t count) {
    constexpr size_t ChunkSize = 1024;
    std::array<uint8_t, ChunkSize> chunk;
    const auto* in = static_cast<const uint8_t*>(buffer);
    int64_t position = source_.Position();
    size_t written = 0;
    while (written < count) {
        const size_t n = std::min(ChunkSize, count - written);
        std::copy_n(in + written, n, chunk.data());
        Transform(chunk.data(), n, position);
        const size_t done = source_.Write(chunk.data(), n);
        written += done;
        position += static_cast<int64_t>(done);
        if (done < n) break;
    }
    return written;
}

int64_t TCryptStream::Seek(int64_t offset, SeekOrigin origin) {
    return source_.Seek(offset, origin);
}

} // namespace kvelo
