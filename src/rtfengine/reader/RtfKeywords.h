// The reader's keyword table: control word -> what it does.
#pragma once

#include <cstdint>
#include <string_view>

namespace kvelo::rtf {

enum class TSymbolKind : uint8_t { Char, Destination, Property, Special };

enum class TDestination : uint8_t {
    Text = 0,
    Skip = 1,
    Field = 3,
    FieldInstruction = 4,
    FieldResult = 5,
    BookmarkStart = 6,
    FontTable = 8,
    ColorTable = 9,
    Picture = 12,
};

enum class TProperty : uint8_t {
    Bold,
    Italic,
    Underline,
    FontSize,
    Color,
    BackColor,
    Plain,
    Font,
    FontCharset,
    Red,
    Green,
    Blue,
    Par,
    Pard,
    LeftIndent,
    RightIndent,
    FirstIndent,
    Align,
    Trowd,
    Trgaph,
    Trrh,
    Trleft,
    CellVAlign,
    CellVMerge,
    CellBorder,
    CellShading,
    Cellx,
    Intbl,
    Cell,
    Row,
    Line,
    Page,
    PicW,
    PicH,
    PicWGoal,
    PicHGoal,
    PicScaleX,
    PicScaleY,
    BitsPerPixel,
    Planes,
    WidthBytes,
    PictureKind,
    WMetafile,
    Unicode,
    UnicodeSkip,
    NoEffect,
};

enum class TSpecial : uint8_t { Bin = 0, Hex = 1, Star = 2 };

struct TSymbol {
    int32_t Default = 0;
    bool PassDefault = false;
    TSymbolKind Kind = TSymbolKind::Char;
    uint8_t Index = 0; // character, TDestination, TProperty or TSpecial
};

// The symbol of a keyword (letters compared ignoring case; a control symbol
// is its single character), or null when unknown.
const TSymbol* FindKeyword(std::string_view keyword);

bool IsPictureProperty(TProperty p);

} // namespace kvelo::rtf
