#include "bases/BaseFormat.h"

#include "platform/Streams.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace kvelo {
namespace {

constexpr bool Fits(FieldSpec f, size_t size) {
    return f.offset + f.width <= size;
}

namespace H = BaseHeaderLayout;
static_assert(Fits(H::RecordCount, H::Size) && H::RecordCount.offset + 4 == 344);
static_assert(H::BaseName.offset + H::BaseName.width == H::DocCount.offset);
static_assert(H::ModeA.offset + 1 == H::Language.offset &&
              H::Language.offset + 1 == H::ModeB.offset);
namespace C = CompanionHeaderLayout;
static_assert(Fits(C::BaseDate, C::Size) && C::BaseDate.offset + 8 + 256 == C::Size);
namespace T = TreeRecordLayout;
static_assert(Fits(T::NameLength, T::Size) && T::NameLength.offset + 4 == T::Size);

constexpr size_t MaxShownNameLength = 255;

} // namespace

template <size_t N> void FixedRecord<N>::ReadFrom(TStream& stream) {
    stream.ReadBuffer(bytes_.data(), N);
}

template <size_t N> size_t FixedRecord<N>::at(FieldSpec f, size_t width) const {
    if (f.width != width || !Fits(f, N)) throw std::logic_error("field outside its record");
    return f.offset;
}

template <size_t N> uint16_t FixedRecord<N>::U16(FieldSpec f) const {
    const size_t o = at(f, 2);
    return static_cast<uint16_t>(bytes_[o] | (bytes_[o + 1] << 8));
}

template <size_t N> int32_t FixedRecord<N>::I32(FieldSpec f) const {
    const size_t o = at(f, 4);
    const uint32_t u =
        static_cast<uint32_t>(bytes_[o]) | (static_cast<uint32_t>(bytes_[o + 1]) << 8) |
        (static_cast<uint32_t>(bytes_[o + 2]) << 16) | (static_cast<uint32_t>(bytes_[o + 3]) << 24);
    return static_cast<int32_t>(u);
}

