#include "rtfengine/writer/RtfWriter.h"

#include "platform/Streams.h"

#include <algorithm>
#include <array>

namespace kvelo {

namespace {

// The fixed colour table of the output, numbered 1..16 (entry 0 is empty).
constexpr std::array<TColor, 16> kColors = {
    RgbColor(0, 0, 0),     RgbColor(0, 0, 255),   RgbColor(0, 255, 255),   RgbColor(0, 255, 0),
    RgbColor(255, 0, 255), RgbColor(255, 0, 0),   RgbColor(255, 255, 0),   RgbColor(255, 255, 255),
    RgbColor(0, 0, 128),   RgbColor(0, 128, 128), RgbColor(0, 128, 0),     RgbColor(128, 0, 128),
    RgbColor(128, 0, 0),   RgbColor(128, 128, 0), RgbColor(128, 128, 128), RgbColor(192, 192, 192),
};
constexpr int kUnknownColor = 17;
constexpr size_t kBmpFileHeaderSize = 14;

// Number of a colour in the fixed table, or 17.
int ColorNumber(TColor color) {
    auto it = std::find(kColors.begin(), kColors.end(), color);
    return it == kColors.end() ? kUnknownColor : static_cast<int>(it - kColors.begin()) + 1;
}

const char* AlignmentWord(TAlignment a) {
    switch (a) {
    case TAlignment::Center:
        return "\\qc";
    case TAlignment::Right:
        return "\\qr";
    case TAlignment::Justify:
        return "\\qj";
    default:
        return "\\ql";
    }
}

class TRtfWriter {
public:
    TRtfWriter(const TSectionList& doc, bool full, bool selectionOnly)
        : doc_(doc), full_(full), selectionOnly_(selectionOnly) {}

    std::string Write() {
        WriteHeader();
        if (!selectionOnly_ || doc_.HasSelection()) WriteBlocks(doc_, true);
        CloseLink();
        out_ += '}';
        return std::move(out_);
    }

private:
    void WriteHeader();
    void WriteBlocks(const TCell& cell, bool topLevel);
    bool Selected(const TSectionBase& block) const;
    bool NeedsParAfter(const TSectionBase& block, const TSectionBase* next, bool topLevel) const;
    void WriteBlock(const TSectionBase& block);
    void WriteParagraph(const TSection& para);
    void WriteBookmarks(const TSectionBase& block);
    void WriteRun(const TSection& para, size_t run);
    void WriteLinkChange(const std::string& target);
    void CloseLink();
    void WriteText(const TSection& para, int32_t from, int32_t to);
    void WriteEscaped(std::string_view text);
    void WritePicture(const TImageObj& image);
    void WriteHex(const uint8_t* data, size_t size);
    void WriteTable(const TRtfTable& table);
    void WriteRowDefinition(const TCellList& row);
    void Number(int64_t n) { out_ += std::to_string(n); }

