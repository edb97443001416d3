// The position-keyed XOR of scrambled base and companion files: the byte at
// absolute file offset p is XORed with the low 8 bits of p * key. The
// transform is its own inverse.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kvelo::pack {

// Scrambles bytes[from..] in place, each with its own offset in `bytes`.
void ScrambleFrom(std::vector<uint8_t>& bytes, size_t from, uint16_t key);

} // namespace kvelo::pack
