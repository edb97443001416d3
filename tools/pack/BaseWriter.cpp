#include "BaseWriter.h"

#include "BaseIndexes.h"
#include "BaseLayout.h"
#include "BasePacker.h"
#include "ByteWriter.h"
#include "Scramble.h"

#include <zlib.h>

#include <map>

namespace kvelo::pack {
namespace {

namespace h = layout::header;

// ---- folder tree ------------------------------------------------------------

// Writes folder blocks: a folder's block lists its children's tree records;
// the blocks of sub-folders follow their parent's block. Remembers where each
// node's tree record went, so document records can point at their node.
class TreeWriter {
public:
    explicit TreeWriter(ByteWriter& out) : out_(out) {}

    // Writes the top-level block at the current position.
    void WriteRoot(const std::vector<NodeSpec>& top) { writeBlock(top, 0, std::nullopt); }

    // Offset of the first tree record of each document, in depth-first order of the tree.
    std::map<int32_t, int32_t> FirstTreePositions(const std::vector<NodeSpec>& top) const {
        std::map<int32_t, int32_t> first;
        collectFirst(top, first);
        return first;
    }

private:
    int32_t writeBlock(const std::vector<NodeSpec>& nodes, int32_t parentPos,
                       std::optional<int32_t> key);
    int32_t writeRecord(const NodeSpec& node, int32_t parentPos);
    void collectFirst(const std::vector<NodeSpec>& nodes, std::map<int32_t, int32_t>& first) const;

