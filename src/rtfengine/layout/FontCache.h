// Measured fonts for layout and painting: one entry per distinct run font
// (face, pixel size, style), with the advance and glyph of every code page
// 1251 byte so that text widths are table sums and painting places glyphs at
// exactly the measured positions.
#pragma once

#include "rtfengine/layout/FontMapping.h"

#include <QFont>
#include <QRawFont>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

namespace kvelo::layout {

// The character that stands for an inline image in paragraph text.
constexpr unsigned char kImageChar = 4;

struct FontRequest {
    std::string nameCp1251; // the name from the document's font table
    int pixelSize = 16;     // character (em) height in px
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;

    bool operator==(const FontRequest& other) const;
};

// A font with the metrics of a Windows text-metric record (in px) and per-byte
// advances. Immutable once made; owned by the FontCache.
class MeasuredFont {
public:
    MeasuredFont(const FontRequest& request, const FontFace& face);

    int advancePx(unsigned char byte) const { return advancePx_[byte]; }
    int widthPx(std::string_view text) const;
    quint32 glyph(unsigned char byte) const { return glyph_[byte]; }

    int ascentPx() const { return ascentPx_; }
    int descentPx() const { return descentPx_; }
    int heightPx() const { return ascentPx_ + descentPx_; } // tmHeight
    int lineHeightPx() const {
        return heightPx() + externalLeadingPx_;
    }                                    // tmHeight + tmExternalLeading
    int overhangPx() const { return 0; } // TrueType fonts have none
    int spaceWidthPx() const { return advancePx_[' ']; }

    bool underline() const { return underline_; }
    bool strikeOut() const { return strikeOut_; }
    int underlineOffsetPx() const { return underlineOffsetPx_; } // below the baseline
    int strikeOutOffsetPx() const { return strikeOutOffsetPx_; } // above the baseline
    int lineThicknessPx() const { return lineThicknessPx_; }

    const QRawFont& rawFont() const { return raw_; }
    const QFont& font() const { return font_; }

private:
    QFont font_;
    QRawFont raw_;
    std::array<int, 256> advancePx_{};
    std::array<quint32, 256> glyph_{};
    int ascentPx_ = 0;
    int descentPx_ = 0;
    int externalLeadingPx_ = 0;
    int underlineOffsetPx_ = 1;
    int strikeOutOffsetPx_ = 1;
    int lineThicknessPx_ = 1;
    bool underline_ = false;
    bool strikeOut_ = false;
};

// Owns the measured fonts. Entries live as long as the cache, so callers may
// keep the pointers it returns. Single-threaded (the GUI thread).
class FontCache {
public:
    FontCache();
    ~FontCache();
    FontCache(const FontCache&) = delete;
    FontCache& operator=(const FontCache&) = delete;

    const MeasuredFont& get(const FontRequest& request);
    std::size_t size() const { return fonts_.size(); }

private:
    struct RequestHash {
        std::size_t operator()(const FontRequest& r) const;
    };
    const FontFace& faceOf(const std::string& nameCp1251);

    std::unordered_map<FontRequest, std::unique_ptr<MeasuredFont>, RequestHash> fonts_;
    std::unordered_map<std::string, FontFace> faces_;
};

} // namespace kvelo::layout
