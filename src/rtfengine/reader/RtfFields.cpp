// Fields (HYPERLINK links) and bookmarks.
#include "rtfengine/reader/RtfParser.h"

#include "platform/Cp1251.h"

namespace kvelo::rtf {

std::string BookmarkNameFromRtf(std::string_view name) {
    if (name.substr(0, 3) == "bm_") name.remove_prefix(3);
    std::string result(name);
    for (char& c : result)
        if (c == '_') c = ' ';
    return result;
}

namespace {

// The text of the first double-quoted string: up to the next quote or the end.
std::string FirstQuoted(std::string_view text) {
    const size_t open = text.find('"');
    if (open == std::string_view::npos) return std::string();
    const size_t close = text.find('"', open + 1);
    return std::string(text.substr(
        open + 1, close == std::string_view::npos ? std::string_view::npos : close - open - 1));
}

// Position of the "\l" switch outside quoted strings, or npos.
size_t FindBookmarkSwitch(std::string_view text) {
    bool quoted = false;
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '"')
            quoted = !quoted;
        else if (!quoted && text[i] == '\\' && text[i + 1] == 'l')
            return i;
    }
    return std::string_view::npos;
}

} // namespace

// HYPERLINK "target" [\l "bm_name"]: the link opens at the current position.
void TRtfParser::ParseField() {
    std::string_view text = fieldInstruction_;
    size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    size_t end = i;
    while (end < text.size() && ((text[end] | 0x20) >= 'a' && (text[end] | 0x20) <= 'z'))
        ++end;
    if (!AnsiSameText(text.substr(i, end - i), "HYPERLINK")) return;
    const std::string_view rest = text.substr(end);
    const size_t bookmarkSwitch = FindBookmarkSwitch(rest);
    std::string target = FirstQuoted(rest.substr(0, bookmarkSwitch));
    if (bookmarkSwitch != std::string_view::npos)
        target += "#" + BookmarkNameFromRtf(FirstQuoted(rest.substr(bookmarkSwitch + 2)));
    linkFlag_ = true;
    linkFieldDepth_ = fieldDepths_.empty() ? -1 : fieldDepths_.back();
    linkTarget_ = target;
    EnsureParagraph().StartLink(target, font_);
}

void TRtfParser::EndLink() {
    linkFlag_ = false;
    linkFieldDepth_ = -1;
    linkTarget_.clear();
    if (paragraph_) paragraph_->EndLink(font_);
}

// The result of the field that opened the link ends the link.
void TRtfParser::EndFieldResult() {
    const int32_t field = fieldDepths_.empty() ? -1 : fieldDepths_.back();
    if (linkFlag_ && field == linkFieldDepth_) EndLink();
}

// A closing brace ends the \field groups opened at this depth; a link whose
// field had no result ends with its field.
void TRtfParser::EndFieldsOfGroup() {
    while (!fieldDepths_.empty() && fieldDepths_.back() >= depth_) {
        if (linkFlag_ && fieldDepths_.back() == linkFieldDepth_) EndLink();
        fieldDepths_.pop_back();
    }
}

void TRtfParser::EndBookmarkStart() {
    TSection& para = EnsureParagraph();
    std::string name = BookmarkNameFromRtf(bookmarkName_);
    bookmarkName_.clear();
    if (name.empty()) return;
    bookmarksByBlock_[&para].push_back(bookmarks_.size());
    bookmarks_.push_back(TPendingBookmark{std::move(name), &para, true});
    paragraphHasBookmark_ = true;
}

} // namespace kvelo::rtf