    const TSectionList& doc_;
    bool full_;
    bool selectionOnly_;
    std::string out_;
    std::string openLink_;
};

void TRtfWriter::WriteHeader() {
    out_ += "{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1033{\\fonttbl";
    for (size_t i = 0; i < doc_.FontTable.Count(); ++i) {
        const TMyFont& font = doc_.FontTable[i].Font;
        out_ += "{\\f";
        Number(static_cast<int64_t>(i));
        out_ += "\\fcharset";
        Number(font.Charset);
        out_ += ' ';
        WriteEscaped(font.Name);
        out_ += ";}";
    }
    out_ += "}{\\colortbl;";
    for (TColor c : kColors) {
        out_ += "\\red";
        Number(RedOf(c));
        out_ += "\\green";
        Number(GreenOf(c));
        out_ += "\\blue";
        Number(BlueOf(c));
        out_ += ';';
    }
    out_ += "}\\f0\\fs24 ";
}

bool TRtfWriter::Selected(const TSectionBase& block) const {
    if (!selectionOnly_) return true;
    const int32_t first = block.FirstIndex;
    const int32_t last = first + block.Length();
    if (first == last) return doc_.SelFirst <= first && first < doc_.SelLast;
    return first < doc_.SelLast && doc_.SelFirst < last;
}

// A paragraph is ended by "\par " unless a rule or page break follows (they
// end it themselves); a trailing empty paragraph needs one to be read back;
// adjacent tables are kept apart by one.
bool TRtfWriter::NeedsParAfter(const TSectionBase& block, const TSectionBase* next,
                               bool topLevel) const {
    const TBlockKind kind = block.Kind();
    if (!next) {
        return topLevel && block.IsParagraph() &&
               static_cast<const TSection&>(block).IsEmptyFiller() && block.Length() > 0;
    }
    const TBlockKind nextKind = next->Kind();
    if (kind == TBlockKind::Table) return nextKind == TBlockKind::Table;
    if (kind == TBlockKind::Page) return nextKind == TBlockKind::Table;
    if (block.Length() == 0) return false;
    if (topLevel && (nextKind == TBlockKind::HorzLine || nextKind == TBlockKind::Page))
        return !full_ && nextKind == TBlockKind::HorzLine;
    return true;
}

void TRtfWriter::WriteBlocks(const TCell& cell, bool topLevel) {
    std::vector<const TSectionBase*> blocks;
    for (const auto& block : cell.Blocks)
        if (Selected(*block)) blocks.push_back(block.get());
    for (size_t i = 0; i < blocks.size(); ++i) {
        WriteBlock(*blocks[i]);
        const TSectionBase* next = i + 1 < blocks.size() ? blocks[i + 1] : nullptr;
        if (NeedsParAfter(*blocks[i], next, topLevel)) out_ += "\\par ";
    }
}

void TRtfWriter::WriteBlock(const TSectionBase& block) {
    switch (block.Kind()) {
    case TBlockKind::Section:
    case TBlockKind::PreFormated:
        WriteParagraph(static_cast<const TSection&>(block));
        return;
    case TBlockKind::HorzLine:
        WriteBookmarks(block);
        if (full_) out_ += "\\line ";
        return;
    case TBlockKind::Page:
        WriteBookmarks(block);
        out_ += "\\page ";
        return;
    case TBlockKind::Table:
        WriteBookmarks(block);
        WriteTable(static_cast<const TRtfTable&>(block));
        return;
    }
}

void TRtfWriter::WriteBookmarks(const TSectionBase& block) {
    if (!full_) return;
    for (const std::string& name : doc_.Bookmarks.NamesOf(&block)) {
        std::string rtfName = "bm_" + name;
        std::replace(rtfName.begin(), rtfName.end(), ' ', '_');
        if (rtfName.rfind("bm__Hlt", 0) == 0) continue;
        for (const char* group : {"{\\*\\bkmkstart ", "{\\*\\bkmkend "}) {
            out_ += group;
            WriteEscaped(rtfName);
            out_ += '}';
        }
    }
}

void TRtfWriter::WriteParagraph(const TSection& para) {
    if (full_ && para.HasPreFormattedSwitch) out_ += '~';
    WriteBookmarks(para);
    if (para.IsEmptyFiller()) return;
    for (auto [word, value] : {std::pair<const char*, int32_t>{"\\fi", para.FirstLineIndentTwips},
                               {"\\li", para.LeftIndentTwips},
                               {"\\ri", para.RightIndentTwips}}) {
        out_ += word;
        if (value != 0) Number(value);
        out_ += ' ';
    }
    out_ += AlignmentWord(para.Alignment);
    const int32_t firstChar = selectionOnly_ ? std::max(doc_.SelFirst - para.FirstIndex, 0) : 0;
    if (para.Fonts[para.RunIndexAt(firstChar)].Font.FontTableIndex < 0)
        out_ += ' '; // no "\\fN " follows to end the control word
    for (size_t run = 0; run < para.Fonts.size(); ++run)
        WriteRun(para, run);
    CloseLink(); // links end with their paragraph, so "\\par" never stands inside a field
}

void TRtfWriter::WriteRun(const TSection& para, size_t run) {
    int32_t from = para.Fonts[run].Start;
    int32_t to = from + para.RunLength(run);
    if (selectionOnly_) {
        from = std::max(from, doc_.SelFirst - para.FirstIndex);
        to = std::min(to, doc_.SelLast - para.FirstIndex);
    }
    if (from >= to) return;
    const TFontObj& obj = para.Fonts[run];
    const TMyFont& font = obj.Font;
    if (full_ && obj.LinkTarget != openLink_) WriteLinkChange(obj.LinkTarget);
    if (font.FontTableIndex >= 0) {
        out_ += "\\f";
        Number(font.FontTableIndex);
        out_ += ' ';
    }
    const bool group = font.Bold() || font.Italic() || font.Underline() ||
                       font.SizeHalfPoints != 24 || font.Color != kColors[0];
    if (group) {
        out_ += '{';
        if (font.Bold()) out_ += "\\b ";
        if (font.Underline() && full_) out_ += "\\ul ";
        if (font.Italic()) out_ += "\\i ";
        if (full_ && font.Color != kColors[0]) {
            out_ += "\\cf";
            Number(ColorNumber(font.Color));
            out_ += ' ';
        }
        if (font.SizeHalfPoints != 24) {
            out_ += "\\fs";
            Number(font.SizeHalfPoints);
            out_ += ' ';
        }
    }
    WriteText(para, from, to);
    if (group) out_ += '}';
}

void TRtfWriter::WriteLinkChange(const std::string& target) {
    CloseLink();
    if (target.empty()) return;
    out_ += "{\\field{\\*\\fldinst HYPERLINK ";
    const size_t hash = target.find('#');
    const std::string file = target.substr(0, hash);
    if (!file.empty()) {
        out_ += '"';
        WriteEscaped(file);
        out_ += "\" ";
    }
    if (hash != std::string::npos) {
        std::string name = "bm_" + target.substr(hash + 1);
        std::replace(name.begin(), name.end(), ' ', '_');
        out_ += "\\\\l \"";
        WriteEscaped(name);
        out_ += '"';
    }
    out_ += "}{\\fldrslt ";
    openLink_ = target;
}

void TRtfWriter::CloseLink() {
    if (openLink_.empty()) return;
    out_ += "}}";
    openLink_.clear();
}

void TRtfWriter::WriteText(const TSection& para, int32_t from, int32_t to) {
    int32_t start = from;
    for (int32_t i = from; i < to; ++i) {
        if (para.Text[static_cast<size_t>(i)] != kImageChar) continue;
        WriteEscaped(std::string_view(para.Text).substr(static_cast<size_t>(start),
                                                        static_cast<size_t>(i - start)));
        if (const TImageObj* image = para.ImageAt(i)) WritePicture(*image);
        start = i + 1;
    }
    WriteEscaped(std::string_view(para.Text).substr(static_cast<size_t>(start),
                                                    static_cast<size_t>(to - start)));
}

// Backslash and braces are escaped; bytes outside printable ASCII, "~" and
// "*" (markers of the dialect) are written as \'hh.
void TRtfWriter::WriteEscaped(std::string_view text) {
    static const char* kHex = "0123456789abcdef";
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '\\' || c == '{' || c == '}') {
            out_ += '\\';
            out_ += ch;
        } else if (c < 0x20 || c > 0x7E || c == '~' || c == '*') {
            out_ += "\\'";
            out_ += kHex[c >> 4];
            out_ += kHex[c & 15];
        } else {
            out_ += ch;
        }
    }
}

