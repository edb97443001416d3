// Inflation of document bodies: a read-only zlib stream over a source
// stream (TDecompressionStream), and CopyStream, which drains one into a
// memory stream with a 512 KiB buffer.
#pragma once

#include "platform/Streams.h"

#include <cstdint>
#include <memory>

namespace kvelo {

// No body is inflated beyond this many bytes; a larger one counts as damaged.
inline constexpr uint64_t MaxInflatedBodyBytes = uint64_t{256} << 20; // 256 MiB
inline constexpr size_t InflateInputBufferBytes = 65536;
inline constexpr size_t CopyStreamBufferBytes = 524288;

class TDecompressionStream : public TStream {
public:
    // Starts at the source's current position; `source` is not owned and
    // must outlive this stream. Other readers may move the source between
    // reads: each read first puts it back where this stream left it.
    explicit TDecompressionStream(TStream& source, uint64_t maxOutputBytes = MaxInflatedBodyBytes);
    ~TDecompressionStream() override;

    // Fills the buffer until it is full, the zlib stream ends or the source
    // is exhausted. Throws EDecompressionError ("error") for damaged data or
    // output beyond the limit.
    size_t Read(void* buffer, size_t count) override;
    size_t Write(const void*, size_t) override { return 0; }
    // Forward only: the position can be asked, or moved forward (by
    // inflating and discarding); anything else throws EStreamError.
    int64_t Seek(int64_t offset, SeekOrigin origin) override;
    // Unknown in advance: -1.
    int64_t Size() const override { return -1; }

    bool Ended() const { return ended_; }

private:
    struct ZState;
    bool Refill();

    TStream& source_;
    int64_t sourcePosition_;
    uint64_t maxOutput_;
    uint64_t produced_ = 0;
    bool ended_ = false;
    std::unique_ptr<ZState> z_;
    std::unique_ptr<uint8_t[]> input_;
};

// Copies everything `source` yields into `target`: reads of 524,288 bytes,
// repeated while a read came back full. Returns the bytes copied.
int64_t CopyStream(TStream& source, TMemoryStream& target);

} // namespace kvelo
