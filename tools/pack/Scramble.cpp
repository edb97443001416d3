#include "Scramble.h"

namespace kvelo::pack {

void ScrambleFrom(std::vector<uint8_t>& bytes, size_t from, uint16_t key) {
    // Only the low 8 bits of the product matter, and they depend only on the
    // low 8 bits of the position and the key: unsigned arithmetic gives the
    // same bits as the signed 32-bit product, without overflow.
    for (size_t p = from; p < bytes.size(); ++p)
        bytes[p] ^= static_cast<uint8_t>(static_cast<uint32_t>(p) * key);
}

} // namespace kvelo::pack
