// libFuzzer target: arbitrary bytes -> reader -> model -> writer -> reader.
// The second read must succeed and give the same plain text.
#include "rtfengine/model/PlainText.h"
#include "rtfengine/reader/RtfReader.h"
#include "rtfengine/writer/RtfWriter.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kvelo::TSectionList doc;
    try {
        kvelo::RtfParseBytes(doc, data, size);
    } catch (const kvelo::ERtfError&) {
    }
    (void)kvelo::SelectedText(doc);
    const std::string rtf = kvelo::WriteRtfString(doc, true, false);
    kvelo::TSectionList again;
    kvelo::RtfParseBytes(again, rtf.data(), rtf.size()); // our own output never fails
    (void)kvelo::DocumentText(again);
    return 0;
}
