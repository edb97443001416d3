#include "BaseIndexes.h"

#include "BasePacker.h"
#include "IndexWords.h"
#include "platform/Collation.h"
#include "platform/Cp1251.h"

#include <algorithm>
#include <map>
#include <unordered_map>

namespace kvelo::pack {
namespace {

// Where one table went: its entry count and the file offset it starts at.
struct IndexTable {
    int32_t count = 0;
    int32_t offset = 0;
};

using IndexFunction = IndexTable (*)(const BaseSpec&, ByteWriter&);

// ---- tables of entries behind an offset array -------------------------------

// Writes an array of `count` offsets, then each entry by `writeEntry(i)`,
// patching entry i's offset into the array as it goes.
template <typename WriteEntry>
IndexTable writeOffsetTable(ByteWriter& out, size_t count, WriteEntry writeEntry) {
    if (count == 0) return {};
    const int32_t arrayPos = out.Pos();
    out.Zeros(count * 4);
    for (size_t i = 0; i < count; ++i) {
        out.PutI32(layout::Field{uint32_t(i * 4), 4}, out.Pos(), arrayPos);
        writeEntry(i);
    }
    return {int32_t(count), arrayPos};
}

void writeIds(ByteWriter& out, const std::vector<int32_t>& ids) {
    out.U16(static_cast<uint16_t>(ids.size()));
    for (int32_t id : ids)
        out.I32(id);
}

// Sorts keys by the collation of base indexes; keys it holds equal by bytes,
// so the file does not depend on the sort's stability.
template <typename T, typename KeyOf> void sortByCollation(std::vector<T>& items, KeyOf keyOf) {
    std::vector<std::pair<std::string, size_t>> order;
    order.reserve(items.size());
    for (size_t i = 0; i < items.size(); ++i)
        order.emplace_back(CollationKey(keyOf(items[i])), i);
    std::sort(order.begin(), order.end(), [&](const auto& a, const auto& b) {
        if (a.first != b.first) return a.first < b.first;
        if (keyOf(items[a.second]) != keyOf(items[b.second]))
            return keyOf(items[a.second]) < keyOf(items[b.second]);
        return a.second < b.second;
    });
    std::vector<T> sorted;
    sorted.reserve(items.size());
    for (const auto& entry : order)
        sorted.push_back(std::move(items[entry.second]));
    items = std::move(sorted);
}

// ---- number indexes ---------------------------------------------------------

struct NumberEntry {
    std::string number; // upper case: searches pass upper-cased text
    int32_t docId;
};

IndexTable writeNumberTable(const BaseSpec& spec, ByteWriter& out,
                            std::string DocumentSpec::*field) {
    std::vector<NumberEntry> entries;
    for (const DocumentSpec& doc : spec.documents)
        if (!(doc.*field).empty()) entries.push_back({AnsiUpperCase(doc.*field), doc.id});
    sortByCollation(entries, [](const NumberEntry& e) -> const std::string& { return e.number; });
    return writeOffsetTable(out, entries.size(), [&](size_t i) {
        out.CountedString(entries[i].number);
        out.I32(entries[i].docId);
    });
}

IndexTable numberTable(const BaseSpec& spec, ByteWriter& out) {
    return writeNumberTable(spec, out, &DocumentSpec::number);
}

IndexTable regNumberTable(const BaseSpec& spec, ByteWriter& out) {
    return writeNumberTable(spec, out, &DocumentSpec::regNumber);
}

// ---- type and organ tables --------------------------------------------------

struct CodeEntry {
    std::string name;
    std::vector<int32_t> ids;
};

IndexTable writeCodeTable(const std::vector<CodeName>& names, const BaseSpec& spec,
                          std::optional<int> DocumentSpec::*field, const char* what,
                          ByteWriter& out) {
    std::map<int, CodeEntry> byCode; // ascending code
    for (const CodeName& item : names) {
        if (byCode.count(item.code))
            throw PackError(std::string(what) + " code " + std::to_string(item.code) +
                            " is listed twice");
        byCode[item.code].name = item.name;
    }
    for (const DocumentSpec& doc : spec.documents) {
        const auto& code = doc.*field;
        if (!code) continue;
        std::vector<int32_t>& ids = byCode[*code].ids;
        if (ids.size() == 0xFFFF) throw PackError("a code holds more than 65,535 documents");
        ids.push_back(doc.id);
    }
    std::vector<std::pair<int, CodeEntry>> entries(byCode.begin(), byCode.end());
    return writeOffsetTable(out, entries.size(), [&](size_t i) {
        out.U16(static_cast<uint16_t>(entries[i].first));
        out.CountedString(entries[i].second.name);
        writeIds(out, entries[i].second.ids);
    });
}

IndexTable typeTable(const BaseSpec& spec, ByteWriter& out) {
    return writeCodeTable(spec.types, spec, &DocumentSpec::type, "type", out);
}

IndexTable organTable(const BaseSpec& spec, ByteWriter& out) {
    return writeCodeTable(spec.organs, spec, &DocumentSpec::organ, "organ", out);
}

// ---- date index and excluded list -------------------------------------------

IndexTable dateTable(const BaseSpec& spec, ByteWriter& out) {
    std::vector<std::pair<TDateTime, int32_t>> entries;
    for (const DocumentSpec& doc : spec.documents)
        if (doc.date != 0) entries.emplace_back(doc.date, doc.id);
    if (entries.empty()) return {};
    std::sort(entries.begin(), entries.end());
    const int32_t offset = out.Pos();
    for (const auto& [date, id] : entries) {
        out.Date(date);
        out.I32(id);
    }
    return {int32_t(entries.size()), offset};
}

IndexTable excludedList(const BaseSpec& spec, ByteWriter& out) {
    const int32_t offset = out.Pos();
    int32_t count = 0;
    for (const DocumentSpec& doc : spec.documents) {
        if (!doc.excluded) continue;
        out.I32(doc.id);
        ++count;
    }
    return {count, count ? offset : 0};
}

// ---- word index -------------------------------------------------------------

struct WordEntry {
    std::string word;
    std::vector<int32_t> textIds;
    std::vector<int32_t> titleIds;
};

// Appends `id` unless it is the list's last entry: documents come one by one.
void addOnce(std::vector<int32_t>& ids, int32_t id) {
    if (ids.empty() || ids.back() != id) ids.push_back(id);
}

std::vector<WordEntry> collectWords(const BaseSpec& spec) {
    std::unordered_map<std::string, size_t> at;
    std::vector<WordEntry> words;
    auto entryOf = [&](std::string word) -> WordEntry& {
        auto [it, added] = at.emplace(word, words.size());
        if (added) words.push_back({std::move(word), {}, {}});
        return words[it->second];
    };
    for (const DocumentSpec& doc : spec.documents) {
        ForEachIndexWord(BodyTextForIndex(doc.body), [&](std::string word) {
            addOnce(entryOf(std::move(word)).textIds, doc.id);
        });
        ForEachIndexWord(doc.title, [&](std::string word) {
            addOnce(entryOf(std::move(word)).titleIds, doc.id);
        });
    }
    return words;
}

IndexTable wordIndex(const BaseSpec& spec, ByteWriter& out) {
    std::vector<WordEntry> words = collectWords(spec);
    sortByCollation(words, [](const WordEntry& e) -> const std::string& { return e.word; });
    return writeOffsetTable(out, words.size(), [&](size_t i) {
        const WordEntry& entry = words[i];
        out.CountedString(entry.word);
        out.U16(static_cast<uint16_t>(entry.textIds.size()));
        out.U16(static_cast<uint16_t>(entry.titleIds.size()));
        for (int32_t id : entry.textIds)
            out.I32(id);
        for (int32_t id : entry.titleIds)
            out.I32(id);
    });
}

// ---- header slots -----------------------------------------------------------

struct IndexSlot {
    layout::Field countField;
    layout::Field offsetField;
    IndexFunction write;
};

namespace h = layout::header;

const IndexSlot baseSlots[] = {
    {h::NumberIndexCount, h::NumberIndexOffset, numberTable},
    {h::RegNumberIndexCount, h::RegNumberIndexOffset, regNumberTable},
    {h::DateIndexCount, h::DateIndexOffset, dateTable},
    {h::TypeTableCount, h::TypeTableOffset, typeTable},
    {h::OrganTableCount, h::OrganTableOffset, organTable},
    {h::ExcludedCount, h::ExcludedOffset, excludedList},
};

const IndexSlot selfContainedWordSlot{h::WordIndexCount, h::WordIndexOffset, wordIndex};
const IndexSlot companionWordSlot{layout::companion::WordIndexCount,
                                  layout::companion::WordIndexOffset, wordIndex};

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
