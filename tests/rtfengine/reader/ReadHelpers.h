// Small helpers for reader tests: read RTF text into a document and look at it.
#pragma once

#include "rtfengine/model/Model.h"
#include "rtfengine/reader/RtfReader.h"

#include <memory>
#include <string>
#include <vector>

namespace kvelo::test {

inline std::unique_ptr<TSectionList> Read(const std::string& rtf) {
    auto doc = std::make_unique<TSectionList>();
    RtfParseBytes(*doc, rtf.data(), rtf.size());
    return doc;
}

inline std::string ReadError(const std::string& rtf) {
    TSectionList doc;
    try {
        RtfParseBytes(doc, rtf.data(), rtf.size());
    } catch (const ERtfError& e) {
        return e.what();
    }
    return "";
}

inline const TSection& Para(const TCell& cell, size_t i) {
    return static_cast<const TSection&>(cell[i]);
}

// Texts of the top-level paragraphs ("<table>", "<line>", "<page>" for the rest).
inline std::vector<std::string> Texts(const TCell& cell) {
    std::vector<std::string> texts;
    for (const auto& b : cell.Blocks) {
        switch (b->Kind()) {
        case TBlockKind::Table:
            texts.push_back("<table>");
            break;
        case TBlockKind::HorzLine:
            texts.push_back("<line>");
            break;
        case TBlockKind::Page:
            texts.push_back("<page>");
            break;
        default:
            texts.push_back(static_cast<const TSection&>(*b).Text);
        }
    }
    return texts;
}

inline const TRtfTable& TableAt(const TCell& cell, size_t i) {
    return static_cast<const TRtfTable&>(cell[i]);
}

using Strings = std::vector<std::string>;

} // namespace kvelo::test
