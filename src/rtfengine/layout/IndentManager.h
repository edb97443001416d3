// The left and right edges of a layout box at a given height (px). Open-ended
// left-indent records narrow the box from the left below the height at which
// they were raised; the lowest image bottom placed in the box is tracked so a
// box is never shorter than its images.
#pragma once

#include <vector>

namespace kvelo::layout {

class IndentManager {
public:
    static constexpr int kOpenEnd = 9999999;

    void reset(int leftPx, int rightPx);

    // Indents the box by xPx from y on (until lowered).
    void raiseLeftIndent(int xPx, int yPx);
    // Ends every open indent at y - 1.
    void lowerLeftIndent(int yPx);

    int leftEdge(int yPx) const;
    int rightEdge(int /*yPx*/) const { return rightPx_; }
    int boxLeft() const { return leftPx_; }
    int boxWidth() const { return rightPx_ - leftPx_; }

    void noteImageBottom(int yPx);
    int lowestImageBottom() const { return lowestImageBottomPx_; }

private:
    struct Record {
        int xPx;
        int fromYPx;
        int toYPx;
    };
    std::vector<Record> records_;
    int leftPx_ = 0;
    int rightPx_ = 0;
    int lowestImageBottomPx_ = 0;
};

} // namespace kvelo::layout
