#include "rtfengine/reader/RtfParser.h"

#include "platform/Cp1251.h"
#include "platform/Streams.h"

#include <algorithm>
#include <array>

namespace kvelo::rtf {

namespace {

bool IsLetter(int c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsDigit(int c) {
    return c >= '0' && c <= '9';
}

// Bytes that end a run of plain text, or are skipped inside it.
const std::array<uint8_t, 256> kTextStop = [] {
    std::array<uint8_t, 256> t{};
    t['\\'] = t['{'] = t['}'] = t['~'] = 1;
    t[0] = t['\n'] = t['\r'] = 2;
    return t;
}();

constexpr int32_t kParamLimit = 32767;
constexpr size_t kMaxKeyword = 32;
constexpr size_t kMaxFontName = 255;

} // namespace

TRtfParser::TRtfParser(TSectionList& document, TRtfInput& input, const TRtfReadOptions& options)
    : doc_(document), in_(input), options_(options), container_(&document) {
    doc_.FontTable.Clear();
    font_.Charset = char_.Charset;
    font_.SizeHalfPoints = char_.SizeHalfPoints;
}

void TRtfParser::Run() {
    int c = in_.Next();
    while (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == 0)
        c = in_.Next();
    in_.PushBack(c);
    try {
        ParseBody(c == '{');
        FinishDocument();
    } catch (const ERtfError&) {
        try {
            FinishDocument();
        } catch (...) {
        }
        RegisterBookmarks();
        throw;
    } catch (...) {
        RegisterBookmarks();
        throw;
    }
    RegisterBookmarks();
}

// A framed body ends with the brace that closes the first group; anything
// after it is not read. A body that does not start with a brace (plain text)
// runs to the end of the input.
void TRtfParser::ParseBody(bool framed) {
    for (;;) {
        if (!framed && in_.AtEnd()) return;
        const int c = in_.Next();
        switch (c) {
        case 0:
        case '\n':
        case '\r':
            continue;
        case '\\':
            ReadControlWord();
            break;
        case '{':
            PushState();
            groupJustOpened_ = true;
            continue;
        case '}':
            if (depth_ > 0) PopState();
            break;
        default:
            if (fallbackToSkip_ > 0) {
                --fallbackToSkip_;
                break;
            }
            ParseChar(static_cast<uint8_t>(c), false);
        }
        groupJustOpened_ = false;
        if (framed && depth_ == 0) return;
    }
}

void TRtfParser::ReadControlWord() {
    int c = in_.Next();
    if (!IsLetter(c)) {
        const char symbol = static_cast<char>(c);
        TranslateWord(std::string_view(&symbol, 1), false, 0, 0);
        return;
    }
    char word[kMaxKeyword];
    size_t length = 0;
    bool tooLong = false;
    for (; IsLetter(c); c = in_.Next()) {
        if (length < kMaxKeyword)
            word[length++] = static_cast<char>(c);
        else
            tooLong = true;
    }
    const bool negative = c == '-';
    if (negative) c = in_.Next();
    bool hasParam = false;
    int64_t raw = 0;
    for (; IsDigit(c); c = in_.Next()) {
        hasParam = true;
        if (raw < (int64_t{1} << 40)) raw = raw * 10 + (c - '0');
    }
    if (c != ' ') in_.PushBack(c);
    const int64_t rawSigned = std::clamp<int64_t>(negative ? -raw : raw, INT32_MIN, INT32_MAX);
    const auto limited = static_cast<int32_t>(std::min<int64_t>(raw, kParamLimit));
    if (tooLong) {
        TranslateWord(std::string_view(), false, 0, 0); // unknown
        return;
    }
    TranslateWord(std::string_view(word, length), hasParam, negative ? -limited : limited,
                  rawSigned);
}

void TRtfParser::TranslateWord(std::string_view word, bool hasParam, int32_t param,
                               int64_t rawParam) {
    const TSymbol* symbol = word.empty() ? nullptr : FindKeyword(word);
    const bool hexEscape = symbol && symbol->Kind == TSymbolKind::Special &&
                           symbol->Index == static_cast<uint8_t>(TSpecial::Hex);
    if (!hexEscape) fallbackToSkip_ = 0;
    // Hand-written field instructions give the bookmark switch as a control
    // word (\l) rather than as text (\\l); both mean the same switch.
    if (dest_ == TDestination::FieldInstruction && word == "l" && !hasParam) {
        skipUnknown_ = false;
        fieldInstruction_ += "\\l";
        return;
    }
    if (!symbol) {
        if (skipUnknown_) dest_ = TDestination::Skip;
        skipUnknown_ = false;
        return;
    }
    skipUnknown_ = false;
    const int32_t value = (symbol->PassDefault || !hasParam) ? symbol->Default : param;
    const bool skipping = dest_ == TDestination::Skip;
    switch (symbol->Kind) {
    case TSymbolKind::Char:
        if (symbol->Index != '\n') ParseChar(symbol->Index, true);
        return;
    case TSymbolKind::Destination:
        if (!skipping) EnterDestination(static_cast<TDestination>(symbol->Index));
        return;
    case TSymbolKind::Property:
        if (!skipping) ApplyProperty(static_cast<TProperty>(symbol->Index), value);
        return;
    case TSymbolKind::Special:
        switch (static_cast<TSpecial>(symbol->Index)) {
        case TSpecial::Bin:
            ReadBinary(rawParam);
            return;
        case TSpecial::Hex:
            if (!skipping) ReadHexByte();
            return;
        case TSpecial::Star:
            // \* marks a destination only at the start of a group.
            if (!skipping && groupJustOpened_) skipUnknown_ = true;
            return;
        }
        break;
    }
    throw ERtfError("Bad table");
}

namespace {
int HexValue(int c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 0;
}
bool IsSyntax(int c) {
    return c == '\\' || c == '{' || c == '}';
}
} // namespace

// \'hh: two hexadecimal digits make one byte; a non-digit counts as 0. A
// brace or backslash in place of a digit is left for the main loop.
void TRtfParser::ReadHexByte() {
    int high = in_.Next();
    while (high == '\n' || high == '\r')
        high = in_.Next();
    if (IsSyntax(high)) {
        in_.PushBack(high);
        return;
    }
    const int low = in_.Next();
    int value;
    if (IsSyntax(low)) {
        in_.PushBack(low);
        value = HexValue(high);
    } else {
        value = HexValue(high) * 16 + HexValue(low);
    }
    if (fallbackToSkip_ > 0) {
        --fallbackToSkip_;
        return;
    }
    ParseChar(static_cast<uint8_t>(value), true);
}

void TRtfParser::ReadBinary(int64_t count) {
    const bool toPicture = dest_ == TDestination::Picture && picture_;
    while (count > 0) {
        if (in_.HasPushBack()) {
            const int c = in_.Next();
            if (toPicture)
                picture_->Bytes.push_back(static_cast<uint8_t>(c));
            else
                ParseChar(static_cast<uint8_t>(c), true);
            --count;
            continue;
        }
        const size_t available = in_.Available();
        if (available == 0) throw ERtfError("Неправильный конец файла");
        const size_t n = static_cast<size_t>(std::min<int64_t>(count, available));
        const uint8_t* p = in_.Cursor();
        if (toPicture) {
            picture_->Bytes.insert(picture_->Bytes.end(), p, p + n);
            in_.Advance(n);
        } else if (dest_ == TDestination::Skip) {
            in_.Advance(n);
        } else {
            in_.Advance(n);
            std::vector<uint8_t> bytes(p, p + n); // ParseChar may read further input
            for (uint8_t b : bytes)
                ParseChar(b, true);
        }
        count -= static_cast<int64_t>(n);
    }
}

void TRtfParser::PushState() {
    if (depth_ >= options_.MaxGroupDepth) throw ERtfError("Stack Overflow");
    fallbackToSkip_ = 0;
    stack_.push_back(TRtfState{dest_, char_, para_, unicodeSkip_});
    ++depth_;
}

void TRtfParser::PopState() {
    fallbackToSkip_ = 0;
    if (depth_ > 1) {
        TRtfState& saved = stack_.back();
        if (saved.Destination != dest_) {
            const TDestination leaving = dest_;
            dest_ = saved.Destination;
            LeaveDestination(leaving);
        }
        char_ = std::move(saved.Char);
        para_ = saved.Para;
        unicodeSkip_ = saved.UnicodeSkip;
    }
    stack_.pop_back();
    EndFieldsOfGroup();
    ChangeFont();
    --depth_;
}

void TRtfParser::EnterDestination(TDestination destination) {
    switch (destination) {
    case TDestination::Field:
        fieldInstruction_.clear();
        fieldDepths_.push_back(depth_);
        break;
    case TDestination::Picture:
        StartPicture();
        break;
    default:
        break;
    }
    dest_ = destination;
}

void TRtfParser::LeaveDestination(TDestination leaving) {
    switch (leaving) {
    case TDestination::FieldInstruction:
        ParseField();
        break;
    case TDestination::FieldResult:
        EndFieldResult();
        break;
    case TDestination::BookmarkStart:
        EndBookmarkStart();
        break;
    case TDestination::Picture:
        FinishPicture();
        break;
    default:
        break;
    }
}

TColor TRtfParser::ColorAt(int32_t index) const {
    return (index >= 1 && index <= 255) ? colors_[static_cast<size_t>(index)] : colors_[1];
}

void TRtfParser::ApplyProperty(TProperty property, int32_t value) {
    if (dest_ == TDestination::ColorTable && property != TProperty::Red &&
        property != TProperty::Green && property != TProperty::Blue)
        return;
    const bool pictureProperty = IsPictureProperty(property);
    if (pictureProperty != (dest_ == TDestination::Picture)) return;
    if (pictureProperty) {
        ApplyPictureProperty(property, value);
        return;
    }
    switch (property) {
    case TProperty::Bold:
    case TProperty::Italic:
    case TProperty::Underline:
    case TProperty::FontSize:
    case TProperty::Color:
    case TProperty::BackColor:
    case TProperty::Plain:
    case TProperty::Font:
    case TProperty::FontCharset:
        ApplyCharProperty(property, value);
        return;
    case TProperty::Par:
    case TProperty::Pard:
    case TProperty::LeftIndent:
    case TProperty::RightIndent:
    case TProperty::FirstIndent:
    case TProperty::Align:
        ApplyParaProperty(property, value);
        return;
    case TProperty::Red:
        red_ = value & 0xFF;
        return;
    case TProperty::Green:
        green_ = value & 0xFF;
        return;
    case TProperty::Blue:
        blue_ = value & 0xFF;
        colors_[static_cast<size_t>(colorCount_)] = RgbColor(red_, green_, blue_);
        if (colorCount_ < 255) ++colorCount_;
        return;
    case TProperty::Unicode:
        ApplyUnicode(value);
        return;
    case TProperty::UnicodeSkip:
        unicodeSkip_ = std::max(value, 0);
        return;
    case TProperty::Line:
    case TProperty::Page:
        if (!inTableText_) AddRuleOrPage(property == TProperty::Line);
        return;
    default:
        ApplyTableProperty(property, value);
        return;
    }
}

void TRtfParser::ApplyCharProperty(TProperty property, int32_t value) {
    auto setStyle = [&](uint8_t bit) {
        char_.Style = value == 0 ? (char_.Style & ~bit) : (char_.Style | bit);
    };
    switch (property) {
    case TProperty::Bold:
        setStyle(fsBold);
        break;
    case TProperty::Italic:
        setStyle(fsItalic);
        break;
    case TProperty::Underline:
        setStyle(fsUnderline);
        break;
    case TProperty::FontSize:
        char_.SizeHalfPoints = value;
        break;
    case TProperty::Color:
        char_.Color = ColorAt(value);
        break;
    case TProperty::BackColor:
        char_.BackColor = ColorAt(value);
        break;
    case TProperty::Plain:
        char_.Style = 0;
        char_.Color = char_.BackColor = colors_[1];
        char_.SizeHalfPoints = 24;
        break;
    case TProperty::Font:
        if (dest_ == TDestination::FontTable) {
            lastFontEntry_ = doc_.FontTable.Add(std::to_string(value));
            doc_.FontTable[static_cast<size_t>(lastFontEntry_)].Font.Charset = 1;
            return;
        }
        SelectFont(value);
        return;
    case TProperty::FontCharset:
        if (lastFontEntry_ >= 0)
            doc_.FontTable[static_cast<size_t>(lastFontEntry_)].Font.Charset = value;
        return;
    default:
        return;
    }
    ChangeFont();
}

void TRtfParser::ApplyParaProperty(TProperty property, int32_t value) {
    const auto indent = static_cast<int16_t>(std::max(value, 0));
    switch (property) {
    case TProperty::Par:
        CheckTable();
        AddSection();
        CreateSection();
        return;
    case TProperty::Pard:
        para_ = TParaProps{};
        LeaveCell();
        break;
    case TProperty::LeftIndent:
        para_.LeftIndent = indent;
        break;
    case TProperty::RightIndent:
        para_.RightIndent = indent;
        break;
    case TProperty::FirstIndent:
        para_.FirstIndent = indent;
        break;
    case TProperty::Align:
        para_.Alignment = static_cast<TAlignment>(value & 3);
        break;
    default:
        return;
    }
    ChangeParagraph();
}

// Word writes the list bullets of the Symbol font as private-use code points
// U+F0xx; the common ones have an equivalent in code page 1251.
static char32_t symbolFontEquivalent(char32_t codePoint) {
    switch (codePoint) {
    case 0xF0B7: return 0x2022; // bullet
    case 0xF0A7: return 0x00A7; // section sign (Wingdings square in lists)
    case 0xF02D: return 0x2013; // dash
    default: return codePoint;
    }
}

// \uN: the code page 1251 byte of the character, when the code page has it;
// the \ucN fallback characters that follow are then skipped. Otherwise the
// fallback stays as the visible text.
void TRtfParser::ApplyUnicode(int32_t value) {
    const char32_t codePoint =
        symbolFontEquivalent(static_cast<char32_t>(value < 0 ? value + 65536 : value));
    const int byte = cp1251::fromUnicode(codePoint);
    if (byte < 0) return;
    fallbackToSkip_ = unicodeSkip_;
    ParseChar(static_cast<uint8_t>(byte), true);
}

void TRtfParser::ParseChar(uint8_t c, bool literal) {
    switch (dest_) {
    case TDestination::Text:
    case TDestination::FieldResult:
        PrintChar(c, literal);
        return;
    case TDestination::FieldInstruction:
        fieldInstruction_.push_back(static_cast<char>(c));
        return;
    case TDestination::BookmarkStart:
        bookmarkName_.push_back(static_cast<char>(c));
        return;
    case TDestination::FontTable:
        if (c == ';' && lastFontEntry_ >= 0) {
            doc_.FontTable[static_cast<size_t>(lastFontEntry_)].Font.Name = fontName_;
            fontName_.clear();
        } else if (fontName_.size() < kMaxFontName) {
            fontName_.push_back(static_cast<char>(c));
        }
        return;
    case TDestination::Picture:
        AddPictureHex(c);
        return;
    default:
        return;
    }
}

void TRtfParser::PrintChar(uint8_t c, bool literal) {
    CheckTable();
    TSection& para = EnsureParagraph();
    if (!literal && c == '*' && rowStarted_) {
        fullWidthTable_ = false;
        rowStarted_ = false;
        return;
    }
    if (!literal && c == '~') {
        preFormatted_ = !preFormatted_;
        font_.PreFormatted = preFormatted_;
        para.HasPreFormattedSwitch = true;
        return;
    }
    rowStarted_ = false;
    para.Text.push_back(static_cast<char>(c));
    if (fallbackToSkip_ == 0) CollectPlainText(para.Text);
}

// Appends the plain characters that follow in the input, up to the next
// backslash, brace or "~"; line breaks and NUL bytes inside are skipped.
void TRtfParser::CollectPlainText(std::string& text) {
    while (!in_.HasPushBack()) {
        const size_t available = in_.Available();
        if (available == 0) return;
        const uint8_t* p = in_.Cursor();
        size_t n = 0;
        while (n < available && kTextStop[p[n]] == 0)
            ++n;
        text.append(reinterpret_cast<const char*>(p), n);
        in_.Advance(n);
        if (n == available) continue;
        if (kTextStop[p[n]] == 1) return;
        in_.Advance(1);
    }
}

void TRtfParser::ChangeFont() {
    if (char_.Style == font_.Style && char_.Color == font_.Color &&
        char_.SizeHalfPoints == font_.SizeHalfPoints && char_.Charset == font_.Charset &&
        char_.FontName == font_.Name)
        return;
    font_.Style = char_.Style;
    font_.Color = char_.Color;
    font_.SizeHalfPoints = char_.SizeHalfPoints;
    font_.Charset = char_.Charset;
    font_.Name = char_.FontName;
    font_.FontTableIndex = char_.FontIndex;
    if (paragraph_) paragraph_->ChangeFont(font_);
}

void TRtfParser::SelectFont(int32_t number) {
    const int32_t position = doc_.FontTable.Find(std::to_string(number));
    if (position < 0) return;
    const TMyFont& entry = doc_.FontTable[static_cast<size_t>(position)].Font;
    char_.FontName = entry.Name;
    char_.Charset = entry.Charset;
    char_.FontIndex = position;
    ChangeFont();
}

TSection& TRtfParser::EnsureParagraph() {
    if (!paragraph_) CreateSection();
    return *paragraph_;
}

void TRtfParser::CreateSection() {
    if (preFormatted_)
        paragraph_ =
            std::make_unique<TPreFormated>(para_.LeftIndent, para_.Alignment, linkTarget_, font_);
    else
        paragraph_ =
            std::make_unique<TSection>(para_.LeftIndent, para_.Alignment, linkTarget_, font_);
    paragraph_->RightIndentTwips = para_.RightIndent;
    paragraph_->FirstLineIndentTwips = para_.FirstIndent;
    paragraphHasBookmark_ = false;
}

// Adds the open paragraph to the current container; one without text gets
// two spaces, so it keeps the height of a line.
void TRtfParser::AddSection() {
    if (!paragraph_) return;
    if (paragraph_->Text.empty()) paragraph_->AppendText("  ");
    container_->Add(std::move(paragraph_));
    paragraph_.reset();
    paragraphHasBookmark_ = false;
}

void TRtfParser::AddSectionWithContent() {
    if (paragraph_ && (!paragraph_->Text.empty() || paragraphHasBookmark_)) AddSection();
}

void TRtfParser::ChangeParagraph() {
    if (!paragraph_) return;
    paragraph_->Alignment = para_.Alignment;
    paragraph_->LeftIndentTwips = para_.LeftIndent;
    paragraph_->RightIndentTwips = para_.RightIndent;
    paragraph_->FirstLineIndentTwips = para_.FirstIndent;
}

void TRtfParser::AddRuleOrPage(bool rule) {
    CheckTable();
    AddSection();
    if (rule)
        container_->Add(std::make_unique<THorzLine>());
    else
        container_->Add(std::make_unique<TPage>());
}

// End of input (or of a failed read): nothing read is lost. The open
// paragraph, an open cell, an unfinished row and table are all kept.
void TRtfParser::FinishDocument() {
    if (InsideCell()) {
        AddSectionWithContent();
        LeaveCell();
        AppendOpenRow();
        if (table_) AddTable();
        return;
    }
    AppendOpenRow();
    if (table_) AddTable();
    AddSectionWithContent();
}

// Bookmarks name paragraphs that may still be open while they are read, so
// they join the list at the end, for the blocks that made it into the document.
void TRtfParser::RegisterBookmarks() {
    std::unordered_set<const TSectionBase*> live;
    ForEachBlockDeep(doc_, [&](const TSectionBase& block) { live.insert(&block); });
    for (const auto& bookmark : bookmarks_)
        if (bookmark.Alive && live.count(bookmark.Block))
            doc_.Bookmarks.Add(bookmark.Name, bookmark.Block);
}

void RtfParse(TSectionList& document, TRtfInput& input, const TRtfReadOptions& options) {
    TRtfParser parser(document, input, options);
    parser.Run();
}

} // namespace kvelo::rtf

namespace kvelo {

void RtfParseStream(TSectionList& document, TStream& stream, const TRtfReadOptions& options) {
    if (auto* view = dynamic_cast<TByteViewStream*>(&stream)) {
        const int64_t position = std::min(view->Position(), view->Size());
        rtf::TRtfInput input(view->Data() + position, static_cast<size_t>(view->Size() - position));
        rtf::RtfParse(document, input, options);
        return;
    }
    rtf::TRtfInput input(stream);
    rtf::RtfParse(document, input, options);
}

void RtfParseBytes(TSectionList& document, const void* data, size_t size,
                   const TRtfReadOptions& options) {
    rtf::TRtfInput input(static_cast<const uint8_t*>(data), size);
    rtf::RtfParse(document, input, options);
}

} // namespace kvelo
