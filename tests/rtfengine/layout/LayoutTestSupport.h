// Documents built in code for the layout tests. "Courier New" maps to
// Liberation Mono, whose every character is 10 px wide at 12 pt (16 px) and
// whose lines are 18 px high, so expected positions are easy to state.
#pragma once

#include "rtfengine/layout/DocumentLayout.h"
#include "rtfengine/layout/FontCache.h"
#include "rtfengine/model/Document.h"

#include <memory>
#include <string>

namespace kvelo::layout::testing {

constexpr int kMonoCharPx = 10;
constexpr int kMonoLinePx = 18;
constexpr int kMonoDescentPx = 5;

inline TMyFont monoFont(int halfPoints = 24) {
    TMyFont font;
    font.Name = "Courier New";
    font.SizeHalfPoints = halfPoints;
    return font;
}

struct ParagraphSpec {
    std::string text;
    TAlignment alignment = TAlignment::Left;
    int leftIndentTwips = 0;
    int firstIndentTwips = 0;
    bool preformatted = false;
};

inline std::unique_ptr<TSection> makeParagraph(const ParagraphSpec& spec,
                                               const TMyFont& font = monoFont()) {
    std::unique_ptr<TSection> section;
    if (spec.preformatted)
        section = std::make_unique<TPreFormated>(spec.leftIndentTwips, spec.alignment, "", font);
    else
        section = std::make_unique<TSection>(spec.leftIndentTwips, spec.alignment, "", font);
    section->FirstLineIndentTwips = spec.firstIndentTwips;
    section->AppendText(spec.text);
    return section;
}

// A document with its layout; blocks added later are laid out at once.
struct LaidOutDocument {
    explicit LaidOutDocument(int widthPx = 100) : layout(doc, fonts) {
        layout.beginIncremental(widthPx);
    }
    TSection& add(const ParagraphSpec& spec, const TMyFont& font = monoFont()) {
        return static_cast<TSection&>(doc.Add(makeParagraph(spec, font)));
    }
    const SectionLayout& paragraph(std::size_t i) const {
        return dynamic_cast<const SectionLayout&>(layout.flow().block(i));
    }
    const std::vector<LineBox>& lines(std::size_t i) const { return paragraph(i).lines().lines(); }

    FontCache fonts;
    TSectionList doc;
    DocumentLayout layout;
};

} // namespace kvelo::layout::testing
