// The RTF writer: the document model (or its selection) as RTF in code page
// 1251, in the dialect the reader reads. Bytes above 127 are written as \'hh
// escapes so that other programs read the text with the right code page.
#pragma once

#include "rtfengine/model/Document.h"

#include <string>

namespace kvelo {

class TStream;

// `full` adds links, underlining, colours, the pre-formatted and table
// markers, bookmarks and rules. `selectionOnly` limits the output to the
// blocks and characters of [SelFirst, SelLast); with nothing selected the
// body is empty.
void WriteRtf(const TSectionList& document, TStream& stream, bool full, bool selectionOnly);
std::string WriteRtfString(const TSectionList& document, bool full, bool selectionOnly);

} // namespace kvelo
