#include "BaseIndexes.h"

namespace kvelo::pack {
namespace {

// Where one table went: its entry count and the file offset it starts at.
struct IndexTable {
    int32_t count = 0;
    int32_t offset = 0;
};

using IndexFunction = IndexTable (*)(const BaseSpec&, ByteWriter&);

// The tables are not written yet: every base leaves its counts and offsets 0,
// which readers take as an empty index. Each table becomes one function here.
IndexTable noTable(const BaseSpec&, ByteWriter&) {
    return {};
}

struct IndexSlot {
    layout::Field countField;
    layout::Field offsetField;
    IndexFunction write;
};

namespace h = layout::header;

const IndexSlot baseSlots[] = {
    {h::NumberIndexCount, h::NumberIndexOffset, noTable},
    {h::RegNumberIndexCount, h::RegNumberIndexOffset, noTable},
    {h::DateIndexCount, h::DateIndexOffset, noTable},
    {h::TypeTableCount, h::TypeTableOffset, noTable},
    {h::OrganTableCount, h::OrganTableOffset, noTable},
    {h::ExcludedCount, h::ExcludedOffset, noTable},
};

const IndexSlot selfContainedWordSlot{h::WordIndexCount, h::WordIndexOffset, noTable};
const IndexSlot companionWordSlot{layout::companion::WordIndexCount,
                                  layout::companion::WordIndexOffset, noTable};

void writeSlot(const IndexSlot& slot, const BaseSpec& spec, ByteWriter& out) {
    const IndexTable table = slot.write(spec, out);
    out.PutI32(slot.countField, table.count);
    out.PutI32(slot.offsetField, table.offset);
}

} // namespace

void WriteIndexes(const BaseSpec& spec, ByteWriter& base, ByteWriter* companion) {
    for (const IndexSlot& slot : baseSlots)
        writeSlot(slot, spec, base);
    if (companion)
        writeSlot(companionWordSlot, spec, *companion);
    else
        writeSlot(selfContainedWordSlot, spec, base);
}

} // namespace kvelo::pack