template <size_t N> double FixedRecord<N>::F64(FieldSpec f) const {
    const size_t o = at(f, 8);
    uint64_t bits = 0;
    for (size_t i = 8; i-- > 0;)
        bits = (bits << 8) | bytes_[o + i];
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

template <size_t N> std::string FixedRecord<N>::ShortString(FieldSpec f) const {
    const size_t o = at(f, f.width);
    const size_t length = std::min<size_t>(bytes_[o], f.width - 1);
    return std::string(reinterpret_cast<const char*>(bytes_.data() + o + 1), length);
}

template <size_t N> std::string FixedRecord<N>::Raw(FieldSpec f) const {
    const size_t o = at(f, f.width);
    return std::string(reinterpret_cast<const char*>(bytes_.data() + o), f.width);
}

template class FixedRecord<BaseHeaderLayout::Size>;
template class FixedRecord<CompanionHeaderLayout::Size>;
template class FixedRecord<TreeRecordLayout::Size>;

bool HasBaseMagic(const FixedRecord<BaseHeaderLayout::Size>& header) {
    return header.Raw(H::Magic) == "SGK1";
}

BaseHeader ParseBaseHeader(const FixedRecord<BaseHeaderLayout::Size>& r) {
    BaseHeader h;
    h.name = r.ShortString(H::BaseName);
    h.docCount = r.U16(H::DocCount);
    h.docTableOffset = r.I32(H::DocTableOffset);
    h.rootFolderOffset = r.I32(H::RootFolderOffset);
    h.wordIndexCount = r.I32(H::WordIndexCount);
    h.wordIndexOffset = r.I32(H::WordIndexOffset);
    h.dateIndexCount = r.I32(H::DateIndexCount);
    h.dateIndexOffset = r.I32(H::DateIndexOffset);
    h.numberIndexCount = r.I32(H::NumberIndexCount);
    h.numberIndexOffset = r.I32(H::NumberIndexOffset);
    h.typeTableCount = r.I32(H::TypeTableCount);
    h.typeTableOffset = r.I32(H::TypeTableOffset);
    h.organTableCount = r.I32(H::OrganTableCount);
    h.organTableOffset = r.I32(H::OrganTableOffset);
    h.scrambleKey = r.I32(H::ScrambleKey);
    h.excludedCount = r.I32(H::ExcludedCount);
    h.excludedOffset = r.I32(H::ExcludedOffset);
    h.modeA = r.U8(H::ModeA);
    h.language = r.U8(H::Language);
    h.modeB = r.U8(H::ModeB);
    h.regNumberIndexCount = r.I32(H::RegNumberIndexCount);
    h.regNumberIndexOffset = r.I32(H::RegNumberIndexOffset);
    h.recordCount = r.I32(H::RecordCount);
    return h;
}

FixedRecord<BaseHeaderLayout::Size> ReadBaseHeaderBytes(TStream& stream) {
    FixedRecord<BaseHeaderLayout::Size> r;
    r.ReadFrom(stream);
    return r;
}

CompanionHeader ReadCompanionHeader(TStream& stream) {
    FixedRecord<CompanionHeaderLayout::Size> r;
    r.ReadFrom(stream);
    CompanionHeader h;
    h.companionCount = r.U16(C::CompanionCount);
    h.companionTableOffset = r.I32(C::CompanionTableOffset);
    h.wordIndexCount = r.I32(C::WordIndexCount);
    h.wordIndexOffset = r.I32(C::WordIndexOffset);
    h.companionKeyField = r.I32(C::CompanionKeyField);
    h.baseDate = r.F64(C::BaseDate);
    return h;
}

TreeRecord ReadTreeRecord(TStream& stream) {
    FixedRecord<TreeRecordLayout::Size> r;
    r.ReadFrom(stream);
    TreeRecord t;
    t.docId = r.I32(T::DocId);
    t.parentPos = r.I32(T::ParentPos);
    t.childPos = r.I32(T::ChildPos);
    t.image = r.U8(T::Image);
    t.selectedImage = r.U8(T::SelectedImage);
    t.nameLength = r.I32(T::NameLength);
    return t;
}

std::string ReadNodeName(TStream& stream, int32_t length) {
    const int64_t left = stream.Size() - stream.Position();
    if (length < 0 || length > left) throw EReadError("Tree record name runs past the end");
    const auto shown = std::min<size_t>(static_cast<size_t>(length), MaxShownNameLength);
    std::string name = stream.ReadBytes(shown);
    stream.Skip(length - static_cast<int64_t>(shown));
    return name;
}

namespace {

bool ExtensionIs(const std::string& fileName, const char* ext) {
    return fileName.size() >= 3 && fileName.compare(fileName.size() - 3, 3, ext) == 0;
}

} // namespace

StorageDecision DecideStorage(uint8_t modeA, uint8_t modeB, const std::string& fileName) {
    int mode = (modeA + modeB) % 256;
    bool supplementary = false;
    if (mode == 1) mode = 2;
    if (modeB == '-' || modeB == '/') mode = 1;
    if ((modeB == 42 || modeB == 43 || modeB == 48) && ExtensionIs(fileName, "buk")) {
        mode = 1;
        supplementary = true;
    }
    if (modeA == 3 && modeB == '(') mode = 1;

    StorageDecision d;
    d.accepted = mode <= 1 && !(mode == 0 && ExtensionIs(fileName, "kvl"));
    d.mode = mode == 1 ? StorageMode::Companion : StorageMode::SelfContained;
    d.supplementary = d.accepted && supplementary;
    return d;
}

std::string CompanionFileName(const std::string& baseFileName) {
    const size_t keep = baseFileName.size() >= 3 ? baseFileName.size() - 3 : 0;
    return baseFileName.substr(0, keep) + "dcm";
}

} // namespace kvelo
