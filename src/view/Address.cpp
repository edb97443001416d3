#include "Address.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace kvelo {

DocumentAddress SplitAddress(const std::string& address) {
    const size_t hash = address.find('#');
    if (hash == std::string::npos) return {address, {}};
    return {address.substr(0, hash), address.substr(hash + 1, 255)};
}

std::string FileNamePart(const std::string& document) {
    const size_t cut = document.find_last_of("\\/:");
    return cut == std::string::npos ? document : document.substr(cut + 1);
}

std::optional<int> ParseDecimal(const std::string& text) {
    if (text.empty()) return std::nullopt;
    size_t digits = (text[0] == '-' || text[0] == '+') ? 1 : 0;
    if (digits == text.size()) return std::nullopt;
    for (size_t i = digits; i < text.size(); ++i)
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
    errno = 0;
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    if (errno != 0 || value < INT_MIN || value > INT_MAX) return std::nullopt;
    return static_cast<int>(value);
}

} // namespace kvelo
