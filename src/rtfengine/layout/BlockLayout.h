// The laid-out form of one model block: its place in the frame of the list
// that holds it, painting and hit tests. Coordinates are px in that frame
// (x from the frame's left edge, y from its top); character indexes are
// document indexes.
#pragma once

#include "rtfengine/layout/ParagraphLayout.h"

#include <QPoint>

#include <memory>
#include <string>
#include <string_view>

namespace kvelo {
class TCell;
class TSectionBase;
class TSection;
} // namespace kvelo

namespace kvelo::layout {

class IndentManager;
struct LayoutContext;
struct PaintContext;

// A text to find: code page 1251, at most 255 characters.
struct TextQuery {
    std::string text;
    bool matchCase = false;
};

class BlockLayout {
public:
    explicit BlockLayout(const TSectionBase& block) : block_(block) {}
    virtual ~BlockLayout() = default;
    BlockLayout(const BlockLayout&) = delete;
    BlockLayout& operator=(const BlockLayout&) = delete;

    const TSectionBase& block() const { return block_; }
    int topPx() const { return topPx_; }
    int heightPx() const { return heightPx_; }
    int paintHeightPx() const { return std::max(heightPx_, paintHeightPx_); }
    int firstIndex() const;
    int length() const;

    // Lays the block out at yPx; returns its height. May throw EProcessError.
    virtual int layout(LayoutContext& ctx, int yPx, IndentManager& indents) = 0;
    // originX/originY put the frame on the painter.
    virtual void paint(PaintContext& ctx, int originXPx, int originYPx) const = 0;
    virtual WidthRangePx widthRange() const { return {}; }
    // The rightmost x the block reaches in its frame.
    virtual int widestNeedPx() const { return 0; }

    virtual int indexAt(int /*xPx*/, int /*yPx*/) const { return -1; }
    virtual std::string_view linkAt(int /*xPx*/, int /*yPx*/) const { return {}; }
    virtual bool pointOf(int /*index*/, QPoint& /*point*/) const { return false; }
    // The byte at a document index, or -1 when the block does not hold it.
    virtual int charAt(int /*index*/) const { return -1; }
    // Document index of the first hit at or after fromIndex, or -1.
    virtual int findText(int /*fromIndex*/, const TextQuery& /*query*/) const { return -1; }

protected:
    const TSectionBase& block_;
    int topPx_ = 0;
    int heightPx_ = 0;
    int paintHeightPx_ = 0;
};

// Makes the layout of a block held by `container` (whose background cells of
// tables inherit). The block must outlive the layout.
std::unique_ptr<BlockLayout> makeBlockLayout(TSectionBase& block, const TCell& container,
                                             LayoutContext& ctx);

// A paragraph or pre-formatted paragraph.
class SectionLayout : public BlockLayout {
public:
    SectionLayout(const TSection& section, LayoutContext& ctx);

    int layout(LayoutContext& ctx, int yPx, IndentManager& indents) override;
    void paint(PaintContext& ctx, int originXPx, int originYPx) const override;
    WidthRangePx widthRange() const override { return lines_.widthRange(); }
    int widestNeedPx() const override { return lines_.widestNeedPx(); }
    int indexAt(int xPx, int yPx) const override;
    std::string_view linkAt(int xPx, int yPx) const override;
    bool pointOf(int index, QPoint& point) const override;
    int charAt(int index) const override;
    int findText(int fromIndex, const TextQuery& query) const override;

    const ParagraphLayout& lines() const { return lines_; }

private:
    static ParagraphInput inputOf(const TSection& section, LayoutContext& ctx);
    ParagraphLayout lines_;
};

// A horizontal rule: 1 px, across the box, centred in its height.
class RuleLayout : public BlockLayout {
public:
    using BlockLayout::BlockLayout;
    int layout(LayoutContext& ctx, int yPx, IndentManager& indents) override;
    void paint(PaintContext& ctx, int originXPx, int originYPx) const override;

private:
    int leftPx_ = 0;
    int rightPx_ = 0;
};

// A page break: no height; ends the printed page.
class PageBreakLayout : public BlockLayout {
public:
    static constexpr int kPageTopSlackPx = 5;
    using BlockLayout::BlockLayout;
    int layout(LayoutContext& ctx, int yPx, IndentManager& indents) override;
    void paint(PaintContext& ctx, int originXPx, int originYPx) const override;
};

// Position of the first occurrence of query in text at or after from, or -1;
// without matchCase letters compare by the code page's case tables.
int findInText(std::string_view text, int from, const TextQuery& query);

} // namespace kvelo::layout
