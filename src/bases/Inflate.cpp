#include "bases/Inflate.h"

#include "bases/BaseErrors.h"

#include <algorithm>
#include <limits>
#include <vector>
#include <zlib.h>

namespace kvelo {

struct TDecompressionStream::ZState {
    z_stream stream{};
};

TDecompressionStream::TDecompressionStream(TStream& source, uint64_t maxOutputBytes)
    : source_(source), sourcePosition_(source.Position()), maxOutput_(maxOutputBytes),
      z_(std::make_unique<ZState>()), input_(new uint8_t[InflateInputBufferBytes]) {
    if (inflateInit(&z_->stream) != Z_OK) throw EDecompressionError();
}

TDecompressionStream::~TDecompressionStream() {
    inflateEnd(&z_->stream);
}

bool TDecompressionStream::Refill() {
    source_.Seek(sourcePosition_, SeekOrigin::Beginning);
    const size_t n = source_.Read(input_.get(), InflateInputBufferBytes);
    sourcePosition_ += static_cast<int64_t>(n);
    z_->stream.next_in = input_.get();
    z_->stream.avail_in = static_cast<uInt>(n);
    return n > 0;
}

size_t TDecompressionStream::Read(void* buffer, size_t count) {
    z_stream& z = z_->stream;
    auto* out = static_cast<uint8_t*>(buffer);
    size_t filled = 0;
    while (filled < count && !ended_) {
        if (z.avail_in == 0 && !Refill()) break; // source exhausted: keep what we have
        const size_t chunk = std::min<size_t>(count - filled, std::numeric_limits<uInt>::max());
        z.next_out = out + filled;
        z.avail_out = static_cast<uInt>(chunk);
        const int rc = inflate(&z, Z_NO_FLUSH);
        const size_t made = chunk - z.avail_out;
        filled += made;
        produced_ += made;
        if (produced_ > maxOutput_) throw EDecompressionError();
        if (rc == Z_STREAM_END) {
            ended_ = true;
        } else if (rc == Z_BUF_ERROR) {
            if (z.avail_in != 0) throw EDecompressionError(); // no progress with input left
        } else if (rc != Z_OK) {
            throw EDecompressionError();
        }
    }
    return filled;
}

int64_t TDecompressionStream::Seek(int64_t offset, SeekOrigin origin) {
    const auto position = static_cast<int64_t>(produced_);
    int64_t target = position;
    if (origin == SeekOrigin::Current)
        target = position + offset;
    else if (origin == SeekOrigin::Beginning)
        target = offset;
    else
        throw EStreamError("Invalid seek on an inflate stream");
    if (target < position) throw EStreamError("Invalid seek on an inflate stream");
    std::vector<uint8_t> discard(std::min<int64_t>(target - position, 65536));
    while (static_cast<int64_t>(produced_) < target) {
        const auto want = static_cast<size_t>(
            std::min<int64_t>(target - static_cast<int64_t>(produced_), discard.size()));
        if (Read(discard.data(), want) == 0) break;
    }
    return static_cast<int64_t>(produced_);
}

int64_t CopyStream(TStream& source, TMemoryStream& target) {
    std::vector<uint8_t> buffer(CopyStreamBufferBytes);
    int64_t copied = 0;
    size_t n = 0;
    do {
        n = source.Read(buffer.data(), buffer.size());
        target.WriteBuffer(buffer.data(), n);
        copied += static_cast<int64_t>(n);
    } while (n == buffer.size());
    return copied;
}

} // namespace kvelo
