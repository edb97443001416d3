// The kind of a document body, told by its first bytes and named by a file
// extension (".rtf", ".rvf", ".jpg", ...).
#pragma once

#include <string>
#include <string_view>

namespace kvelo {

class TStream;

// Compares the first bytes (at most 20 are read) with the known signatures
// and puts the stream back to position 0. A null stream counts as ".rtf";
// no match gives "".
std::string shFormatFromStream(TStream* stream);

// ".emf", ".wmf", ".bmp", ".png", ".jpg" and ".gif" are pictures.
bool IsGraphicFormat(std::string_view kind);

} // namespace kvelo
