// The index tables of a base (number, registration number, date, type,
// organ, word and excluded lists): each is written by its own function and
// recorded in the base header (the word index of a companion-file base in the
// companion header).
#pragma once

#include "ByteWriter.h"
#include "Manifest.h"

namespace kvelo::pack {

// Appends every index table to `base` (and the word index of a companion-file
// base to `companion`) and fills their counts and offsets into the headers at
// offset 0 of both buffers. `companion` is null for a self-contained base.
void WriteIndexes(const BaseSpec& spec, ByteWriter& base, ByteWriter* companion);

} // namespace kvelo::pack
