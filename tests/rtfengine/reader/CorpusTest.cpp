// Real-world RTF files written by other programs: each must end with text or
// a clean reader error.
#include "ReadHelpers.h"

#include "platform/Streams.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kvelo::test {
namespace {

namespace fs = std::filesystem;

TEST(Corpus, EveryFileGivesTextOrACleanError) {
    const fs::path dir = fs::path(KVELO_CORPUS_DIR) / "rtf" / "files";
    if (!fs::is_directory(dir)) GTEST_SKIP() << "no corpus at " << dir;
    int files = 0, errors = 0;
    for (const auto& entry : fs::directory_iterator(dir)) {
        if (entry.path().extension() != ".rtf") continue;
        ++files;
        TSectionList doc;
        try {
            TFileStream stream(entry.path().string());
            RtfParseStream(doc, stream);
        } catch (const ERtfError&) {
            ++errors;
        }
        (void)DocumentText(doc);
    }
    EXPECT_GT(files, 0);
    RecordProperty("files", files);
    RecordProperty("reader_errors", errors);
}

} // namespace
} // namespace kvelo::test
