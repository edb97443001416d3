#include "rtfengine/model/PlainText.h"

#include "platform/Cp1251.h"

#include <algorithm>

namespace kvelo {

namespace {

// Paragraph text without image placeholders and without the empty-paragraph filler.
void AppendParagraphText(const TSection& para, std::string& out) {
    if (para.IsEmptyFiller()) return;
    for (char c : para.Text)
        if (c != kImageChar) out.push_back(c);
}

void AppendCellText(const TCell& cell, std::string& out);

void AppendTableText(const TRtfTable& table, std::string& out) {
    for (const auto& row : table.Rows) {
        bool first = true;
        for (const auto& cell : row->Cells) {
            if (cell->IsPlaceholder()) continue;
            if (!first) out.push_back('\t');
            first = false;
            std::string text;
            AppendCellText(cell->Content, text);
            std::replace(text.begin(), text.end(), '\n', ' ');
            while (!text.empty() && text.back() == ' ')
                text.pop_back();
            out += text;
        }
        out.push_back('\n');
    }
}

void AppendCellText(const TCell& cell, std::string& out) {
    for (const auto& block : cell.Blocks) {
        if (block->IsParagraph()) {
            AppendParagraphText(static_cast<const TSection&>(*block), out);
            out.push_back('\n');
        } else if (block->Kind() == TBlockKind::Table) {
            AppendTableText(static_cast<const TRtfTable&>(*block), out);
        }
    }
}

template <class F> void ForEachSelectedPiece(const TSectionList& doc, F&& f) {
    if (!doc.HasSelection()) return;
    ForEachBlockDeep(doc, [&](const TSectionBase& block) {
        if (!block.IsParagraph()) return;
        const auto& para = static_cast<const TSection&>(block);
        const int32_t from = std::max(doc.SelFirst - para.FirstIndex, 0);
        const int32_t to = std::min(doc.SelLast - para.FirstIndex, para.Length());
        if (from >= to && !(para.Length() == 0 && doc.SelFirst <= para.FirstIndex &&
                            para.FirstIndex < doc.SelLast))
            return;
        f(para, from, std::max(from, to));
    });
}

} // namespace

std::string DocumentText(const TCell& document) {
    std::string out;
    AppendCellText(document, out);
    return out;
}

std::string DocumentTextUtf8(const TCell& document) {
    return cp1251::toUtf8(DocumentText(document));
}

std::string SelectedText(const TSectionList& document) {
    std::string out;
    ForEachSelectedPiece(document, [&](const TSection& para, int32_t from, int32_t to) {
        for (int32_t i = from; i < to; ++i)
            if (para.Text[static_cast<size_t>(i)] != kImageChar)
                out.push_back(para.Text[static_cast<size_t>(i)]);
        out += "\r\n";
    });
    return out;
}

int32_t SelectedLength(const TSectionList& document) {
    int32_t count = 0;
    ForEachSelectedPiece(document, [&](const TSection& para, int32_t from, int32_t to) {
        count +=
            static_cast<int32_t>(std::count_if(para.Text.begin() + from, para.Text.begin() + to,
                                               [](char c) { return c != kImageChar; }));
    });
    return count;
}

} // namespace kvelo
