// The layout of a list of blocks stacked top to bottom in a box of a given
// width: a table cell's content, and the base of the document layout. Blocks
// keep their order; a block that cannot be laid out in a full layout is left
// out (and reported), the others are shown.
#pragma once

#include "rtfengine/layout/BlockLayout.h"
#include "rtfengine/layout/IndentManager.h"

#include <memory>
#include <vector>

namespace kvelo {
class TCell;
}

namespace kvelo::layout {

struct LayoutContext;
struct PaintContext;

class FlowLayout {
public:
    explicit FlowLayout(TCell& cell) : cell_(cell) {}

    // Makes the block layouts (once) so widths can be asked before layout.
    void prepare(LayoutContext& ctx);
    // Lays every block out again in a box [0, widthPx]; returns the height
    // (at least the lowest image bottom). A block throwing EProcessError is
    // reported through ctx.onBlockError and left out.
    int layoutAll(LayoutContext& ctx, int widthPx);
    // Starts an empty layout of width widthPx for layoutNewBlocks.
    void begin(int widthPx);
    // Lays out the cell's blocks that have no layout yet below the others;
    // errors propagate.
    void layoutNewBlocks(LayoutContext& ctx);
    // Drops every block layout (the model changed).
    void reset();

    int heightPx() const { return heightPx_; }
    int widthPx() const { return indents_.boxWidth(); }
    int widestNeedPx() const { return widestNeedPx_; }
    WidthRangePx widthRange() const; // over the blocks; call prepare() first

    std::size_t blockCount() const { return blocks_.size(); }
    const BlockLayout& block(std::size_t i) const { return *blocks_[i]; }
    // Index of the block at y (the last block whose top is at or above y), or
    // -1 when y is above the first block or there is none.
    int blockIndexAtY(int yPx) const;
    const BlockLayout* blockHolding(int index) const;

    void paint(PaintContext& ctx, int originXPx, int originYPx) const;
    int indexAt(int xPx, int yPx) const;
    std::string_view linkAt(int xPx, int yPx) const;
    bool pointOf(int index, QPoint& point) const;
    int charAt(int index) const;
    int findText(int fromIndex, const TextQuery& query) const;

private:
    void layoutOne(LayoutContext& ctx, BlockLayout& block);
    std::size_t firstVisible(int clipTopPx) const;

    TCell& cell_;
    std::vector<std::unique_ptr<BlockLayout>> blocks_;
    bool prepared_ = false;           // blocks_ holds one layout per model block, not laid out yet
    std::size_t modelBlocksSeen_ = 0; // model blocks that have a layout or were dropped
    IndentManager indents_;
    int heightPx_ = 0;
    int widestNeedPx_ = 0;
};

} // namespace kvelo::layout
