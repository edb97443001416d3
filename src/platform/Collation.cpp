#include "Collation.h"

#include "Cp1251.h"

#include <memory>
#include <stdexcept>
#include <vector>

#include <unicode/coll.h>
#include <unicode/unistr.h>

namespace kvelo {
namespace {

icu::UnicodeString toUnicodeString(std::string_view text) {
    icu::UnicodeString s;
    for (char ch : text)
        s.append(static_cast<UChar32>(cp1251::toUnicode(static_cast<unsigned char>(ch))));
    return s;
}

const icu::Collator& collator() {
    // One collator for the process: everything runs on one thread, and the
    // tools are single-threaded too.
    static const std::unique_ptr<icu::Collator> instance = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Collator> c(icu::Collator::createInstance(icu::Locale("ru"), status));
        if (U_FAILURE(status) || !c)
            throw std::runtime_error("ICU collator for \"ru\" is unavailable");
        c->setStrength(icu::Collator::SECONDARY);
        return c;
    }();
    return *instance;
}

} // namespace

int CompareText(std::string_view a, std::string_view b) {
    UErrorCode status = U_ZERO_ERROR;
    const UCollationResult r = collator().compare(toUnicodeString(a), toUnicodeString(b), status);
    return r == UCOL_LESS ? -1 : r == UCOL_GREATER ? 1 : 0;
}

std::string CollationKey(std::string_view text) {
    const icu::UnicodeString s = toUnicodeString(text);
    std::vector<uint8_t> key(64);
    int32_t n = collator().getSortKey(s, key.data(), static_cast<int32_t>(key.size()));
    if (n > static_cast<int32_t>(key.size())) {
        key.resize(static_cast<size_t>(n));
        n = collator().getSortKey(s, key.data(), n);
    }
    // The key ends with a zero byte that takes no part in the order.
    return std::string(reinterpret_cast<const char*>(key.data()),
                       n > 0 ? static_cast<size_t>(n - 1) : 0);
}

} // namespace kvelo
