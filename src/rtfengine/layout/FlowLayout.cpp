#include "rtfengine/layout/FlowLayout.h"

#include "rtfengine/layout/LayoutContext.h"
#include "rtfengine/layout/LayoutError.h"
#include "rtfengine/layout/PaintContext.h"
#include "rtfengine/model/Blocks.h"

#include <algorithm>

namespace kvelo::layout {

void FlowLayout::reset() {
    blocks_.clear();
    prepared_ = false;
    modelBlocksSeen_ = 0;
    heightPx_ = 0;
    widestNeedPx_ = 0;
}

void FlowLayout::prepare(LayoutContext& ctx) {
    if (prepared_) return;
    reset();
    for (std::size_t i = 0; i < cell_.Count(); ++i)
        blocks_.push_back(makeBlockLayout(cell_[i], cell_, ctx));
    modelBlocksSeen_ = cell_.Count();
    prepared_ = true;
}

void FlowLayout::layoutOne(LayoutContext& ctx, BlockLayout& block) {
    heightPx_ += block.layout(ctx, heightPx_, indents_);
    widestNeedPx_ = std::max(widestNeedPx_, block.widestNeedPx());
}

int FlowLayout::layoutAll(LayoutContext& ctx, int widthPx) {
    std::vector<std::unique_ptr<BlockLayout>> prepared;
    if (prepared_) prepared.swap(blocks_);
    begin(widthPx);
    for (std::size_t i = 0; i < cell_.Count(); ++i) {
        try {
            auto block = i < prepared.size() ? std::move(prepared[i])
                                             : makeBlockLayout(cell_[i], cell_, ctx);
            layoutOne(ctx, *block);
            blocks_.push_back(std::move(block));
        } catch (const EProcessError& error) {
            if (ctx.onBlockError) ctx.onBlockError(error.what());
        }
    }
    modelBlocksSeen_ = cell_.Count();
    heightPx_ = std::max(heightPx_, indents_.lowestImageBottom());
    return heightPx_;
}

void FlowLayout::begin(int widthPx) {
    reset();
    indents_.reset(0, widthPx);
}

void FlowLayout::layoutNewBlocks(LayoutContext& ctx) {
    while (modelBlocksSeen_ < cell_.Count()) {
        auto block = makeBlockLayout(cell_[modelBlocksSeen_], cell_, ctx);
        ++modelBlocksSeen_;
        layoutOne(ctx, *block);
        blocks_.push_back(std::move(block));
    }
}

WidthRangePx FlowLayout::widthRange() const {
    WidthRangePx range;
    for (const auto& block : blocks_) {
        const WidthRangePx r = block->widthRange();
        range.narrowest = std::max(range.narrowest, r.narrowest);
        range.widest = std::max(range.widest, r.widest);
    }
    return range;
}

int FlowLayout::blockIndexAtY(int yPx) const {
    auto after = std::upper_bound(blocks_.begin(), blocks_.end(), yPx,
                                  [](int y, const auto& block) { return y < block->topPx(); });
    return static_cast<int>(after - blocks_.begin()) - 1;
}

const BlockLayout* FlowLayout::blockHolding(int index) const {
    auto after = std::upper_bound(blocks_.begin(), blocks_.end(), index,
                                  [](int i, const auto& block) { return i < block->firstIndex(); });
    for (; after != blocks_.begin(); --after) {
        const BlockLayout& block = **(after - 1);
        if (block.length() == 0) continue; // rules and page breaks hold no characters
        return index <= block.firstIndex() + block.length() ? &block : nullptr;
    }
    return nullptr;
}

std::size_t FlowLayout::firstVisible(int clipTopPx) const {
    int i = std::max(0, blockIndexAtY(clipTopPx));
    while (i > 0 && blocks_[i - 1]->topPx() + blocks_[i - 1]->paintHeightPx() > clipTopPx)
        --i;
    return static_cast<std::size_t>(i);
}

void FlowLayout::paint(PaintContext& ctx, int originXPx, int originYPx) const {
    const int clipTop = ctx.clip.top() - originYPx;
    const int clipBottom = ctx.clip.bottom() - originYPx;
    for (std::size_t i = firstVisible(clipTop); i < blocks_.size(); ++i) {
        if (blocks_[i]->topPx() > clipBottom) break;
        if (ctx.page && originYPx + blocks_[i]->topPx() >= ctx.page->endPx) break;
        blocks_[i]->paint(ctx, originXPx, originYPx);
    }
}

int FlowLayout::indexAt(int xPx, int yPx) const {
    const int i = blockIndexAtY(yPx);
    if (i < 0) return blocks_.empty() ? -1 : blocks_.front()->firstIndex();
    return blocks_[i]->indexAt(xPx, yPx);
}

std::string_view FlowLayout::linkAt(int xPx, int yPx) const {
    const int i = blockIndexAtY(yPx);
    return i < 0 ? std::string_view() : blocks_[i]->linkAt(xPx, yPx);
}

bool FlowLayout::pointOf(int index, QPoint& point) const {
    const BlockLayout* block = blockHolding(index);
    return block && block->pointOf(index, point);
}

int FlowLayout::charAt(int index) const {
    const BlockLayout* block = blockHolding(index);
    return block ? block->charAt(index) : -1;
}

int FlowLayout::findText(int fromIndex, const TextQuery& query) const {
    for (const auto& block : blocks_) {
        if (block->firstIndex() + block->length() <= fromIndex) continue;
        const int hit = block->findText(fromIndex, query);
        if (hit >= 0) return hit;
    }
    return -1;
}

} // namespace kvelo::layout
