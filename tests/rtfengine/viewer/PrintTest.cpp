// Printing into PDF files, read back with poppler's pdfinfo and pdftotext:
// page counts, forced page breaks, lines at page ends and tables that move
// to the next page.
#include "ViewerTestSupport.h"

#include "rtfengine/viewer/RtfPrint.h"

#include <QPageSize>
#include <QPrinter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <regex>

namespace kvelo {
namespace {

using namespace testing;

std::string run(const std::string& command) {
    std::string out;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe) return out;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe.get())) > 0)
        out.append(buffer, n);
    return out;
}

class PrintTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    TRtfViewer viewer;
    std::string pdf;

    void SetUp() override {
        if (std::system("command -v pdfinfo >/dev/null && command -v pdftotext >/dev/null") != 0)
            GTEST_SKIP() << "poppler-utils are not installed";
        pdf = dir.filePath(QStringLiteral("out.pdf")).toStdString();
        viewer.PrintMarginLeft = viewer.PrintMarginRight = 1;
        viewer.PrintMarginTop = viewer.PrintMarginBottom = 1;
    }
    // A6 pages: 14.8 cm high, 12.8 cm printable = 484 px of 18-px lines (26 lines).
    bool print(int from = 1, int to = 9999) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf));
        printer.setPageSize(QPageSize(QPageSize::A6));
        return viewer.Print(printer, from, to);
    }
    int pages() {
        std::smatch m;
        const std::string info = run("pdfinfo '" + pdf + "' 2>/dev/null");
        return std::regex_search(info, m, std::regex("Pages:\\s+(\\d+)")) ? std::stoi(m[1]) : 0;
    }
    std::string pageText(int page) {
        const std::string p = std::to_string(page);
        return run("pdftotext -f " + p + " -l " + p + " '" + pdf + "' - 2>/dev/null");
    }
    static std::string lines(int first, int last) {
        std::string body;
        for (int i = first; i <= last; ++i)
            body += "L" + std::to_string(i) + "x\\par ";
        return body;
    }
};

TEST_F(PrintTest, AForcedPageBreakEndsThePage) {
    loadRtf(viewer, monoRtf("First page\\par\\page Second page\\par"));
    ASSERT_TRUE(print());
    ASSERT_EQ(pages(), 2);
    EXPECT_NE(pageText(1).find("First page"), std::string::npos);
    EXPECT_EQ(pageText(1).find("Second page"), std::string::npos);
    EXPECT_NE(pageText(2).find("Second page"), std::string::npos);
}

TEST_F(PrintTest, EveryLineIsPrintedWholeOnExactlyOnePage) {
    loadRtf(viewer, monoRtf(lines(1, 60)));
    ASSERT_TRUE(print());
    const int count = pages();
    ASSERT_EQ(count, 3);
    std::vector<std::string> texts;
    for (int p = 1; p <= count; ++p)
        texts.push_back(pageText(p) + "\n");
    for (int i = 1; i <= 60; ++i) {
        const std::string label = "L" + std::to_string(i) + "x\n";
        int seen = 0;
        for (const std::string& text : texts)
            seen += text.find(label) != std::string::npos;
        EXPECT_EQ(seen, 1) << label;
    }
}

TEST_F(PrintTest, ATableThatStartsLowAndDoesNotFitMovesToTheNextPage) {
    std::string table;
    for (int r = 0; r < 8; ++r)
        table += "\\trowd\\cellx2000\\intbl Row" + std::to_string(r) + "\\cell\\row ";
    loadRtf(viewer, monoRtf(lines(1, 20) + table + "\\pard After\\par"));
    ASSERT_TRUE(print());
    ASSERT_EQ(pages(), 2);
    EXPECT_NE(pageText(1).find("L20x"), std::string::npos);
    EXPECT_EQ(pageText(1).find("Row0"), std::string::npos);
    EXPECT_NE(pageText(2).find("Row0"), std::string::npos);
    EXPECT_NE(pageText(2).find("Row7"), std::string::npos);
}

TEST_F(PrintTest, PageRangesPrintOnlyTheirPages) {
    loadRtf(viewer, monoRtf(lines(1, 60)));
    ASSERT_TRUE(print(2, 2));
    ASSERT_EQ(pages(), 1);
    EXPECT_EQ(pageText(1).find("L1x"), std::string::npos);
    EXPECT_NE(pageText(1).find("L30x"), std::string::npos);
}

TEST_F(PrintTest, APageRangeAfterTheLastPagePrintsNothing) {
    loadRtf(viewer, monoRtf("one page\\par"));
    EXPECT_FALSE(print(3, 3));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(pdf)));
    TRtfViewer empty;
    EXPECT_FALSE(empty.Print(1, 9999));
}

TEST_F(PrintTest, HeaderAndFooterGetEveryPrintedPage) {
    loadRtf(viewer, monoRtf(lines(1, 60)));
    std::vector<int> headers;
    viewer.OnPrintHeader = [&](QPainter&, int page, int w, int h, bool&) {
        headers.push_back(page);
        EXPECT_GT(w, 0);
        EXPECT_GT(h, 0);
    };
    viewer.OnPrintFooter = [&](QPainter&, int page, int, int, bool& stop) { stop = page == 2; };
    ASSERT_TRUE(print());
    EXPECT_EQ(headers, (std::vector<int>{1, 2}));
    EXPECT_EQ(pages(), 2);
}

} // namespace
} // namespace kvelo
