// What laying out a block needs besides its box: measured fonts, pictures and
// the viewer settings that change sizes (default font size and names, images).
#pragma once

#include <functional>
#include <string>

namespace kvelo {
struct TMyFont;
struct TDocumentSettings;
} // namespace kvelo

namespace kvelo::layout {

class FontCache;
class ImageStore;
class MeasuredFont;

struct LayoutContext {
    FontCache* fonts = nullptr;
    ImageStore* images = nullptr;
    int defFontSizePt = 12; // fonts scale by defFontSizePt / 12
    bool viewImages = true;
    std::string defFontName;          // replaces every run's face when not empty
    std::string preFormattedFontName; // replaces faces of pre-formatted runs when not empty
    // Called with the message of a block that a full layout dropped.
    std::function<void(const std::string&)> onBlockError;

    void applySettings(const TDocumentSettings& settings);
    // The measured font of a run: scaled size, substituted face.
    const MeasuredFont& fontOf(const TMyFont& font) const;
    // Height of a horizontal rule at the current default size.
    int ruleHeightPx() const;
};

// The largest pixel size a font gets, so hostile \fs values stay bounded.
constexpr int kMaxFontPixelSize = 1000;

} // namespace kvelo::layout
