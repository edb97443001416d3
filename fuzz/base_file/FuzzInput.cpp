#include "FuzzInput.h"

#include <algorithm>

namespace kvelo::fuzz {

BaseFiles SplitInput(const uint8_t* data, size_t size) {
    BaseFiles files;
    if (size < 4) return files;
    const size_t declared = static_cast<size_t>(data[0]) | static_cast<size_t>(data[1]) << 8 |
                            static_cast<size_t>(data[2]) << 16 | static_cast<size_t>(data[3]) << 24;
    const size_t baseLength = std::min(declared, size - 4);
    files.base.assign(data + 4, data + 4 + baseLength);
    files.companion.assign(data + 4 + baseLength, data + size);
    return files;
}

std::vector<uint8_t> JoinInput(const BaseFiles& files) {
    const auto n = static_cast<uint32_t>(files.base.size());
    std::vector<uint8_t> out = {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8),
                                static_cast<uint8_t>(n >> 16), static_cast<uint8_t>(n >> 24)};
    out.insert(out.end(), files.base.begin(), files.base.end());
    out.insert(out.end(), files.companion.begin(), files.companion.end());
    return out;
}

} // namespace kvelo::fuzz
