// Searches over the index tables of a base file (number, registration
// number, type, organ, date, word and excluded lists), read in place through
// the base's data stream. Every read is bounds-checked: a damaged table
// throws EStreamError, and callers drop what that search found so far.
#pragma once

#include "bases/IdList.h"
#include "platform/DateTime.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kvelo {

class TStream;

// Where a table lies: its entry count and the offset it starts at.
struct TIndexTable {
    int32_t count = 0;
    int32_t offset = 0;
};

enum class TextMatch { Exact, Prefix };

// The document identifiers one search found, in index order (duplicates kept:
// the caller's TIdList drops them).
using TFoundIds = std::vector<int32_t>;

namespace indexes {

// Number and registration-number indexes: every entry whose key equals `text`
// byte by byte, from the first candidate of the binary search on.
void FindNumber(TStream& stream, TIndexTable table, const std::string& text, TFoundIds& out);

// Type and organ tables: the identifiers of the entry with `code`.
void FindCode(TStream& stream, TIndexTable table, int32_t code, TFoundIds& out);

// Word index: the text lists (titles = false) or title lists (titles = true)
// of the entries matching `text` whole (one entry) or as a word beginning
// (every following entry that begins with it).
void FindWords(TStream& stream, TIndexTable table, const std::string& text, bool whole, bool titles,
               TFoundIds& out);

// Date index: the entries with from <= date <= to.
void FindDates(TStream& stream, TIndexTable table, TDateTime from, TDateTime to, TFoundIds& out);

// Excluded list: every identifier.
void ListIds(TStream& stream, TIndexTable table, TFoundIds& out);

// Type and organ tables: (name, code) pairs in table order, skipping code 0,
// codes `names` already holds, and empty names.
void ListNames(TStream& stream, TIndexTable table, TCodeNameList& names);

} // namespace indexes
} // namespace kvelo
