// The RTF reader: turns an RTF byte stream (code page 1251) into a document
// model. Every finished top-level block is added to the document at once, so
// TSectionList::OnBlockAdded sees the document grow while it is read.
#pragma once

#include "rtfengine/model/Document.h"

#include <cstddef>
#include <cstdint>
#include <stdexcept>

namespace kvelo {

class TStream;

// A reader failure. what() is one of the reader's messages (UTF-8):
// "Неправильный конец файла", "Stack Overflow", "Invalid Picture", "Bad table".
class ERtfError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct TRtfReadOptions {
    int32_t PixelsPerInch = 96;   // screen resolution for picture display sizes
    int32_t MaxGroupDepth = 8192; // more open groups fail with "Stack Overflow"
};

// Reads `stream` from its current position into `document`, which the caller
// has cleared. Fills the document's font table and bookmark list. Throws
// ERtfError; what was read up to the error stays in the document. Exceptions
// from document.OnBlockAdded propagate unchanged.
void RtfParseStream(TSectionList& document, TStream& stream, const TRtfReadOptions& options = {});

// The same over bytes in memory.
void RtfParseBytes(TSectionList& document, const void* data, size_t size,
                   const TRtfReadOptions& options = {});

} // namespace kvelo
