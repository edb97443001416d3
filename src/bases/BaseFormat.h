// The binary layouts of base files and companion files, declared once, field
// by field (offset, width; all little-endian), with bounds-checked readers,
// and the rule that decides a file's storage mode.
#pragma once

#include "platform/DateTime.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace kvelo {

class TStream;

struct FieldSpec {
    size_t offset;
    size_t width;
};

// The base file header: 572 bytes at offset 0, never scrambled.
namespace BaseHeaderLayout {
inline constexpr size_t Size = 572;
inline constexpr FieldSpec Magic{0, 4};                  // "SGK1"
inline constexpr FieldSpec BaseName{4, 256};             // short string: length byte, characters
inline constexpr FieldSpec DocCount{260, 2};             // u16
inline constexpr FieldSpec DocTableOffset{264, 4};       // i32
inline constexpr FieldSpec RootFolderOffset{268, 4};     // i32
inline constexpr FieldSpec WordIndexCount{272, 4};       // i32
inline constexpr FieldSpec WordIndexOffset{276, 4};      // i32
inline constexpr FieldSpec DateIndexCount{280, 4};       // i32
inline constexpr FieldSpec DateIndexOffset{284, 4};      // i32
inline constexpr FieldSpec NumberIndexCount{288, 4};     // i32
inline constexpr FieldSpec NumberIndexOffset{292, 4};    // i32
inline constexpr FieldSpec TypeTableCount{296, 4};       // i32
inline constexpr FieldSpec TypeTableOffset{300, 4};      // i32
inline constexpr FieldSpec OrganTableCount{304, 4};      // i32
inline constexpr FieldSpec OrganTableOffset{308, 4};     // i32
inline constexpr FieldSpec ScrambleKey{312, 4};          // i32; 0 = not scrambled
inline constexpr FieldSpec ExcludedCount{316, 4};        // i32
inline constexpr FieldSpec ExcludedOffset{320, 4};       // i32
inline constexpr FieldSpec ModeA{324, 1};                // u8
inline constexpr FieldSpec Language{325, 1};             // u8: 0 Russian, 1 Uzbek
inline constexpr FieldSpec ModeB{326, 1};                // u8
inline constexpr FieldSpec RegNumberIndexCount{332, 4};  // i32
inline constexpr FieldSpec RegNumberIndexOffset{336, 4}; // i32
inline constexpr FieldSpec RecordCount{340, 4};          // i32
} // namespace BaseHeaderLayout

// The companion file header: 552 bytes at offset 0, never scrambled.
namespace CompanionHeaderLayout {
inline constexpr size_t Size = 552;
inline constexpr FieldSpec CompanionCount{258, 2};       // u16: entries of the companion table
inline constexpr FieldSpec CompanionTableOffset{260, 4}; // i32
inline constexpr FieldSpec WordIndexCount{264, 4};       // i32
inline constexpr FieldSpec WordIndexOffset{268, 4};      // i32
inline constexpr FieldSpec CompanionKeyField{272, 4};    // i32; 0 = not scrambled
inline constexpr FieldSpec BaseDate{288, 8};             // f64 date
} // namespace CompanionHeaderLayout

// A folder's tree record: 20 bytes, followed by NameLength bytes of name.
namespace TreeRecordLayout {
inline constexpr size_t Size = 20;
inline constexpr FieldSpec DocId{0, 4};          // i32: document id, or the folder key of a folder
inline constexpr FieldSpec ParentPos{4, 4};      // i32: the parent folder's tree record
inline constexpr FieldSpec ChildPos{8, 4};       // i32: the folder block of a folder's children
inline constexpr FieldSpec Image{12, 1};         // u8
inline constexpr FieldSpec SelectedImage{13, 1}; // u8
inline constexpr FieldSpec NameLength{16, 4};    // i32
} // namespace TreeRecordLayout

