// The byte layout of base files and companion files as the packer writes
// them: every field once, with its offset and width. All integers are
// little-endian; dates are 8-byte IEEE doubles (days since 30 Dec 1899).
#pragma once

#include <cstdint>

namespace kvelo::pack::layout {

struct Field {
    uint32_t offset;
    uint32_t width;
    constexpr uint32_t end() const { return offset + width; }
};

// Base file header: 572 bytes at offset 0, never scrambled.
namespace header {
inline constexpr uint32_t Size = 572;
inline constexpr uint32_t Magic = 0x314B4753; // "SGK1"
inline constexpr Field MagicField{0, 4};
inline constexpr Field Name{4, 256}; // length byte + up to 255 characters
inline constexpr Field DocCount{260, 2};
inline constexpr Field DocTableOffset{264, 4};
inline constexpr Field RootFolderOffset{268, 4};
inline constexpr Field WordIndexCount{272, 4};
inline constexpr Field WordIndexOffset{276, 4};
inline constexpr Field DateIndexCount{280, 4};
inline constexpr Field DateIndexOffset{284, 4};
inline constexpr Field NumberIndexCount{288, 4};
inline constexpr Field NumberIndexOffset{292, 4};
inline constexpr Field TypeTableCount{296, 4};
inline constexpr Field TypeTableOffset{300, 4};
inline constexpr Field OrganTableCount{304, 4};
inline constexpr Field OrganTableOffset{308, 4};
inline constexpr Field ScrambleKey{312, 4};
inline constexpr Field ExcludedCount{316, 4};
inline constexpr Field ExcludedOffset{320, 4};
inline constexpr Field ModeA{324, 1};
inline constexpr Field Language{325, 1};
inline constexpr Field ModeB{326, 1};
inline constexpr Field RegNumberIndexCount{332, 4};
inline constexpr Field RegNumberIndexOffset{336, 4};
inline constexpr Field RecordCount{340, 4};
static_assert(RecordCount.end() <= Size);
} // namespace header

// Companion file header: 552 bytes at offset 0, never scrambled.
namespace companion {
inline constexpr uint32_t Size = 552;
inline constexpr Field CompanionCount{258, 2};
inline constexpr Field CompanionTableOffset{260, 4};
inline constexpr Field WordIndexCount{264, 4};
inline constexpr Field WordIndexOffset{268, 4};
inline constexpr Field CompanionKeyField{272, 4}; // 0: not scrambled
inline constexpr Field BaseDate{288, 8};
static_assert(BaseDate.end() <= Size);
// One entry per document, parallel to the document table: bytes 0..3 are not
// read by the program (the packer puts the DocId there), bytes 4..7 hold the
// offset of the document's compressed body in the companion file.
inline constexpr uint32_t TableEntrySize = 8;
} // namespace companion

// Document table entry: DocId, then the offset of the document record.
inline constexpr uint32_t DocTableEntrySize = 8;

// Document record: TreePos (i32), date (8), title (counted string), then
//  self-contained base: the compressed body;
//  companion-file base: comment (counted string), change date (8),
//   AttachOffset (i32, relative to the body start in the companion file;
//   0 = none), source type (counted string, only when AttachOffset > 0),
//   RichView flag (u8).
namespace record {
inline constexpr Field TreePos{0, 4};
inline constexpr Field Date{4, 8};
inline constexpr uint32_t TitleOffset = 12;
} // namespace record

// Folder block: child count (u8), folder key (i32), then the children's tree
// records, each followed by its name.
namespace folder {
inline constexpr uint32_t HeaderSize = 5;
inline constexpr uint32_t MaxChildren = 255;
} // namespace folder

// Tree record: 20 bytes, followed by NameLength name characters.
namespace tree {
inline constexpr uint32_t Size = 20;
inline constexpr Field DocId{0, 4}; // documents: DocId; folders: folder key
inline constexpr Field ParentPos{4, 4};
inline constexpr Field ChildPos{8, 4};
inline constexpr Field Image{12, 1};
inline constexpr Field SelectedImage{13, 1};
inline constexpr Field NameLength{16, 4};
static_assert(NameLength.end() == Size);
} // namespace tree

// Tree images the packer gives by default.
namespace image {
inline constexpr int Folder = 1;
inline constexpr int OpenFolder = 2;
inline constexpr int Document = 4;
inline constexpr int Excluded = 18;
} // namespace image

} // namespace kvelo::pack::layout
