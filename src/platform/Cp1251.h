// Code page 1251 (Windows Cyrillic): the 8-bit text of every base file, INI
// file and RTF body. Conversion to and from Unicode and UTF-8, and the
// upper/lower case tables of AnsiUpperCase/AnsiLowerCase.
#pragma once

#include <string>
#include <string_view>

namespace kvelo::cp1251 {

// The Unicode code point of a code page 1251 byte. Every byte maps somewhere
// (0x98, unassigned in the code page, maps to U+0098), so a round trip
// through Unicode is lossless.
char32_t toUnicode(unsigned char byte);

// The code page 1251 byte of a code point, or -1 when the code page lacks it.
int fromUnicode(char32_t codePoint);

// Code page 1251 text to UTF-8.
std::string toUtf8(std::string_view text);

// UTF-8 text to code page 1251; characters the code page lacks and malformed
// UTF-8 sequences become `replacement`.
std::string fromUtf8(std::string_view utf8, char replacement = '?');

// The Uzbek title fonts ("Vazuri ... Uz") draw the Uzbek letters on code
// points of the code page: є/Є → қ/Қ, і/І → ғ/Ғ, ј/Ј → ҳ/Ҳ (ў/Ў are the code
// page's own). The letter a byte shows in those fonts:
char32_t toUnicodeUzbek(unsigned char byte);
// The byte of a code point in that reading: the Uzbek letters go to their
// borrowed code points, everything else as fromUnicode (so Uzbek text typed
// or pasted in Unicode still finds what the bases store).
int fromUnicodeUzbek(char32_t codePoint);

// Appends the UTF-8 form of a code point (invalid ones become U+FFFD).
void appendUtf8(std::string& out, char32_t codePoint);

unsigned char upperByte(unsigned char byte);
unsigned char lowerByte(unsigned char byte);

} // namespace kvelo::cp1251

namespace kvelo {

// Upper/lower case of code page 1251 text by table (Latin, Cyrillic, and the
// extra Cyrillic letters of the code page, including the Uzbek ones).
std::string AnsiUpperCase(std::string_view text);
std::string AnsiLowerCase(std::string_view text);

// Case-insensitive equality by the same tables.
bool AnsiSameText(std::string_view a, std::string_view b);

} // namespace kvelo
