#include "rtfengine/reader/RtfInput.h"

#include "platform/Streams.h"
#include "rtfengine/reader/RtfReader.h"

namespace kvelo::rtf {

namespace {
constexpr size_t kBlockSize = 64 * 1024;
}

TRtfInput::TRtfInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

TRtfInput::TRtfInput(TStream& stream) : stream_(&stream), buffer_(kBlockSize) {
    data_ = buffer_.data();
}

bool TRtfInput::Refill() {
    if (!stream_) return false;
    size_ = stream_->Read(buffer_.data(), buffer_.size());
    pos_ = 0;
    return size_ > 0;
}

size_t TRtfInput::Available() {
    if (pos_ == size_ && !Refill()) return 0;
    return size_ - pos_;
}

bool TRtfInput::AtEnd() {
    return pushed_ < 0 && Available() == 0;
}

int TRtfInput::TryNext() {
    if (pushed_ >= 0) {
        const int c = pushed_;
        pushed_ = kEnd;
        return c;
    }
    if (pos_ == size_ && !Refill()) return kEnd;
    return data_[pos_++];
}

int TRtfInput::Next() {
    const int c = TryNext();
    if (c == kEnd) throw ERtfError("Неправильный конец файла");
    return c;
}

} // namespace kvelo::rtf
