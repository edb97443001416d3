// Pictures: \pict groups with hexadecimal or \bin data, turned into images of
// the open paragraph.
#include "rtfengine/reader/RtfParser.h"

#include <array>
#include <cmath>

namespace kvelo::rtf {

namespace {

// 0-15 for hexadecimal digits, kSkip for line breaks, kOther for the rest.
constexpr uint8_t kSkip = 16;
constexpr uint8_t kOther = 17;
const std::array<uint8_t, 256> kHexClass = [] {
    std::array<uint8_t, 256> t{};
    t.fill(kOther);
    for (int c = '0'; c <= '9'; ++c)
        t[static_cast<size_t>(c)] = static_cast<uint8_t>(c - '0');
    for (int c = 'a'; c <= 'f'; ++c)
        t[static_cast<size_t>(c)] = static_cast<uint8_t>(c - 'a' + 10);
    for (int c = 'A'; c <= 'F'; ++c)
        t[static_cast<size_t>(c)] = static_cast<uint8_t>(c - 'A' + 10);
    t['\n'] = t['\r'] = kSkip;
    return t;
}();

constexpr size_t kBmpFileHeaderSize = 14;

uint32_t ReadLe(const std::vector<uint8_t>& b, size_t at, size_t width) {
    uint32_t value = 0;
    for (size_t i = 0; i < width && at + i < b.size(); ++i)
        value |= uint32_t{b[at + i]} << (8 * i);
    return value;
}

// Offset of the pixel data of a DIB (header + colour table), for the BMP header.
uint32_t DibPixelOffset(const std::vector<uint8_t>& dib) {
    const uint32_t headerSize = ReadLe(dib, 0, 4);
    const bool core = headerSize == 12;
    const uint32_t bitCount = ReadLe(dib, core ? 10 : 14, 2);
    const uint32_t compression = core ? 0 : ReadLe(dib, 16, 4);
    const uint32_t used = core ? 0 : ReadLe(dib, 32, 4);
    uint64_t colors = used != 0 ? used : (bitCount <= 8 ? (uint64_t{1} << bitCount) : 0);
    uint64_t offset = kBmpFileHeaderSize + uint64_t{headerSize} + colors * (core ? 3 : 4);
    if (headerSize == 40 && compression == 3) offset += 12; // BI_BITFIELDS masks
    if (headerSize == 40 && compression == 6) offset += 16; // BI_ALPHABITFIELDS masks
    return static_cast<uint32_t>(std::min<uint64_t>(offset, kBmpFileHeaderSize + dib.size()));
}

// Makes a BMP file of a DIB: "BM", file size, two reserved words, data offset.
std::vector<uint8_t> BmpFileOfDib(std::vector<uint8_t> dib) {
    const auto fileSize = static_cast<uint32_t>(dib.size() + kBmpFileHeaderSize);
    const uint32_t offset = DibPixelOffset(dib);
    std::vector<uint8_t> file = {'B', 'M'};
    for (uint32_t v : {fileSize, 0u, offset})
        for (int i = 0; i < 4; ++i)
            file.push_back(static_cast<uint8_t>(v >> (8 * i)));
    file.insert(file.end(), dib.begin(), dib.end());
    return file;
}

// A Windows metafile as RTF carries it: a METAHEADER (type 1 or 2, header
// size 9 words), or a placeable header before it.
bool IsWindowsMetafile(const std::vector<uint8_t>& data) {
    if (data.size() >= 4 && ReadLe(data, 0, 4) == 0x9AC6CDD7u) return data.size() >= 22 + 18;
    if (data.size() < 18) return false;
    const uint32_t type = ReadLe(data, 0, 2);
    return (type == 1 || type == 2) && ReadLe(data, 2, 2) == 9;
}

int32_t RoundPixels(double value) {
    if (!(value > 0)) return 0;
    return static_cast<int32_t>(std::lround(std::min(value, 1e6)));
}

} // namespace

void TRtfParser::StartPicture() {
    if (picture_) throw ERtfError("Invalid Picture");
    picture_ = std::make_unique<TRtfPicture>();
}

void TRtfParser::ApplyPictureProperty(TProperty property, int32_t value) {
    if (!picture_) return;
    TRtfPicture& pic = *picture_;
    switch (property) {
    case TProperty::PicW:
        pic.PicW = value;
        break;
    case TProperty::PicH:
        pic.PicH = value;
        break;
    case TProperty::PicWGoal:
        pic.PicWGoal = value;
        break;
    case TProperty::PicHGoal:
        pic.PicHGoal = value;
        break;
    case TProperty::PicScaleX:
        pic.ScaleX = value;
        break;
    case TProperty::PicScaleY:
        pic.ScaleY = value;
        break;
    case TProperty::BitsPerPixel:
        pic.BitsPerPixel = value;
        break;
    case TProperty::Planes:
        pic.Planes = value;
        break;
    case TProperty::WidthBytes:
        pic.WidthBytes = value;
        break;
    case TProperty::PictureKind:
        pic.Kind = static_cast<TPictureKind>(value);
        break;
    case TProperty::WMetafile:
        pic.Kind = TPictureKind::Wmf;
        pic.MappingMode = (value >= 2 && value <= 8) ? value : 1;
        break;
    default:
        break;
    }
}

void TRtfParser::AppendPictureNibble(uint8_t nibble) {
    TRtfPicture& pic = *picture_;
    if (pic.HighNibble) {
        pic.PendingNibble = static_cast<uint8_t>(nibble << 4);
    } else {
        pic.Bytes.push_back(static_cast<uint8_t>(pic.PendingNibble | nibble));
    }
    pic.HighNibble = !pic.HighNibble;
}

// Hexadecimal picture data: digits pair up high nibble first across line
// breaks and stray characters; a backslash or brace is left for the main loop.
void TRtfParser::AddPictureHex(uint8_t first) {
    if (!picture_) return;
    const uint8_t kind = kHexClass[first];
    if (kind == kOther) return;
    if (kind != kSkip) AppendPictureNibble(kind);
    while (!in_.HasPushBack()) {
        const size_t available = in_.Available();
        if (available == 0) return;
        const uint8_t* p = in_.Cursor();
        size_t n = 0;
        for (; n < available; ++n) {
            const uint8_t k = kHexClass[p[n]];
            if (k == kOther) break;
            if (k != kSkip) AppendPictureNibble(k);
        }
        in_.Advance(n);
        if (n < available) {
            if (p[n] != '\\' && p[n] != '{' && p[n] != '}') in_.Advance(1);
            return;
        }
    }
}

// The picture group closed: the picture becomes an image of the open
// paragraph. Kinds without a decoder here (Macintosh PICT, OS/2 metafiles),
// empty data and metafiles without a valid header are dropped.
void TRtfParser::FinishPicture() {
    std::unique_ptr<TRtfPicture> pic = std::move(picture_);
    picture_.reset();
    TSection& para = EnsureParagraph();
    if (!pic || pic->Bytes.empty()) return;
    if (pic->Kind == TPictureKind::MacPict || pic->Kind == TPictureKind::Os2Metafile) return;
    if (static_cast<uint8_t>(pic->Kind) > static_cast<uint8_t>(TPictureKind::Ddb)) return;
    if (pic->Kind == TPictureKind::Wmf && !IsWindowsMetafile(pic->Bytes)) return;

    TImageObj image;
    image.Kind = pic->Kind;
    image.PicW = pic->PicW;
    image.PicH = pic->PicH;
    image.PicWGoalTwips = pic->PicWGoal;
    image.PicHGoalTwips = pic->PicHGoal;
    image.ScaleXPercent = pic->ScaleX;
    image.ScaleYPercent = pic->ScaleY;
    image.MetafileMappingMode = pic->MappingMode;
    image.BitsPerPixel = pic->BitsPerPixel;
    image.Planes = pic->Planes;
    image.WidthBytes = pic->WidthBytes;

    const double ppi = options_.PixelsPerInch;
    if (pic->Kind == TPictureKind::Wmf && pic->PicW > 0 && pic->PicH > 0 &&
        (pic->MappingMode == 7 || pic->MappingMode == 8)) {
        image.DisplayWidthPx = RoundPixels(pic->PicW / 2540.0 * ppi);
        image.DisplayHeightPx = RoundPixels(pic->PicH / 2540.0 * ppi);
    }
    if (pic->PicWGoal != 0 && pic->PicHGoal != 0) {
        image.DisplayWidthPx = RoundPixels(pic->PicWGoal * ppi / 1440.0);
        image.DisplayHeightPx = RoundPixels(pic->PicHGoal * ppi / 1440.0);
    }
    std::vector<uint8_t> bytes = std::move(pic->Bytes);
    if (pic->Kind == TPictureKind::Dib) bytes = BmpFileOfDib(std::move(bytes));
    image.Bytes = std::make_shared<const std::vector<uint8_t>>(std::move(bytes));
    para.AddImage(std::move(image));
}

} // namespace kvelo::rtf