void TRtfWriter::WriteHex(const uint8_t* data, size_t size) {
    static const char* kHex = "0123456789ABCDEF";
    const size_t start = out_.size();
    out_.resize(start + 2 * size);
    char* p = out_.data() + start;
    for (size_t i = 0; i < size; ++i) {
        *p++ = kHex[data[i] >> 4];
        *p++ = kHex[data[i] & 15];
    }
}

// Pictures keep the kind, extents and scale they were read with.
void TRtfWriter::WritePicture(const TImageObj& image) {
    if (!image.Bytes || image.Bytes->empty()) return;
    const std::vector<uint8_t>& bytes = *image.Bytes;
    size_t skip = 0;
    out_ += "{\\pict";
    switch (image.Kind) {
    case TPictureKind::Png:
        out_ += "\\pngblip";
        break;
    case TPictureKind::Jpeg:
        out_ += "\\jpegblip";
        break;
    case TPictureKind::Wmf:
        out_ += "\\wmetafile";
        Number(image.MetafileMappingMode);
        break;
    case TPictureKind::Dib:
        out_ += "\\dibitmap0\\wbmwidthbytes";
        Number(image.WidthBytes);
        skip = std::min(kBmpFileHeaderSize, bytes.size());
        break;
    case TPictureKind::Ddb:
        out_ += "\\wbitmap0\\wbmbitspixel";
        Number(image.BitsPerPixel);
        out_ += "\\wbmplanes";
        Number(image.Planes);
        out_ += "\\wbmwidthbytes";
        Number(image.WidthBytes);
        break;
    default:
        out_ += "\\emfblip";
        break;
    }
    for (auto [word, value] : {std::pair<const char*, int32_t>{"\\picw", image.PicW},
                               {"\\pich", image.PicH},
                               {"\\picwgoal", image.PicWGoalTwips},
                               {"\\pichgoal", image.PicHGoalTwips},
                               {"\\picscalex", image.ScaleXPercent},
                               {"\\picscaley", image.ScaleYPercent}}) {
        out_ += word;
        Number(value);
    }
    out_ += ' ';
    WriteHex(bytes.data() + skip, bytes.size() - skip);
    out_ += '}';
}

