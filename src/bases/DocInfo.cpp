#include "bases/DocInfo.h"

#include "platform/Streams.h"

#include <algorithm>
#include <array>

namespace kvelo {

void TDocInfo::LoadFromStream(TStream& stream) {
    DocId = stream.ReadI32();
    Date = stream.ReadDouble();
}

void TDocInfo::SaveToStream(TStream& stream) const {
    stream.WriteI32(DocId);
    stream.WriteDouble(Date);
}

void TUserDocInfo::LoadFromStream(TStream& stream) {
    TDocInfo::LoadFromStream(stream);
    std::array<char, NumberCapacity + 1> bytes{};
    stream.ReadBuffer(bytes.data(), bytes.size());
    const size_t length = std::min<size_t>(static_cast<unsigned char>(bytes[0]), NumberCapacity);
    Number.assign(bytes.data() + 1, length);
}

void TUserDocInfo::SaveToStream(TStream& stream) const {
    TDocInfo::SaveToStream(stream);
    std::array<char, NumberCapacity + 1> bytes{};
    const size_t length = std::min(Number.size(), NumberCapacity);
    bytes[0] = static_cast<char>(length);
    std::copy_n(Number.data(), length, bytes.data() + 1);
    stream.WriteBuffer(bytes.data(), bytes.size());
}

TDocInfo* NodeRecord(const TTreeNode* node) {
    return node ? dynamic_cast<TDocInfo*>(node->Object()) : nullptr;
}

} // namespace kvelo
