#include "rtfengine/layout/LayoutContext.h"

#include "rtfengine/layout/FontCache.h"
#include "rtfengine/layout/Units.h"
#include "rtfengine/model/Document.h"

#include <algorithm>
#include <cstdlib>

namespace kvelo::layout {
namespace {

constexpr int kRuleThicknessPx = 1;
constexpr int kDefaultCharHeightPx = 16; // what a font of size 0 gets

int pixelSizeOf(int defFontSizePt, int halfPoints) {
    const int points = scaledPointSize(defFontSizePt, halfPoints);
    if (points == 0) return kDefaultCharHeightPx;
    return std::clamp(pointsToPx(std::abs(points)), 1, kMaxFontPixelSize);
}

} // namespace

void LayoutContext::applySettings(const TDocumentSettings& settings) {
    defFontSizePt = std::max(6, settings.DefFontSize);
    viewImages = settings.ViewImages;
    defFontName = settings.DefFontName;
    preFormattedFontName = settings.PreFormattedFontName;
}

const MeasuredFont& LayoutContext::fontOf(const TMyFont& font) const {
    FontRequest request;
    if (font.PreFormatted && !preFormattedFontName.empty())
        request.nameCp1251 = preFormattedFontName;
    else if (!defFontName.empty())
        request.nameCp1251 = defFontName;
    else
        request.nameCp1251 = font.Name;
    request.pixelSize = pixelSizeOf(defFontSizePt, font.SizeHalfPoints);
    request.bold = font.Style & fsBold;
    request.italic = font.Style & fsItalic;
    request.underline = font.Style & fsUnderline;
    request.strikeOut = font.Style & fsStrikeOut;
    return fonts->get(request);
}

int LayoutContext::ruleHeightPx() const {
    return mulDiv(20, defFontSizePt, 12) + kRuleThicknessPx - 2;
}

} // namespace kvelo::layout
