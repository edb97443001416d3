#include "rtfengine/reader/RtfKeywords.h"

#include <unordered_map>

namespace kvelo::rtf {

namespace {

struct TEntry {
    const char* Word;
    TSymbol Symbol;
};

constexpr TSymbol Ch(char c) {
    return {0, false, TSymbolKind::Char, static_cast<uint8_t>(c)};
}
constexpr TSymbol Dest(TDestination d) {
    return {0, false, TSymbolKind::Destination, static_cast<uint8_t>(d)};
}
constexpr TSymbol Prop(TProperty p, int32_t def = 0, bool always = false) {
    return {def, always, TSymbolKind::Property, static_cast<uint8_t>(p)};
}
constexpr TSymbol Spec(TSpecial s) {
    return {0, false, TSymbolKind::Special, static_cast<uint8_t>(s)};
}

using P = TProperty;
using D = TDestination;

// Code page 1251 bytes of the typographic characters.
const TEntry kEntries[] = {
    {"\n", Ch('\n')},
    {"\r", Ch('\n')},
    {"tab", Ch(' ')},
    {"ldblquote", Ch('"')},
    {"rdblquote", Ch('"')},
    {"{", Ch('{')},
    {"}", Ch('}')},
    {"\\", Ch('\\')},
    {"~", Ch('\xA0')},
    {"_", Ch('-')},
    {"lquote", Ch('\x91')},
    {"rquote", Ch('\x92')},
    {"emdash", Ch('\x97')},
    {"endash", Ch('\x96')},
    {"bullet", Ch('\x95')},
    {"emspace", Ch(' ')},
    {"enspace", Ch(' ')},
    {"qmspace", Ch(' ')},

    {"bin", Spec(TSpecial::Bin)},
    {"'", Spec(TSpecial::Hex)},
    {"*", Spec(TSpecial::Star)},

    {"field", Dest(D::Field)},
    {"fldinst", Dest(D::FieldInstruction)},
    {"fldrslt", Dest(D::FieldResult)},
    {"bkmkstart", Dest(D::BookmarkStart)},
    {"fonttbl", Dest(D::FontTable)},
    {"pict", Dest(D::Picture)},
    {"colortbl", Dest(D::ColorTable)},
    {"shppict", Dest(D::Skip)},
    {"author", Dest(D::Skip)},
    {"buptim", Dest(D::Skip)},
    {"comment", Dest(D::Skip)},
    {"creatim", Dest(D::Skip)},
    {"doccomm", Dest(D::Skip)},
    {"footer", Dest(D::Skip)},
    {"footerf", Dest(D::Skip)},
    {"footerl", Dest(D::Skip)},
    {"footerr", Dest(D::Skip)},
    {"footnote", Dest(D::Skip)},
    {"ftncn", Dest(D::Skip)},
    {"ftnsep", Dest(D::Skip)},
    {"ftnsepc", Dest(D::Skip)},
    {"header", Dest(D::Skip)},
    {"headerf", Dest(D::Skip)},
    {"headerl", Dest(D::Skip)},
    {"headerr", Dest(D::Skip)},
    {"info", Dest(D::Skip)},
    {"keywords", Dest(D::Skip)},
    {"operator", Dest(D::Skip)},
    {"printim", Dest(D::Skip)},
    {"private1", Dest(D::Skip)},
    {"revtim", Dest(D::Skip)},
    {"rxe", Dest(D::Skip)},
    {"stylesheet", Dest(D::Skip)},
    {"subject", Dest(D::Skip)},
    {"tc", Dest(D::Skip)},
    {"title", Dest(D::Skip)},
    {"txe", Dest(D::Skip)},
    {"xe", Dest(D::Skip)},

    {"b", Prop(P::Bold, 1)},
    {"i", Prop(P::Italic, 1)},
    {"ul", Prop(P::Underline, 1)},
    {"fs", Prop(P::FontSize, 10)},
    {"cf", Prop(P::Color)},
    {"cb", Prop(P::BackColor)},
    {"plain", Prop(P::Plain)},
    {"f", Prop(P::Font)},
    {"fcharset", Prop(P::FontCharset)},
    {"red", Prop(P::Red)},
    {"green", Prop(P::Green)},
    {"blue", Prop(P::Blue)},
    {"par", Prop(P::Par)},
    {"pard", Prop(P::Pard)},
    {"li", Prop(P::LeftIndent)},
    {"ri", Prop(P::RightIndent)},
    {"fi", Prop(P::FirstIndent)},
    {"ql", Prop(P::Align, 0, true)},
    {"qc", Prop(P::Align, 1, true)},
    {"qr", Prop(P::Align, 2, true)},
    {"qj", Prop(P::Align, 3, true)},
    {"trowd", Prop(P::Trowd)},
    {"trgaph", Prop(P::Trgaph)},
    {"trrh", Prop(P::Trrh)},
    {"trleft", Prop(P::Trleft)},
    {"clvertalt", Prop(P::CellVAlign, 0, true)},
    {"clvertalc", Prop(P::CellVAlign, 1, true)},
    {"clvertalb", Prop(P::CellVAlign, 2, true)},
    {"clvmrg", Prop(P::CellVMerge)},
    {"clbrdrt", Prop(P::CellBorder, 0, true)},
    {"clbrdrl", Prop(P::CellBorder, 1, true)},
    {"clbrdrr", Prop(P::CellBorder, 2, true)},
    {"clbrdrb", Prop(P::CellBorder, 3, true)},
    {"clcbpat", Prop(P::CellShading)},
    {"cellx", Prop(P::Cellx)},
    {"intbl", Prop(P::Intbl)},
    {"cell", Prop(P::Cell)},
    {"row", Prop(P::Row)},
    {"line", Prop(P::Line)},
    {"page", Prop(P::Page)},
    {"picw", Prop(P::PicW)},
    {"pich", Prop(P::PicH)},
    {"picwgoal", Prop(P::PicWGoal)},
    {"pichgoal", Prop(P::PicHGoal)},
    {"picscalex", Prop(P::PicScaleX, 100)},
    {"picscaley", Prop(P::PicScaleY, 100)},
    {"wbmbitspixel", Prop(P::BitsPerPixel, 1)},
    {"wbmplanes", Prop(P::Planes, 1)},
    {"wbmwidthbytes", Prop(P::WidthBytes)},
    {"emfblip", Prop(P::PictureKind, 0, true)},
    {"pngblip", Prop(P::PictureKind, 1, true)},
    {"jpegblip", Prop(P::PictureKind, 2, true)},
    {"macpict", Prop(P::PictureKind, 3, true)},
    {"pmmetafile", Prop(P::PictureKind, 4, true)},
    {"dibitmap", Prop(P::PictureKind, 6, true)},
    {"picbmp", Prop(P::PictureKind, 7, true)},
    {"wbitmap", Prop(P::PictureKind, 7, true)},
    {"wmetafile", Prop(P::WMetafile, 1)},
    {"u", Prop(P::Unicode)},
    {"uc", Prop(P::UnicodeSkip, 1)},
    {"cols", Prop(P::NoEffect)},
    {"sbknone", Prop(P::NoEffect)},
    {"sbkcol", Prop(P::NoEffect)},
    {"sbkeven", Prop(P::NoEffect)},
    {"sbkodd", Prop(P::NoEffect)},
    {"sbkpage", Prop(P::NoEffect)},
    {"pgnx", Prop(P::NoEffect)},
    {"pgny", Prop(P::NoEffect)},
    {"pgndec", Prop(P::NoEffect)},
    {"pgnucrm", Prop(P::NoEffect)},
    {"pgnlcrm", Prop(P::NoEffect)},
    {"pgnucltr", Prop(P::NoEffect)},
    {"pgnlcltr", Prop(P::NoEffect)},
    {"paperw", Prop(P::NoEffect)},
    {"paperh", Prop(P::NoEffect)},
    {"margl", Prop(P::NoEffect)},
    {"margr", Prop(P::NoEffect)},
    {"margt", Prop(P::NoEffect)},
    {"margb", Prop(P::NoEffect)},
    {"pgnstart", Prop(P::NoEffect)},
    {"facingp", Prop(P::NoEffect)},
    {"landscape", Prop(P::NoEffect)},
    {"sectd", Prop(P::NoEffect)},
};

const std::unordered_map<std::string_view, TSymbol>& Table() {
    static const std::unordered_map<std::string_view, TSymbol> table = [] {
        std::unordered_map<std::string_view, TSymbol> map;
        for (const auto& e : kEntries)
            map.emplace(e.Word, e.Symbol); // the first one counts
        return map;
    }();
    return table;
}

} // namespace

const TSymbol* FindKeyword(std::string_view keyword) {
    char lower[32];
    if (keyword.size() > sizeof lower) return nullptr;
    for (size_t i = 0; i < keyword.size(); ++i) {
        const char c = keyword[i];
        lower[i] = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    const auto& table = Table();
    auto it = table.find(std::string_view(lower, keyword.size()));
    return it == table.end() ? nullptr : &it->second;
}

bool IsPictureProperty(TProperty p) {
    switch (p) {
    case P::PicW:
    case P::PicH:
    case P::PicWGoal:
    case P::PicHGoal:
    case P::PicScaleX:
    case P::PicScaleY:
    case P::BitsPerPixel:
    case P::Planes:
    case P::WidthBytes:
    case P::PictureKind:
    case P::WMetafile:
        return true;
    default:
        return false;
    }
}

} // namespace kvelo::rtf