void TRtfWriter::WriteRowDefinition(const TCellList& row) {
    out_ += "\\trowd\\trgaph";
    Number(row.GapTwips);
    out_ += "\\trrh";
    Number(row.RowHeightTwips);
    out_ += "\\trleft";
    Number(row.LeftEdgeTwips);
    out_ += "\\trbrdrt\\brdrs \\trbrdrl\\brdrs \\trbrdrb\\brdrs \\trbrdrr\\brdrs "
            "\\trbrdrh\\brdrs \\trbrdrv\\brdrs";
    for (const auto& cell : row.Cells) {
        if (cell->RightBoundaryTwips <= 0) continue;
        if (cell->RowSpan > 1) out_ += "\\clvmgf ";
        if (cell->IsRowSpanPlaceholder()) out_ += "\\clvmrg ";
        out_ += cell->VAlign == TCellVAlign::Center   ? "\\clvertalc"
                : cell->VAlign == TCellVAlign::Bottom ? "\\clvertalb"
                                                      : "\\clvertalt";
        if (cell->BorderTop) out_ += "\\clbrdrt\\brdrs";
        if (cell->BorderLeft) out_ += "\\clbrdrl\\brdrs";
        if (cell->BorderRight) out_ += "\\clbrdrr\\brdrs";
        if (cell->BorderBottom) out_ += "\\clbrdrb\\brdrs";
        if (cell->Content.HasBackground && ColorNumber(cell->Content.Background) != kUnknownColor) {
            out_ += "\\clcbpat";
            Number(ColorNumber(cell->Content.Background));
        }
        out_ += "\\cellx";
        Number(cell->RightBoundaryTwips);
        out_ += " \r\n";
    }
}

void TRtfWriter::WriteTable(const TRtfTable& table) {
    CloseLink();
    out_ += '{';
    out_ += AlignmentWord(table.Alignment);
    bool firstCell = true;
    for (const auto& row : table.Rows) {
        WriteRowDefinition(*row);
        out_ += "\\pard ";
        for (const auto& cell : row->Cells) {
            if (cell->RightBoundaryTwips <= 0) continue;
            out_ += "\\intbl ";
            if (firstCell && !table.WidthIsPercent && full_) out_ += '*';
            firstCell = false;
            WriteBlocks(cell->Content, false);
            CloseLink();
            out_ += "\\cell ";
        }
        out_ += "\\intbl ";
        out_ += AlignmentWord(table.Alignment);
        out_ += "\\row \\pard ";
    }
    out_ += '}';
}

} // namespace

std::string WriteRtfString(const TSectionList& document, bool full, bool selectionOnly) {
    return TRtfWriter(document, full, selectionOnly).Write();
}

void WriteRtf(const TSectionList& document, TStream& stream, bool full, bool selectionOnly) {
    const std::string rtf = WriteRtfString(document, full, selectionOnly);
    stream.WriteBuffer(rtf.data(), rtf.size());
}

} // namespace kvelo
