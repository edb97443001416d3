// Unit conversions of the layout: twips (1/1440 inch), half-points, points and
// device-independent pixels (96 per inch).
#pragma once

#include <cstdint>

namespace kvelo::layout {

constexpr int kPixelsPerInch = 96;

// a * b / c rounded half away from zero, computed in 64 bits; 0 when c is 0
// (the Windows MulDiv that the measurements of the format are defined by).
constexpr int mulDiv(int a, int b, int c) {
    if (c == 0) return 0;
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const bool negative = (product < 0) != (c < 0);
    const std::int64_t absProduct = product < 0 ? -product : product;
    const std::int64_t absDivisor = c < 0 ? -static_cast<std::int64_t>(c) : c;
    const std::int64_t rounded = (absProduct + absDivisor / 2) / absDivisor;
    return static_cast<int>(negative ? -rounded : rounded);
}

// Paragraph indents: twips to pixels by truncating division.
constexpr int twipsToPx(int twips) {
    return twips / 20;
}

// The point size that a run of `halfPoints` gets when the viewer's default size
// is `defFontSizePt`: 12 keeps the document's sizes, other values scale them.
constexpr int scaledPointSize(int defFontSizePt, int halfPoints) {
    return mulDiv(defFontSizePt, halfPoints / 2, 12);
}

// Character height in pixels of a font of `points` (the em size, as a Windows
// font of negative lfHeight).
constexpr int pointsToPx(int points) {
    return mulDiv(points, kPixelsPerInch, 72);
}

} // namespace kvelo::layout
