// Line layout of one paragraph: breaks its text into lines that fit the box
// (words are never split), aligns and justifies them, and answers hit tests.
// Works on measured runs, so it needs no model; BlockLayouts feed it.
#pragma once

#include "rtfengine/layout/FontCache.h"

#include <QColor>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kvelo::layout {

class IndentManager;
struct PaintContext;

enum class Alignment : std::uint8_t { Left = 0, Centre = 1, Right = 2, Justify = 3 };
enum class ImageVAlign : std::uint8_t { Top = 0, Middle = 1, Baseline = 2 };

struct TextRun {
    int start = 0; // first character, index into the paragraph text
    const MeasuredFont* font = nullptr;
    QColor color = Qt::black;
    std::string_view linkTarget; // empty: not a link; must outlive the layout
};

struct InlineImage {
    int charIndex = 0; // position of its placeholder character (4)
    int widthPx = 0;
    int heightPx = 0;
    int hspacePx = 5;
    ImageVAlign valign = ImageVAlign::Baseline;
    const void* key = nullptr; // passed to the ImageSource when painting
};

struct ParagraphInput {
    std::string_view text;           // code page 1251; must outlive the layout
    std::vector<TextRun> runs;       // ascending start, the first at 0
    std::vector<InlineImage> images; // ascending charIndex
    int firstIndentTwips = 0;
    int leftIndentTwips = 0;
    Alignment alignment = Alignment::Left;
    bool preformatted = false; // never wrapped, centred as a 70-space block
};

struct LineBox {
    int first = 0; // paragraph character index
    int count = 0;
    int textEnd = 0; // paragraph index after the last character that is not a space
    int topPx = 0;   // relative to the paragraph top
    int extraAbovePx = 0;
    int extraBelowPx = 0;
    int heightPx = 0; // tallest LineHeight of the line's text
    int descentPx = 0;
    int indentPx = 0; // x of the first character
    double gapPx = 0; // extra width of each justified space

    int totalHeightPx() const { return extraAbovePx + heightPx + extraBelowPx; }
    int baselinePx() const { return topPx + extraAbovePx + heightPx - descentPx; }
};

struct WidthRangePx {
    int narrowest = 0;
    int widest = 0;
};

class ParagraphLayout {
public:
    static constexpr int kPreformattedBoxPx = 32000;
    static constexpr int kPreformattedSpaces = 70;

    explicit ParagraphLayout(ParagraphInput input);

    // Lays the lines out with their top at yPx (in the box's frame); returns the
    // height. The box edges come from `indents` at each line's height.
    int layout(int yPx, IndentManager& indents);

    int heightPx() const { return heightPx_; }
    int paintHeightPx() const { return paintHeightPx_; }
    const std::vector<LineBox>& lines() const { return lines_; }
    const ParagraphInput& input() const { return in_; }
    int length() const { return static_cast<int>(in_.text.size()); }
    WidthRangePx widthRange() const;
    // The rightmost x any line or image reaches (over-long words overflow).
    int widestNeedPx() const;

    // Hit tests; x and y relative to the paragraph's box origin and top.
    // indexAt/linkAt give -1 / empty when y is below the last line.
    int indexAt(int xPx, int yPx) const;
    std::string_view linkAt(int xPx, int yPx) const;
    bool pointOf(int index, int& xPx, int& yPx) const;
    const LineBox* lineAtY(int yPx) const;
    const LineBox* lineAtIndex(int index) const; // the last line for the end

    // x of character k of a line (k = line.count gives its end), with the
    // justification gaps; painting and hit tests share it.
    int charX(const LineBox& line, int k) const;

    const TextRun& runAt(int index) const;
    const InlineImage* imageAt(int index) const;

    // Paints the lines; originX/originY put the paragraph's frame on the
    // painter; firstIndex is the document index of the paragraph's first char.
    void paint(PaintContext& ctx, int originXPx, int originYPx, int firstIndex) const;

private:
    int charWidth(int index) const;
    int pieceWidth(int from, int to) const;
    int fitCount(int from, int availablePx) const;
    int breakCount(int from, int fit) const;
    int widthWithoutTrailingSpaces(int from, int count) const;
    LineBox completeLine(int from, int count, int leftPx, int rightPx, bool lastLine) const;
    void applyImageHeights(LineBox& line) const;
    bool isJustifiedSpace(const LineBox& line, int k) const;
    std::vector<int> charEdges(const LineBox& line) const; // charX of 0..count
    void paintLine(PaintContext& ctx, const LineBox& line, int originXPx, int lineTopPx,
                   int firstIndex) const;
    void paintImage(PaintContext& ctx, const InlineImage& image, const LineBox& line, int xPx,
                    int lineTopPx) const;

    ParagraphInput in_;
    std::vector<LineBox> lines_;
    int topPx_ = 0;
    int heightPx_ = 0;
    int paintHeightPx_ = 0;
    int boxLeftPx_ = 0; // box edges at the paragraph top, for clipping
    int boxRightPx_ = 0;
};

} // namespace kvelo::layout
