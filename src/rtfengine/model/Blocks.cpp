#include "rtfengine/model/Blocks.h"

#include <algorithm>

namespace kvelo {

void TSectionBase::CopyBaseTo(TSectionBase& other) const {
    other.FirstIndex = FirstIndex;
    other.HasPreFormattedSwitch = HasPreFormattedSwitch;
}

TSection::TSection(int32_t leftIndentTwips, TAlignment alignment, const std::string& linkTarget,
                   const TMyFont& font)
    : TSection(TBlockKind::Section, leftIndentTwips, alignment, linkTarget, font) {}

TSection::TSection(TBlockKind kind, int32_t leftIndentTwips, TAlignment alignment,
                   const std::string& linkTarget, const TMyFont& font)
    : TSectionBase(kind), LeftIndentTwips(leftIndentTwips), Alignment(alignment),
      ParagraphFont(font) {
    Fonts.push_back(TFontObj{0, font, linkTarget});
}

void TSection::CopySectionTo(TSection& other) const {
    CopyBaseTo(other);
    other.Text = Text;
    other.Fonts = Fonts;
    other.Images = Images;
    other.FirstLineIndentTwips = FirstLineIndentTwips;
    other.LeftIndentTwips = LeftIndentTwips;
    other.RightIndentTwips = RightIndentTwips;
    other.Alignment = Alignment;
    other.ParagraphFont = ParagraphFont;
}

std::unique_ptr<TSectionBase> TSection::Clone() const {
    auto copy =
        std::make_unique<TSection>(LeftIndentTwips, Alignment, std::string(), ParagraphFont);
    CopySectionTo(*copy);
    return copy;
}

void TSection::AppendText(std::string_view text) {
    Text.append(text.data(), text.size());
}

void TSection::SetFontFromEnd(const TMyFont& font, const std::string& linkTarget) {
    const int32_t end = Length();
    if (Fonts.back().Start == end) {
        Fonts.back().Font = font;
        Fonts.back().LinkTarget = linkTarget;
        return;
    }
    Fonts.push_back(TFontObj{end, font, linkTarget});
}

void TSection::ChangeFont(const TMyFont& font) {
    const std::string link = Fonts.back().LinkTarget;
    SetFontFromEnd(font, link);
}

void TSection::StartLink(const std::string& target, const TMyFont& font) {
    SetFontFromEnd(font, target);
}

void TSection::EndLink(const TMyFont& font) {
    SetFontFromEnd(font, std::string());
}

TImageObj& TSection::AddImage(TImageObj image) {
    image.TextIndex = Length();
    Images.push_back(std::move(image));
    Text.push_back(kImageChar);
    return Images.back();
}

size_t TSection::RunIndexAt(int32_t index) const {
    auto after = std::upper_bound(Fonts.begin(), Fonts.end(), index,
                                  [](int32_t i, const TFontObj& run) { return i < run.Start; });
    return after == Fonts.begin() ? 0 : static_cast<size_t>(after - Fonts.begin()) - 1;
}

int32_t TSection::RunLength(size_t i) const {
    const int32_t end = i + 1 < Fonts.size() ? Fonts[i + 1].Start : Length();
    return std::max(0, end - Fonts[i].Start);
}

const TImageObj* TSection::ImageAt(int32_t index) const {
    auto it = std::lower_bound(Images.begin(), Images.end(), index,
                               [](const TImageObj& img, int32_t i) { return img.TextIndex < i; });
    return it != Images.end() && it->TextIndex == index ? &*it : nullptr;
}

size_t TSection::SplitRunAt(int32_t index) {
    const size_t i = RunIndexAt(index);
    if (Fonts[i].Start == index) return i;
    TFontObj tail = Fonts[i];
    tail.Start = index;
    Fonts.insert(Fonts.begin() + static_cast<std::ptrdiff_t>(i) + 1, tail);
    return i + 1;
}

void TSection::ApplyRun(int32_t first, int32_t last, const TMyFont& font,
                        const std::string& linkTarget) {
    first = std::clamp(first, 0, Length());
    last = std::clamp(last, first, Length());
    if (first == last) return;
    const size_t from = SplitRunAt(first);
    size_t to = last < Length() ? SplitRunAt(last) : Fonts.size();
    Fonts.erase(Fonts.begin() + static_cast<std::ptrdiff_t>(from) + 1,
                Fonts.begin() + static_cast<std::ptrdiff_t>(to));
    Fonts[from].Font = font;
    Fonts[from].LinkTarget = linkTarget;
}

TPreFormated::TPreFormated(int32_t leftIndentTwips, TAlignment alignment,
                           const std::string& linkTarget, const TMyFont& font)
    : TSection(TBlockKind::PreFormated, leftIndentTwips, alignment, linkTarget, font) {}

std::unique_ptr<TSectionBase> TPreFormated::Clone() const {
    auto copy =
        std::make_unique<TPreFormated>(LeftIndentTwips, Alignment, std::string(), ParagraphFont);
    CopySectionTo(*copy);
    return copy;
}

std::unique_ptr<TSectionBase> THorzLine::Clone() const {
    auto copy = std::make_unique<THorzLine>();
    CopyBaseTo(*copy);
    return copy;
}

std::unique_ptr<TSectionBase> TPage::Clone() const {
    auto copy = std::make_unique<TPage>();
    CopyBaseTo(*copy);
    return copy;
}

TSectionBase& TCell::Add(std::unique_ptr<TSectionBase> block) {
    if (block->Kind() == TBlockKind::PreFormated) {
        auto& para = static_cast<TSection&>(*block);
        if (para.Text.empty()) para.AppendText(" ");
    }
    Blocks.push_back(std::move(block));
    return *Blocks.back();
}

void TCell::Delete(size_t i) {
    if (i < Blocks.size()) Blocks.erase(Blocks.begin() + static_cast<std::ptrdiff_t>(i));
}

int32_t TCell::TotalLength() const {
    int32_t total = 0;
    for (const auto& block : Blocks)
        total += block->Length();
    return total;
}

void TCell::CloneInto(TCell& other) const {
    other.HasBackground = HasBackground;
    other.Background = Background;
    other.Blocks.reserve(other.Blocks.size() + Blocks.size());
    for (const auto& block : Blocks)
        other.Blocks.push_back(block->Clone());
}

} // namespace kvelo
