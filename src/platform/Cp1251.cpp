#include "Cp1251.h"

#include <array>

namespace kvelo::cp1251 {
namespace {

// Code points of the bytes 0x80..0xBF; 0xC0..0xFF are U+0410..U+044F.
constexpr char16_t kHighHalf[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F, // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, // B8
};

char32_t simpleUpper(char32_t c) {
    if (c >= 'a' && c <= 'z') return c - 0x20;
    if (c >= 0x0430 && c <= 0x044F) return c - 0x20;
    if (c >= 0x0450 && c <= 0x045F) return c - 0x50;
    if (c == 0x0491) return 0x0490;
    return c;
}

char32_t simpleLower(char32_t c) {
    if (c >= 'A' && c <= 'Z') return c + 0x20;
    if (c >= 0x0410 && c <= 0x042F) return c + 0x20;
    if (c >= 0x0400 && c <= 0x040F) return c + 0x50;
    if (c == 0x0490) return 0x0491;
    return c;
}

struct CaseTables {
    std::array<unsigned char, 256> upper{};
    std::array<unsigned char, 256> lower{};
    CaseTables() {
        for (int b = 0; b < 256; ++b) {
            const char32_t u = toUnicode(static_cast<unsigned char>(b));
            const int up = fromUnicode(simpleUpper(u));
            const int low = fromUnicode(simpleLower(u));
            upper[b] = static_cast<unsigned char>(up >= 0 ? up : b);
            lower[b] = static_cast<unsigned char>(low >= 0 ? low : b);
        }
    }
};

const CaseTables& caseTables() {
    static const CaseTables tables;
    return tables;
}

// Decodes one UTF-8 sequence at `pos`; returns its code point, or -1 for a
// malformed sequence (pos then advances by one byte).
long decodeUtf8(std::string_view s, size_t& pos) {
    const auto lead = static_cast<unsigned char>(s[pos]);
    int extra = 0;
    char32_t cp = 0;
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        cp = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        cp = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        cp = lead & 0x07;
    } else {
        ++pos;
        return -1;
    }
    if (pos + extra >= s.size()) {
        ++pos;
        return -1;
    }
    for (int i = 1; i <= extra; ++i) {
        const auto c = static_cast<unsigned char>(s[pos + i]);
        if ((c & 0xC0) != 0x80) {
            ++pos;
            return -1;
        }
        cp = (cp << 6) | (c & 0x3F);
    }
    static constexpr char32_t kMinForLength[4] = {0, 0x80, 0x800, 0x10000};
    if (cp < kMinForLength[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++pos;
        return -1;
    }
    pos += extra + 1;
    return static_cast<long>(cp);
}

} // namespace

char32_t toUnicode(unsigned char byte) {
    if (byte < 0x80) return byte;
    if (byte >= 0xC0) return 0x0410 + (byte - 0xC0);
    return kHighHalf[byte - 0x80];
}

int fromUnicode(char32_t c) {
    if (c < 0x80) return static_cast<int>(c);
    if (c >= 0x0410 && c <= 0x044F) return static_cast<int>(0xC0 + (c - 0x0410));
    for (int i = 0; i < 64; ++i)
        if (kHighHalf[i] == c) return 0x80 + i;
    return -1;
}

namespace {
struct UzbekLetter {
    unsigned char byte;
    char32_t letter;
};
constexpr UzbekLetter kUzbekLetters[] = {
    {0xBA, 0x049B}, {0xAA, 0x049A}, // қ Қ on є Є
    {0xB3, 0x0493}, {0xB2, 0x0492}, // ғ Ғ on і І
    {0xBC, 0x04B3}, {0xA3, 0x04B2}, // ҳ Ҳ on ј Ј
};
} // namespace

char32_t toUnicodeUzbek(unsigned char byte) {
    for (const UzbekLetter& u : kUzbekLetters)
        if (u.byte == byte) return u.letter;
    return toUnicode(byte);
}

int fromUnicodeUzbek(char32_t c) {
    for (const UzbekLetter& u : kUzbekLetters)
        if (u.letter == c) return u.byte;
    return fromUnicode(c);
}

void appendUtf8(std::string& out, char32_t c) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string toUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (char ch : text)
        appendUtf8(out, toUnicode(static_cast<unsigned char>(ch)));
    return out;
}

std::string fromUtf8(std::string_view utf8, char replacement) {
    std::string out;
    out.reserve(utf8.size());
    size_t pos = 0;
    while (pos < utf8.size()) {
        const long cp = decodeUtf8(utf8, pos);
        const int byte = cp < 0 ? -1 : fromUnicode(static_cast<char32_t>(cp));
        out += byte < 0 ? replacement : static_cast<char>(byte);
    }
    return out;
}

unsigned char upperByte(unsigned char byte) {
    return caseTables().upper[byte];
}
unsigned char lowerByte(unsigned char byte) {
    return caseTables().lower[byte];
}

} // namespace kvelo::cp1251

namespace kvelo {

std::string AnsiUpperCase(std::string_view text) {
    std::string out(text);
    for (char& ch : out)
        ch = static_cast<char>(cp1251::upperByte(static_cast<unsigned char>(ch)));
    return out;
}

std::string AnsiLowerCase(std::string_view text) {
    std::string out(text);
    for (char& ch : out)
        ch = static_cast<char>(cp1251::lowerByte(static_cast<unsigned char>(ch)));
    return out;
}

bool AnsiSameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (cp1251::upperByte(static_cast<unsigned char>(a[i])) !=
            cp1251::upperByte(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

} // namespace kvelo
