// The words the word index holds: runs of letters and digits of code page
// 1251 (Latin, Russian and the other Cyrillic letters of the code page, among
// them the Uzbek ў є і ј), upper-cased by AnsiUpperCase. Everything else
// (blanks, punctuation, apostrophes, hyphens) separates words.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kvelo::pack {

// Longer runs (long digit strings, encoded data) are not indexed.
inline constexpr size_t MaxIndexWordBytes = 64;

bool IsWordByte(unsigned char byte);

// Calls `add` with each word of `text` (code page 1251), upper-cased, in text order.
template <typename Add> void ForEachIndexWord(std::string_view text, Add add);

// The plain text (code page 1251) of a body for indexing: the text of an RTF
// body; nothing for pictures, the editor's native format and other bodies.
std::string BodyTextForIndex(const std::vector<uint8_t>& body);

} // namespace kvelo::pack

#include "platform/Cp1251.h"

namespace kvelo::pack {

template <typename Add> void ForEachIndexWord(std::string_view text, Add add) {
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && !IsWordByte(static_cast<unsigned char>(text[i])))
            ++i;
        const size_t start = i;
        while (i < text.size() && IsWordByte(static_cast<unsigned char>(text[i])))
            ++i;
        if (i > start && i - start <= MaxIndexWordBytes)
            add(AnsiUpperCase(text.substr(start, i - start)));
    }
}

} // namespace kvelo::pack
