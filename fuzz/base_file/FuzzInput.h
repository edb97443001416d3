// The fuzz input format: a little-endian u32 length L, then L bytes of base
// file, then the rest as its companion file (absent when empty).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kvelo::fuzz {

struct BaseFiles {
    std::vector<uint8_t> base;
    std::vector<uint8_t> companion;
};

BaseFiles SplitInput(const uint8_t* data, size_t size);
std::vector<uint8_t> JoinInput(const BaseFiles& files);

} // namespace kvelo::fuzz