    ByteWriter& out_;
    std::map<const NodeSpec*, int32_t> recordPos_;
};

int32_t TreeWriter::writeBlock(const std::vector<NodeSpec>& nodes, int32_t parentPos,
                               std::optional<int32_t> key) {
    const int32_t blockPos = out_.Pos();
    out_.U8(static_cast<uint8_t>(nodes.size()));
    out_.I32(key.value_or(blockPos));
    for (const NodeSpec& node : nodes)
        recordPos_[&node] = writeRecord(node, parentPos);
    for (const NodeSpec& node : nodes) {
        if (!node.isFolder) continue;
        const int32_t recordPos = recordPos_[&node];
        const int32_t childPos = writeBlock(node.children, recordPos, node.key);
        out_.PutI32(layout::tree::ChildPos, childPos, recordPos);
        out_.PutI32(layout::tree::DocId, node.key.value_or(childPos), recordPos);
    }
    return blockPos;
}

int32_t TreeWriter::writeRecord(const NodeSpec& node, int32_t parentPos) {
    const int32_t pos = out_.Pos();
    out_.I32(node.isFolder ? 0 : node.docId); // a folder's key is patched in with its block
    out_.I32(parentPos);
    out_.I32(0); // ChildPos, patched for folders
    out_.U8(node.image);
    out_.U8(node.selected);
    out_.Zeros(2);
    out_.I32(static_cast<int32_t>(node.name.size()));
    out_.Bytes(node.name);
    return pos;
}

void TreeWriter::collectFirst(const std::vector<NodeSpec>& nodes,
                              std::map<int32_t, int32_t>& first) const {
    for (const NodeSpec& node : nodes) {
        if (node.isFolder)
            collectFirst(node.children, first);
        else
            first.emplace(node.docId, recordPos_.at(&node));
    }
}

// ---- bodies -----------------------------------------------------------------

struct CompanionPlacement {
    int32_t bodyPos = 0;
    int32_t attachOffset = 0; // relative to bodyPos; 0 = none
};

// Writes each document's compressed body (and attached stream) after the
// companion header, then the companion table.
std::vector<CompanionPlacement> writeCompanionBodies(const BaseSpec& spec, ByteWriter& out) {
    std::vector<CompanionPlacement> placements;
    for (const DocumentSpec& doc : spec.documents) {
        CompanionPlacement place;
        place.bodyPos = out.Pos();
        out.Bytes(Deflate(doc.body));
        if (doc.attach) {
            place.attachOffset = out.Pos() - place.bodyPos;
            out.Bytes(Deflate(*doc.attach));
        }
        placements.push_back(place);
    }
    out.PutI32(layout::companion::CompanionTableOffset, out.Pos());
    out.PutU16(layout::companion::CompanionCount, static_cast<uint16_t>(spec.documents.size()));
    for (size_t i = 0; i < spec.documents.size(); ++i) {
        out.I32(spec.documents[i].id);
        out.I32(placements[i].bodyPos);
    }
    return placements;
}

// ---- document records -------------------------------------------------------

void writeCompanionTail(const DocumentSpec& doc, const CompanionPlacement& place, ByteWriter& out) {
    out.CountedString(doc.comment);
    out.Date(doc.changeDate);
    out.I32(place.attachOffset);
    if (place.attachOffset > 0) out.CountedString(doc.sourceType);
    out.U8(doc.richView ? 1 : 0);
}

// Writes every document record; returns their offsets in document table order.
std::vector<int32_t> writeRecords(const BaseSpec& spec, const std::map<int32_t, int32_t>& treePos,
                                  const std::vector<CompanionPlacement>& companion,
                                  ByteWriter& out) {
    std::vector<int32_t> offsets;
    for (size_t i = 0; i < spec.documents.size(); ++i) {
        const DocumentSpec& doc = spec.documents[i];
        offsets.push_back(out.Pos());
        out.I32(treePos.at(doc.id));
        out.Date(doc.date);
        out.CountedString(doc.title);
        if (spec.storage == Storage::Companion)
            writeCompanionTail(doc, companion[i], out);
        else
            out.Bytes(Deflate(doc.body));
    }
    return offsets;
}

void writeDocTable(const BaseSpec& spec, const std::vector<int32_t>& recordOffsets,
                   ByteWriter& out) {
    out.PutI32(h::DocTableOffset, out.Pos());
    out.PutU16(h::DocCount, static_cast<uint16_t>(spec.documents.size()));
    for (size_t i = 0; i < spec.documents.size(); ++i) {
        out.I32(spec.documents[i].id);
        out.I32(recordOffsets[i]);
    }
}

// ---- headers ----------------------------------------------------------------

void writeBaseHeader(const BaseSpec& spec, ByteWriter& out) {
    out.Zeros(h::Size);
    out.PutI32(h::MagicField, static_cast<int32_t>(h::Magic));
    out.PutBytes(h::Name, std::string(1, static_cast<char>(spec.name.size())) + spec.name);
    out.PutI32(h::ScrambleKey, spec.scrambleKey);
    out.PutU8(h::ModeA, spec.modeA);
    out.PutU8(h::Language, spec.language);
    out.PutU8(h::ModeB, spec.modeB);
    out.PutI32(h::RecordCount, spec.recordCount);
}

void writeCompanionHeader(const BaseSpec& spec, ByteWriter& out) {
    out.Zeros(layout::companion::Size);
    out.PutI32(layout::companion::CompanionKeyField, spec.companionKey != 0 ? 1 : 0);
    out.PutDate(layout::companion::BaseDate, spec.baseDate);
}

} // namespace

std::vector<uint8_t> Deflate(const std::vector<uint8_t>& bytes) {
    uLongf size = compressBound(static_cast<uLong>(bytes.size()));
    std::vector<uint8_t> out(size);
    if (compress2(out.data(), &size, bytes.data(), static_cast<uLong>(bytes.size()),
                  Z_BEST_COMPRESSION) != Z_OK)
        throw PackError("zlib could not compress a body");
    out.resize(size);
    return out;
}

PackedBase WriteBase(const BaseSpec& spec) {
    ByteWriter base;
    writeBaseHeader(spec, base);

    std::optional<ByteWriter> companion;
    std::vector<CompanionPlacement> placements;
    if (spec.storage == Storage::Companion) {
        companion.emplace();
        writeCompanionHeader(spec, *companion);
        placements = writeCompanionBodies(spec, *companion);
    }

    base.PutI32(h::RootFolderOffset, base.Pos());
    TreeWriter tree(base);
    tree.WriteRoot(spec.tree);
    const auto records = writeRecords(spec, tree.FirstTreePositions(spec.tree), placements, base);
    writeDocTable(spec, records, base);
    WriteIndexes(spec, base, companion ? &*companion : nullptr);

    PackedBase out;
    out.base = std::move(base.Data());
    if (spec.scrambleKey != 0)
        ScrambleFrom(out.base, h::Size, static_cast<uint16_t>(spec.scrambleKey));
    if (companion) {
        out.companion = std::move(companion->Data());
        if (spec.companionKey != 0)
            ScrambleFrom(*out.companion, layout::companion::Size, spec.companionKey);
    }
    return out;
}

} // namespace kvelo::pack
