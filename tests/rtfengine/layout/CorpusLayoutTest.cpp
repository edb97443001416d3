// Real-world RTF files: every file read so far lays out, paints its first
// screen and answers hit tests without failing. Skips without the corpus.
#include "rtfengine/layout/DocumentLayout.h"
#include "rtfengine/layout/FontCache.h"
#include "rtfengine/reader/RtfReader.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace kvelo::layout {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> corpusFiles() {
    const fs::path folder = fs::path(KVELO_CORPUS_DIR) / "rtf" / "files";
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error))
        if (entry.path().extension() == ".rtf") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

void layOutAndPaint(const fs::path& file, FontCache& fonts) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
    TSectionList doc;
    try {
        RtfParseBytes(doc, bytes.data(), bytes.size());
    } catch (const std::exception&) {
        // what was read up to the error stays and is shown
    }
    DocumentLayout layout(doc, fonts);
    layout.setBlockErrorHandler([](const std::string&) {});
    const int height = layout.relayout(600);
    ASSERT_GE(height, 0);
    QImage screen(620, 400, QImage::Format_RGB32);
    QPainter painter(&screen);
    for (int top : {0, height / 2})
        layout.paint(painter, screen.rect(), {10, 5 - top});
    for (int y = 0; y < height; y += std::max(1, height / 20)) {
        const int index = layout.indexAt({300, y});
        QPoint point;
        if (index >= 0) {
            EXPECT_TRUE(layout.pointOf(index, point) || index == doc.NextIndex());
        }
        layout.linkAt({300, y});
    }
    layout.findText(0, "the", false);
}

TEST(Corpus, EveryFileLaysOutAndPaints) {
    const std::vector<fs::path> files = corpusFiles();
    if (files.empty()) GTEST_SKIP() << "no corpus at " << KVELO_CORPUS_DIR;
    FontCache fonts;
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.filename().string());
        layOutAndPaint(file, fonts);
    }
}

} // namespace
} // namespace kvelo::layout
