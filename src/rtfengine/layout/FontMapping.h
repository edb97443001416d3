// Maps the Windows font names that documents use onto installed families with
// the same metrics (Liberation), and decodes text bytes for a font: the Uzbek
// title fonts reuse code page 1251 code points for Uzbek letters.
#pragma once

#include <QString>
#include <string_view>

namespace kvelo::layout {

enum class FontEncoding { Cp1251, Uzbek };

struct FontFace {
    QString family;
    FontEncoding encoding = FontEncoding::Cp1251;
};

// The family to show a font of this (code page 1251) name with. Known Windows
// names map to Liberation Sans, Serif or Mono; other names are kept as they are
// when `isInstalled` says the family exists, else they fall back to Liberation
// Serif (Times New Roman is the default font of the documents).
FontFace mapWindowsFont(std::string_view nameCp1251, bool (*isInstalled)(const QString&));

// The character that a text byte shows in a font of the given encoding.
char32_t displayedCharacter(unsigned char byte, FontEncoding encoding);

} // namespace kvelo::layout
