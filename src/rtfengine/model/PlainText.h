// Plain text of a document for indexing, tools and the clipboard: one line per
// paragraph, table rows as one line of tab-separated cells. Image placeholders
// and the filler of empty paragraphs are left out.
#pragma once

#include "rtfengine/model/Document.h"

#include <string>

namespace kvelo {

// Code page 1251 text; lines end with "\n".
std::string DocumentText(const TCell& document);
// The same as UTF-8.
std::string DocumentTextUtf8(const TCell& document);

// The selected text: every paragraph the selection [SelFirst, SelLast) touches
// gives its selected characters (no image placeholders) followed by CR LF.
std::string SelectedText(const TSectionList& document);
// Number of selected characters, image placeholders not counted.
int32_t SelectedLength(const TSectionList& document);

} // namespace kvelo
