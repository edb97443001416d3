#include "bases/BaseIndexes.h"

#include "platform/Collation.h"
#include "platform/Streams.h"

#include <unordered_set>

namespace kvelo::indexes {
namespace {

constexpr int64_t OffsetSize = 4;
constexpr int64_t IdSize = 4;
constexpr int64_t DateEntrySize = 12;

// Throws EReadError unless `count` entries of `entrySize` bytes at the
// table's offset lie inside the stream. A count of 0 or less is an empty table.
bool TableInside(const TStream& stream, TIndexTable table, int64_t entrySize) {
    if (table.count <= 0) return false;
    const int64_t size = stream.Size();
    if (table.offset < 0 || table.offset > size ||
        int64_t(table.count) * entrySize > size - table.offset)
        throw EReadError("Index table lies outside the file");
    return true;
}

int32_t LittleI32(const uint8_t* p) {
    return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                                (static_cast<uint32_t>(p[2]) << 16) |
                                (static_cast<uint32_t>(p[3]) << 24));
}

void ReadIds(TStream& stream, int64_t count, TFoundIds& out) {
    std::vector<uint8_t> bytes(static_cast<size_t>(count * IdSize));
    stream.ReadBuffer(bytes.data(), bytes.size());
    for (size_t at = 0; at < bytes.size(); at += IdSize)
        out.push_back(LittleI32(bytes.data() + at));
}

// Positions the stream at entry `index` of an offset-array table.
void SeekEntry(TStream& stream, TIndexTable table, int64_t index) {
    stream.SetPosition(table.offset + OffsetSize * index);
    stream.SetPosition(stream.ReadI32());
}

bool StartsWith(const std::string& key, const std::string& text) {
    return key.size() >= text.size() && key.compare(0, text.size(), text) == 0;
}

struct Candidate {
    int64_t first = 0; // the first entry that does not sort before the text
    bool found = false;
};

// Binary search over text keys: equality byte by byte (whole key or its
// beginning), order by the collation of base keys.
Candidate SearchText(TStream& stream, TIndexTable table, const std::string& text, TextMatch match) {
    Candidate result;
    int64_t low = 0, high = int64_t(table.count) - 1;
    while (low <= high) {
        const int64_t mid = (low + high) / 2;
        SeekEntry(stream, table, mid);
        const std::string key = stream.ReadCountedString();
        const bool equal = match == TextMatch::Exact ? key == text : StartsWith(key, text);
        const int order = equal ? 0 : CompareText(key, text);
        if (order < 0) {
            low = mid + 1;
        } else {
            high = mid - 1;
            if (order == 0) result.found = true;
        }
    }
    result.first = low;
    return result;
}

double DateAt(TStream& stream, TIndexTable table, int64_t index) {
    stream.SetPosition(table.offset + DateEntrySize * index);
    return stream.ReadDouble();
}

} // namespace

void FindNumber(TStream& stream, TIndexTable table, const std::string& text, TFoundIds& out) {
    if (!TableInside(stream, table, OffsetSize)) return;
    const Candidate candidate = SearchText(stream, table, text, TextMatch::Exact);
    if (!candidate.found) return;
    for (int64_t i = candidate.first; i < table.count; ++i) {
        SeekEntry(stream, table, i);
        if (stream.ReadCountedString() != text) break;
        out.push_back(stream.ReadI32());
    }
}

void FindCode(TStream& stream, TIndexTable table, int32_t code, TFoundIds& out) {
    if (!TableInside(stream, table, OffsetSize)) return;
    int64_t low = 0, high = int64_t(table.count) - 1;
    bool found = false;
    while (low <= high) {
        const int64_t mid = (low + high) / 2;
        SeekEntry(stream, table, mid);
        const int32_t entryCode = stream.ReadU16();
        if (entryCode < code) {
            low = mid + 1;
        } else {
            high = mid - 1;
            if (entryCode == code) found = true;
        }
    }
    if (!found) return;
    SeekEntry(stream, table, low);
    stream.Skip(2);
    stream.Skip(stream.ReadU16());
    ReadIds(stream, stream.ReadU16(), out);
}

void FindWords(TStream& stream, TIndexTable table, const std::string& text, bool whole, bool titles,
               TFoundIds& out) {
    if (!TableInside(stream, table, OffsetSize)) return;
    const Candidate candidate =
        SearchText(stream, table, text, whole ? TextMatch::Exact : TextMatch::Prefix);
    if (whole && !candidate.found) return;
    for (int64_t i = candidate.first; i < table.count; ++i) {
        SeekEntry(stream, table, i);
        if (!StartsWith(stream.ReadCountedString(), text)) break;
        const uint16_t textCount = stream.ReadU16();
        const uint16_t titleCount = stream.ReadU16();
        if (titles) {
            stream.Skip(int64_t(textCount) * IdSize);
            ReadIds(stream, titleCount, out);
        } else {
            ReadIds(stream, textCount, out);
        }
        if (whole) break;
    }
}

void FindDates(TStream& stream, TIndexTable table, TDateTime from, TDateTime to, TFoundIds& out) {
    if (from > to || !TableInside(stream, table, DateEntrySize)) return;
    int64_t low = 0, high = int64_t(table.count) - 1;
    bool found = false;
    while (low <= high) {
        const int64_t mid = (low + high) / 2;
        const double date = DateAt(stream, table, mid);
        if (date < from) {
            low = mid + 1;
        } else {
            high = mid - 1;
            if (date == from) found = true;
        }
    }
    if (from == to && !found) return;
    for (int64_t i = low; i < table.count; ++i) {
        const double date = DateAt(stream, table, i);
        if (date < from || date > to) break;
        out.push_back(stream.ReadI32());
    }
}

void ListIds(TStream& stream, TIndexTable table, TFoundIds& out) {
    if (!TableInside(stream, table, IdSize)) return;
    stream.SetPosition(table.offset);
    ReadIds(stream, table.count, out);
}

void ListNames(TStream& stream, TIndexTable table, TCodeNameList& names) {
    if (!TableInside(stream, table, OffsetSize)) return;
    // Read the whole table first, so a damaged one adds nothing.
    std::vector<TCodeNameList::Item> read;
    std::unordered_set<int32_t> seen;
    for (int64_t i = 0; i < table.count; ++i) {
        SeekEntry(stream, table, i);
        const int32_t code = stream.ReadU16();
        if (code == 0 || names.HasCode(code) || seen.count(code)) continue;
        std::string name = stream.ReadCountedString();
        if (name.empty()) continue;
        seen.insert(code);
        read.push_back({std::move(name), code});
    }
    for (TCodeNameList::Item& item : read)
        names.Add(std::move(item.name), item.code);
}

} // namespace kvelo::indexes
