// The order of text keys in base indexes: code page 1251 bytes converted to
// Unicode and compared by the ICU collator of locale "ru" at strength
// SECONDARY (letters and accents count, case does not). Base builders must
// sort index keys with the same comparison, or lookups miss keys.
#pragma once

#include <string>
#include <string_view>

namespace kvelo {

// Negative when a sorts before b, 0 when the collator holds them equal,
// positive otherwise. Both are code page 1251 text.
int CompareText(std::string_view a, std::string_view b);

// A byte string whose memcmp order equals CompareText's order (an ICU sort
// key); for sorting many keys once.
std::string CollationKey(std::string_view text);

} // namespace kvelo
