// The blocks of a document: paragraphs, pre-formatted paragraphs, rules, page
// breaks and tables, and TCell, an ordered list of blocks (a cell's content,
// and the base of the document). Lists own their blocks.
#pragma once

#include "rtfengine/model/Font.h"
#include "rtfengine/model/Image.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kvelo {

class TSectionList;

enum class TBlockKind : uint8_t { Section, PreFormated, HorzLine, Page, Table };

enum class TAlignment : uint8_t { Left = 0, Center = 1, Right = 2, Justify = 3 };

// Whatever the layout keeps for a block (lines, positions). The model only
// owns it; it is never copied by Clone.
class TLayoutData {
public:
    virtual ~TLayoutData() = default;
};

// The character that stands for an image in paragraph text.
constexpr char kImageChar = '\x04';

class TSectionBase {
public:
    virtual ~TSectionBase() = default;
    TSectionBase(const TSectionBase&) = delete;
    TSectionBase& operator=(const TSectionBase&) = delete;

    TBlockKind Kind() const { return kind_; }
    bool IsParagraph() const {
        return kind_ == TBlockKind::Section || kind_ == TBlockKind::PreFormated;
    }

    // A deep copy (images share their picture bytes); layout data is not copied.
    virtual std::unique_ptr<TSectionBase> Clone() const = 0;

    // Number of characters the block counts in document indexes: the text
    // length of a paragraph, the sum over the cells of a table, 0 otherwise.
    virtual int32_t Length() const { return 0; }

    // Document index of the first character; assigned when the block joins a
    // document (TSectionList::Add) or by TSectionList::Renumber.
    int32_t FirstIndex = 0;
    // Set by the reader when a "~" (pre-formatted switch) occurred in the paragraph.
    bool HasPreFormattedSwitch = false;

    std::unique_ptr<TLayoutData> LayoutData;

protected:
    explicit TSectionBase(TBlockKind kind) : kind_(kind) {}
    void CopyBaseTo(TSectionBase& other) const;

private:
    TBlockKind kind_;
};

// A paragraph: code page 1251 text with font runs, links and inline images.
class TSection : public TSectionBase {
public:
    // An empty paragraph with one run at 0 that has `font` and `linkTarget`.
    TSection(int32_t leftIndentTwips, TAlignment alignment, const std::string& linkTarget,
             const TMyFont& font);

    std::unique_ptr<TSectionBase> Clone() const override;
    int32_t Length() const override { return static_cast<int32_t>(Text.size()); }

    // Appends text at the end; the text keeps the run that is open at the end.
    void AppendText(std::string_view text);
    // From the current end on, the text gets `font` (keeping the link target).
    void ChangeFont(const TMyFont& font);
    // From the current end on, the text is a link to `target` in `font`.
    void StartLink(const std::string& target, const TMyFont& font);
    // From the current end on, the text is no link.
    void EndLink(const TMyFont& font);
    // Appends an image at the end together with its placeholder character.
    TImageObj& AddImage(TImageObj image);
    // Gives [first, last) the font and link of `run` (split at both ends).
    void ApplyRun(int32_t first, int32_t last, const TMyFont& font, const std::string& linkTarget);

    // Index of the run holding character `index` (the last run starting at or before it).
    size_t RunIndexAt(int32_t index) const;
    // Number of characters of run `i`.
    int32_t RunLength(size_t i) const;
    // The image whose placeholder is at `index`, or null.
    const TImageObj* ImageAt(int32_t index) const;

    // True when the text is empty or the reader's two-space filler of an empty paragraph.
    bool IsEmptyFiller() const { return Text.empty() || Text == "  "; }

    std::string Text; // code page 1251; kImageChar marks an image
    std::vector<TFontObj> Fonts;
    std::vector<TImageObj> Images; // ordered by TextIndex
    int32_t FirstLineIndentTwips = 0;
    int32_t LeftIndentTwips = 0;
    int32_t RightIndentTwips = 0;
    TAlignment Alignment = TAlignment::Left;
    TMyFont ParagraphFont; // copy of the first run's font at creation

protected:
    TSection(TBlockKind kind, int32_t leftIndentTwips, TAlignment alignment,
             const std::string& linkTarget, const TMyFont& font);
    void CopySectionTo(TSection& other) const;

private:
    void SetFontFromEnd(const TMyFont& font, const std::string& linkTarget);
    size_t SplitRunAt(int32_t index);
};

// A paragraph that is never wrapped.
class TPreFormated : public TSection {
public:
    TPreFormated(int32_t leftIndentTwips, TAlignment alignment, const std::string& linkTarget,
                 const TMyFont& font);
    std::unique_ptr<TSectionBase> Clone() const override;
};

// A horizontal rule.
class THorzLine : public TSectionBase {
public:
    THorzLine() : TSectionBase(TBlockKind::HorzLine) {}
    std::unique_ptr<TSectionBase> Clone() const override;
};

// A page break (invisible on screen).
class TPage : public TSectionBase {
public:
    TPage() : TSectionBase(TBlockKind::Page) {}
    std::unique_ptr<TSectionBase> Clone() const override;
};

// An ordered list of blocks that owns them: a table cell's content and the
// base of the document.
class TCell {
public:
    TCell() = default;
    virtual ~TCell() = default;
    TCell(const TCell&) = delete;
    TCell& operator=(const TCell&) = delete;

    // Appends a block: a TPreFormated without text gets " ". Returns the block.
    virtual TSectionBase& Add(std::unique_ptr<TSectionBase> block);

    size_t Count() const { return Blocks.size(); }
    bool Empty() const { return Blocks.empty(); }
    TSectionBase& operator[](size_t i) const { return *Blocks[i]; }
    void Clear() { Blocks.clear(); }
    // Removes and frees block `i`.
    void Delete(size_t i);
    // Sum of Length() over the blocks.
    int32_t TotalLength() const;
    // Copies the blocks (deep) and the background into `other`.
    void CloneInto(TCell& other) const;

    std::vector<std::unique_ptr<TSectionBase>> Blocks;
    // Background of the cell content (\clcbpat); unused on the document.
    bool HasBackground = false;
    TColor Background = clBlack;
};

} // namespace kvelo
