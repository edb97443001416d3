#include "IndexWords.h"

#include "rtfengine/model/PlainText.h"
#include "rtfengine/reader/RtfReader.h"

#include <cstring>

namespace kvelo::pack {
namespace {

// The Cyrillic letters of code page 1251 outside the block 0xC0..0xFF.
constexpr unsigned char ExtraLetters[] = {
    0x80, 0x81, 0x83, 0x8A, 0x8C, 0x8D, 0x8E, 0x8F,      // Ђ Ѓ ѓ Љ Њ Ќ Ћ Џ
    0x90, 0x9A, 0x9C, 0x9D, 0x9E, 0x9F,                  // ђ љ њ ќ ћ џ
    0xA1, 0xA2, 0xA3, 0xA5, 0xA8, 0xAA, 0xAF,            // Ў ў Ј Ґ Ё Є Ї
    0xB2, 0xB3, 0xB4, 0xB8, 0xBA, 0xBC, 0xBD, 0xBE, 0xBF // І і ґ ё є ј Ѕ ѕ ї
};

bool IsExtraLetter(unsigned char byte) {
    for (unsigned char letter : ExtraLetters)
        if (letter == byte) return true;
    return false;
}

} // namespace

bool IsWordByte(unsigned char byte) {
    if ((byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') ||
        (byte >= 'a' && byte <= 'z'))
        return true;
    return byte >= 0xC0 || IsExtraLetter(byte);
}

std::string BodyTextForIndex(const std::vector<uint8_t>& body) {
    static const char rtfMagic[] = "{\\rtf";
    if (body.size() < sizeof rtfMagic - 1 || std::memcmp(body.data(), rtfMagic, 5) != 0) return {};
    TSectionList document;
    try {
        RtfParseBytes(document, body.data(), body.size());
    } catch (const std::exception&) {
        // A damaged body is indexed with what was read up to the damage.
    }
    return DocumentText(document);
}

} // namespace kvelo::pack