// Other fixed sizes: a document table entry (DocId i32, RecordOffset i32), a
// companion table entry (unused i32, body offset i32), the head of a
// document record (TreePos i32, date f64; the counted title follows) and
// the head of a folder block (child count u8, folder key i32).
inline constexpr size_t DocTableEntrySize = 8;
inline constexpr size_t CompanionTableEntrySize = 8;
inline constexpr size_t CompanionBodyOffsetField = 4;
inline constexpr size_t RecordHeadSize = 12;
inline constexpr size_t FolderBlockHeadSize = 5;

// Fixed-size bytes read from a stream, with typed little-endian accessors
// that check each field lies inside them.
template <size_t N> class FixedRecord {
public:
    // Reads exactly N bytes or throws EReadError.
    void ReadFrom(TStream& stream);
    const std::array<uint8_t, N>& Bytes() const { return bytes_; }

    uint8_t U8(FieldSpec f) const { return bytes_[at(f, 1)]; }
    uint16_t U16(FieldSpec f) const;
    int32_t I32(FieldSpec f) const;
    double F64(FieldSpec f) const;
    // A short string: length byte then up to width - 1 characters.
    std::string ShortString(FieldSpec f) const;
    std::string Raw(FieldSpec f) const;

private:
    size_t at(FieldSpec f, size_t width) const;
    std::array<uint8_t, N> bytes_{};
};

struct BaseHeader {
    std::string name; // code page 1251
    uint16_t docCount = 0;
    int32_t docTableOffset = 0;
    int32_t rootFolderOffset = 0;
    int32_t wordIndexCount = 0, wordIndexOffset = 0;
    int32_t dateIndexCount = 0, dateIndexOffset = 0;
    int32_t numberIndexCount = 0, numberIndexOffset = 0;
    int32_t typeTableCount = 0, typeTableOffset = 0;
    int32_t organTableCount = 0, organTableOffset = 0;
    int32_t scrambleKey = 0;
    int32_t excludedCount = 0, excludedOffset = 0;
    uint8_t modeA = 0, language = 0, modeB = 0;
    int32_t regNumberIndexCount = 0, regNumberIndexOffset = 0;
    int32_t recordCount = 0;
};

struct CompanionHeader {
    uint16_t companionCount = 0;
    int32_t companionTableOffset = 0;
    int32_t wordIndexCount = 0, wordIndexOffset = 0;
    int32_t companionKeyField = 0;
    TDateTime baseDate = 0;
};

struct TreeRecord {
    int32_t docId = 0;
    int32_t parentPos = 0;
    int32_t childPos = 0;
    uint8_t image = 0;
    uint8_t selectedImage = 0;
    int32_t nameLength = 0;
};

// Whether the first four bytes are "SGK1".
bool HasBaseMagic(const FixedRecord<BaseHeaderLayout::Size>& header);
BaseHeader ParseBaseHeader(const FixedRecord<BaseHeaderLayout::Size>& header);
// Reads the 572 header bytes from the stream's current position (throws EReadError when short).
FixedRecord<BaseHeaderLayout::Size> ReadBaseHeaderBytes(TStream& stream);
CompanionHeader ReadCompanionHeader(TStream& stream);
// Reads the 20-byte record at the current position (the name is not read).
TreeRecord ReadTreeRecord(TStream& stream);
// Reads a node name of `length` bytes and returns its first 255 bytes;
// throws EReadError when the name is negative or runs past the end.
std::string ReadNodeName(TStream& stream, int32_t length);

enum class StorageMode { SelfContained, Companion };

struct StorageDecision {
    bool accepted = false;
    StorageMode mode = StorageMode::SelfContained;
    bool supplementary = false; // a ".buk" companion base shown with image 19
};

// The storage mode of a base file from its two mode bytes and its file name
// (only the name's last three characters matter, compared case-sensitively).
StorageDecision DecideStorage(uint8_t modeA, uint8_t modeB, const std::string& fileName);

// The companion file name of a base file: its last three characters replaced by "dcm".
std::string CompanionFileName(const std::string& baseFileName);

} // namespace kvelo
