// Font descriptions and font runs of a paragraph. Plain data: the model never
// measures text; metrics belong to the layout.
#pragma once

#include <cstdint>
#include <string>

namespace kvelo {

// A colour as 0x00BBGGRR (red in the low byte), like a Windows COLORREF.
using TColor = uint32_t;

constexpr TColor RgbColor(int red, int green, int blue) {
    return static_cast<TColor>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}
constexpr int RedOf(TColor c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int GreenOf(TColor c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int BlueOf(TColor c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

constexpr TColor clBlack = RgbColor(0, 0, 0);

// Font style bits.
enum TFontStyle : uint8_t {
    fsBold = 1,
    fsItalic = 2,
    fsUnderline = 4,
    fsStrikeOut = 8,
};

// A font as the document describes it. The size is in half points as written
// in the RTF (\fs); the layout scales it by the viewer's default size.
struct TMyFont {
    std::string Name; // face name from the font table (code page 1251); may be empty
    int32_t SizeHalfPoints = 24;
    uint8_t Style = 0; // TFontStyle bits
    TColor Color = clBlack;
    int32_t Charset = 204; // RTF \fcharset value
    bool PreFormatted = false;
    int32_t FontTableIndex = -1; // position in the document's font table, -1 when none

    bool Bold() const { return Style & fsBold; }
    bool Italic() const { return Style & fsItalic; }
    bool Underline() const { return Style & fsUnderline; }

    bool operator==(const TMyFont& o) const {
        return Name == o.Name && SizeHalfPoints == o.SizeHalfPoints && Style == o.Style &&
               Color == o.Color && Charset == o.Charset && PreFormatted == o.PreFormatted &&
               FontTableIndex == o.FontTableIndex;
    }
    bool operator!=(const TMyFont& o) const { return !(*this == o); }
};

// One font run: the run covers the paragraph's characters from Start up to
// the next run's Start (or the end of the text). Runs of a paragraph are
// ordered by ascending Start; the first starts at 0.
struct TFontObj {
    int32_t Start = 0; // character index inside the paragraph
    TMyFont Font;
    std::string LinkTarget; // the run is a link when not empty

    bool IsLink() const { return !LinkTarget.empty(); }
    bool operator==(const TFontObj& o) const {
        return Start == o.Start && Font == o.Font && LinkTarget == o.LinkTarget;
    }
};

} // namespace kvelo
