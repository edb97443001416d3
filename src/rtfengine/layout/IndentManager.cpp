#include "rtfengine/layout/IndentManager.h"

#include <algorithm>

namespace kvelo::layout {

void IndentManager::reset(int leftPx, int rightPx) {
    records_.clear();
    leftPx_ = leftPx;
    rightPx_ = rightPx;
    lowestImageBottomPx_ = 0;
}

void IndentManager::raiseLeftIndent(int xPx, int yPx) {
    records_.push_back({xPx, yPx, kOpenEnd});
}

void IndentManager::lowerLeftIndent(int yPx) {
    for (Record& record : records_) {
        if (record.toYPx == kOpenEnd) record.toYPx = yPx - 1;
    }
}

int IndentManager::leftEdge(int yPx) const {
    int indentPx = 0;
    for (const Record& record : records_) {
        if (record.fromYPx <= yPx && yPx <= record.toYPx) indentPx = std::max(indentPx, record.xPx);
    }
    return leftPx_ + indentPx;
}

void IndentManager::noteImageBottom(int yPx) {
    lowestImageBottomPx_ = std::max(lowestImageBottomPx_, yPx);
}

} // namespace kvelo::layout
