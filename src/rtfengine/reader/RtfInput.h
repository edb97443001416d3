// Byte input of the reader: a window over bytes in memory, or blocks read
// from a stream, with one character of push-back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kvelo {
class TStream;
}

namespace kvelo::rtf {

class TRtfInput {
public:
    // Reads bytes in memory without copying them.
    TRtfInput(const uint8_t* data, size_t size);
    // Reads the stream from its current position in blocks.
    explicit TRtfInput(TStream& stream);

    static constexpr int kEnd = -1;

    // The next byte; throws ERtfError "Неправильный конец файла" at the end.
    int Next();
    // The next byte or kEnd.
    int TryNext();
    void PushBack(int c) { pushed_ = c; }
    bool AtEnd();

    // Direct access to the bytes not yet read, for fast scanning. Valid until
    // the next call; empty only at the end of input. No pushed-back byte may
    // be pending.
    bool HasPushBack() const { return pushed_ >= 0; }
    const uint8_t* Cursor() const { return data_ + pos_; }
    size_t Available();
    void Advance(size_t n) { pos_ += n; }

private:
    bool Refill();

    TStream* stream_ = nullptr;
    std::vector<uint8_t> buffer_;
    const uint8_t* data_ = nullptr;
    size_t size_ = 0;
    size_t pos_ = 0;
    int pushed_ = kEnd;
};

} // namespace kvelo::rtf
