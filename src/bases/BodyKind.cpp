#include "bases/BodyKind.h"

#include "platform/Streams.h"

#include <array>

namespace kvelo {
namespace {

struct Signature {
    std::string_view bytes;
    const char* kind;
};

using namespace std::string_view_literals;

// In the order they are tried; the first match wins.
const std::array<Signature, 11> Signatures = {{
    {"{\\rtf1"sv, ".rtf"},
    {"-8 "sv, ".rvf"},
    {"BM"sv, ".bmp"},
    {"\xFF\xD8\xFF\xE0"sv, ".jpg"},
    {"\xFF\xD8\xFF\xE1"sv, ".jpg"},
    {"\x89PNG"sv, ".png"},
    {"GIF87a"sv, ".gif"},
    {"GIF89a"sv, ".gif"},
    {"\xD7\xCD\xC6\x9A"sv, ".wmf"},
    {"\x01\x00\x00\x00"sv, ".emf"},
    {"\x00\x00\x01\x00"sv, ".ico"},
}};

constexpr size_t ProbeBytes = 20;

} // namespace

std::string shFormatFromStream(TStream* stream) {
    if (!stream) return ".rtf";
    char head[ProbeBytes];
    stream->SetPosition(0);
    const size_t n = stream->Read(head, ProbeBytes);
    stream->SetPosition(0);
    const std::string_view probe(head, n);
    for (const Signature& s : Signatures)
        if (probe.substr(0, s.bytes.size()) == s.bytes) return s.kind;
    return {};
}

bool IsGraphicFormat(std::string_view kind) {
    return kind == ".emf" || kind == ".wmf" || kind == ".bmp" || kind == ".png" || kind == ".jpg" ||
           kind == ".gif";
}

} // namespace kvelo
