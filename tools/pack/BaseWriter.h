// Lays out a validated base: header, folder tree, document records, document
// table and index tables in the base file; for a companion-file base the
// companion header, bodies and companion table in the companion file; then
// scrambles what the keys ask for.
#pragma once

#include "Manifest.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace kvelo::pack {

struct PackedBase {
    std::vector<uint8_t> base;
    std::optional<std::vector<uint8_t>> companion; // companion-file bases only
};

PackedBase WriteBase(const BaseSpec& spec);

// A zlib stream (RFC 1950) of `bytes`.
std::vector<uint8_t> Deflate(const std::vector<uint8_t>& bytes);

} // namespace kvelo::pack
