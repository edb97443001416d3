// Document addresses: a decimal document id or "P" + a tree node handle,
// optionally followed by "#" and a bookmark name ("#name" alone: a bookmark
// of the current document).
#pragma once

#include <optional>
#include <string>

namespace kvelo {

struct DocumentAddress {
    std::string document; // before the first "#"
    std::string bookmark; // after it, at most 255 characters
};

DocumentAddress SplitAddress(const std::string& address);

// The document part without everything up to its last "\", "/" or ":".
std::string FileNamePart(const std::string& document);

// The integer of a decimal text (optional sign, nothing else); nothing when
// it is not one or does not fit 32 bits.
std::optional<int> ParseDecimal(const std::string& text);

} // namespace kvelo
