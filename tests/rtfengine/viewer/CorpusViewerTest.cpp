// Every real-world RTF file of the corpus loads into the viewer (block by
// block), scrolls, selects, finds and prints its first pages into a PDF
// without a crash or a hang. Skips when the corpus is absent.
#include "ViewerTestSupport.h"

#include <QPageSize>
#include <QPrinter>
#include <QScrollBar>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace kvelo {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> corpusFiles() {
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry :
         fs::directory_iterator(fs::path(KVELO_CORPUS_DIR) / "rtf" / "files", error))
        if (entry.path().extension() == ".rtf") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

void exercise(TRtfViewer& viewer, const fs::path& file, const QString& pdf) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    try {
        testing::loadRtf(viewer, bytes);
    } catch (const std::exception&) {
        // what was read up to the error stays shown
    }
    ASSERT_FALSE(viewer.Processing());
    viewer.verticalScrollBar()->setValue(viewer.verticalScrollBar()->maximum() / 2);
    viewer.grab();
    viewer.SelectAll();
    viewer.SetSelLength(0);
    viewer.FindText("the", false);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageSize(QPageSize(QPageSize::A4));
    viewer.Print(printer, 1, 3);
}

TEST(Corpus, EveryFileLoadsScrollsAndPrints) {
    const std::vector<fs::path> files = corpusFiles();
    if (files.empty()) GTEST_SKIP() << "no corpus at " << KVELO_CORPUS_DIR;
    QTemporaryDir dir;
    TRtfViewer viewer;
    viewer.resize(700, 500);
    viewer.show();
    viewer.PrintMarginLeft = viewer.PrintMarginTop = viewer.PrintMarginBottom = 2;
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.filename().string());
        exercise(viewer, file, dir.filePath(QStringLiteral("out.pdf")));
    }
}

} // namespace
} // namespace kvelo
