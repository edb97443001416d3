#include "rtfengine/layout/FontCache.h"

#include <QFontDatabase>
#include <QFontMetrics>

#include <algorithm>
#include <cmath>
#include <functional>

namespace kvelo::layout {
namespace {

bool isInstalledFamily(const QString& family) {
    return QFontDatabase::hasFamily(family);
}

bool isInvisible(char32_t ch) {
    return ch < 0x20 || (ch >= 0x7F && ch < 0xA0);
}

} // namespace

bool FontRequest::operator==(const FontRequest& other) const {
    return pixelSize == other.pixelSize && bold == other.bold && italic == other.italic &&
           underline == other.underline && strikeOut == other.strikeOut &&
           nameCp1251 == other.nameCp1251;
}

std::size_t FontCache::RequestHash::operator()(const FontRequest& r) const {
    std::size_t flags = (r.bold ? 1u : 0u) | (r.italic ? 2u : 0u) | (r.underline ? 4u : 0u) |
                        (r.strikeOut ? 8u : 0u);
    return std::hash<std::string>()(r.nameCp1251) ^ (static_cast<std::size_t>(r.pixelSize) << 4) ^
           (flags << 28);
}

MeasuredFont::MeasuredFont(const FontRequest& request, const FontFace& face)
    : underline_(request.underline), strikeOut_(request.strikeOut) {
    font_.setFamily(face.family);
    font_.setPixelSize(std::max(1, request.pixelSize));
    font_.setBold(request.bold);
    font_.setItalic(request.italic);
    font_.setUnderline(request.underline);
    font_.setStrikeOut(request.strikeOut);
    font_.setKerning(false);
    font_.setHintingPreference(QFont::PreferFullHinting);
    font_.setStyleStrategy(QFont::PreferNoShaping);
    raw_ = QRawFont::fromFont(font_);

    const QFontMetrics metrics(font_);
    ascentPx_ = metrics.ascent();
    descentPx_ = metrics.descent();
    externalLeadingPx_ = std::max(0, metrics.leading());
    underlineOffsetPx_ = std::max(1, metrics.underlinePos());
    strikeOutOffsetPx_ = std::max(1, metrics.strikeOutPos());
    lineThicknessPx_ = std::max(1, metrics.lineWidth());

    for (int byte = 0; byte < 256; ++byte) {
        const char32_t ch = displayedCharacter(static_cast<unsigned char>(byte), face.encoding);
        if (isInvisible(ch) || !raw_.isValid()) continue;
        const quint32 index = raw_.glyphIndexesForString(QString::fromUcs4(&ch, 1)).value(0);
        glyph_[byte] = index;
        const QList<QPointF> advance = raw_.advancesForGlyphIndexes(QList<quint32>{index});
        advancePx_[byte] = advance.isEmpty() ? 0 : static_cast<int>(std::lround(advance[0].x()));
    }
}

int MeasuredFont::widthPx(std::string_view text) const {
    int width = 0;
    for (const char c : text)
        width += advancePx_[static_cast<unsigned char>(c)];
    return width;
}

FontCache::FontCache() = default;
FontCache::~FontCache() = default;

const FontFace& FontCache::faceOf(const std::string& nameCp1251) {
    auto found = faces_.find(nameCp1251);
    if (found == faces_.end())
        found = faces_.emplace(nameCp1251, mapWindowsFont(nameCp1251, &isInstalledFamily)).first;
    return found->second;
}

const MeasuredFont& FontCache::get(const FontRequest& request) {
    auto found = fonts_.find(request);
    if (found != fonts_.end()) return *found->second;
    auto font = std::make_unique<MeasuredFont>(request, faceOf(request.nameCp1251));
    const MeasuredFont& result = *font;
    fonts_.emplace(request, std::move(font));
    return result;
}

} // namespace kvelo::layout
