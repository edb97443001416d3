#include "ReadHelpers.h"

#include "rtfengine/writer/RtfWriter.h"

#include <gtest/gtest.h>

namespace kvelo::test {
namespace {

const std::string kHeaderStart = "{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1033{\\fonttbl";

// The body: what follows "\f0\fs24 " up to the final brace.
std::string Body(const std::string& rtf) {
    const std::string marker = "}\\f0\\fs24 ";
    const size_t at = rtf.find(marker);
    EXPECT_NE(at, std::string::npos);
    return rtf.substr(at + marker.size(), rtf.size() - at - marker.size() - 1);
}

std::string WriteOf(const std::string& rtf, bool full = true) {
    return WriteRtfString(*Read(rtf), full, false);
}

TEST(Writer, EmptyDocumentWritesTheFrame) {
    TSectionList doc;
    const std::string rtf = WriteRtfString(doc, true, false);
    EXPECT_EQ(rtf.rfind(kHeaderStart, 0), 0u);
    EXPECT_NE(rtf.find("}{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;"),
              std::string::npos);
    EXPECT_NE(rtf.find("\\red192\\green192\\blue192;}\\f0\\fs24 }"), std::string::npos);
    EXPECT_EQ(Body(rtf), "");
}

TEST(Writer, FontTableEntriesAreNumberedByPosition) {
    const std::string rtf =
        WriteOf("{\\rtf1{\\fonttbl{\\f5\\fcharset204 Arial;}{\\f9\\fcharset0 \\'c0b;}}\\f9 x}");
    EXPECT_NE(rtf.find("{\\fonttbl{\\f0\\fcharset204 Arial;}{\\f1\\fcharset0 \\'c0b;}}"),
              std::string::npos);
    EXPECT_EQ(Body(rtf), "\\fi \\li \\ri \\ql\\f1 x");
}

struct BodyCase {
    const char* name;
    std::string rtf;
    std::string body;
    bool full = true;
};
// Test listings name a case, not its bytes.
void PrintTo(const BodyCase& c, std::ostream* os) { *os << c.name; }

class WriterBody : public testing::TestWithParam<BodyCase> {};

TEST_P(WriterBody, WritesTheExpectedRtf) {
    EXPECT_EQ(Body(WriteOf(GetParam().rtf, GetParam().full)), GetParam().body);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WriterBody,
    testing::Values(
        BodyCase{"EscapedBrace", "{\\rtf1{\\fonttbl{\\f0 A;}}\\f0 a\\{b}",
                 "\\fi \\li \\ri \\ql\\f0 a\\{b"},
        BodyCase{"DigitAfterFontNumber", "{\\rtf1{\\fonttbl{\\f0 A;}}\\f0 1}",
                 "\\fi \\li \\ri \\ql\\f0 1"},
        BodyCase{"Indents", "{\\rtf1\\li1440\\fi720\\qr x}", "\\fi720 \\li1440 \\ri \\qr x"},
        BodyCase{"BoldGroup", "{\\rtf1 a{\\b b}}", "\\fi \\li \\ri \\ql a{\\b b}"},
        BodyCase{"SizeAndItalic", "{\\rtf1{\\i\\fs20 a}}", "\\fi \\li \\ri \\ql {\\i \\fs20 a}"},
        BodyCase{"UnderlineAndColourOnlyWhenFull",
                 "{\\rtf1{\\colortbl;\\red0\\green0\\blue0;\\red255\\green0\\blue0;}{\\ul\\cf2 a}}",
                 "\\fi \\li \\ri \\ql {a}", false},
        BodyCase{
            "ColourNumbers",
            "{\\rtf1{\\colortbl;\\red255\\green0\\blue0;\\red1\\green2\\blue3;}{\\cf1 a}{\\cf2 b}}",
            "\\fi \\li \\ri \\ql {\\cf6 a}{\\cf17 b}"},
        BodyCase{"BytesAbove127AndMarkersEscaped", "{\\rtf1 \\'cf\\'f0~~\\'7e*}",
                 "~\\fi \\li \\ri \\ql \\'cf\\'f0\\'7e\\'2a"},
        BodyCase{
            "Link",
            "{\\rtf1{\\field{\\*\\fldinst HYPERLINK \"doc.rtf\" \\\\l \"bm_A_b\"}{\\fldrslt x}}y}",
            "\\fi \\li \\ri \\ql {\\field{\\*\\fldinst HYPERLINK \"doc.rtf\" \\\\l \"bm_A_b\"}"
            "{\\fldrslt x}}y"},
        BodyCase{"LinkLeftOutWithoutFull",
                 "{\\rtf1{\\field{\\*\\fldinst HYPERLINK \"d\"}{\\fldrslt x}}}",
                 "\\fi \\li \\ri \\ql x", false},
        BodyCase{"Bookmark", "{\\rtf1{\\*\\bkmkstart bm_Part_2}x}",
                 "{\\*\\bkmkstart bm_Part_2}{\\*\\bkmkend bm_Part_2}\\fi \\li \\ri \\ql x"},
        BodyCase{"HighlightBookmarkSkipped", "{\\rtf1{\\*\\bkmkstart _Hlt1}x}",
                 "\\fi \\li \\ri \\ql x"},
        BodyCase{"ParagraphsRulesAndPages", "{\\rtf1 a\\par\\par b\\line c\\page d}",
                 "\\fi \\li \\ri \\ql a\\par \\par \\fi \\li \\ri \\ql b\\line \\fi \\li \\ri \\ql "
                 "c\\page "
                 "\\fi \\li \\ri \\ql d"},
        BodyCase{"RulesOnlyWhenFull", "{\\rtf1 a\\line b}",
                 "\\fi \\li \\ri \\ql a\\par \\fi \\li \\ri \\ql b", false},
        BodyCase{
            "Picture", "{\\rtf1{\\pict\\pngblip\\picw2\\pich3 0aff}}",
            "\\fi \\li \\ri \\ql {\\pict\\pngblip\\picw2\\pich3\\picwgoal0\\pichgoal0\\picscalex100"
            "\\picscaley100 0AFF}"}),
    [](const auto& info) { return info.param.name; });

TEST(Writer, TableWithColumnSpanAndMarker) {
    const std::string body =
        Body(WriteOf("{\\rtf1\\trowd\\trgaph108\\cellx2000*\\pard\\intbl wide\\cell\\row"
                     "\\trowd\\trgaph108\\clbrdrt\\cellx1000\\clvertalb\\cellx2000\\pard\\intbl "
                     "a\\cell b\\cell\\row}"));
    const std::string row1 = "\\trowd\\trgaph108\\trrh0\\trleft0\\trbrdrt\\brdrs \\trbrdrl\\brdrs "
                             "\\trbrdrb\\brdrs \\trbrdrr\\brdrs \\trbrdrh\\brdrs \\trbrdrv\\brdrs";
    EXPECT_EQ(
        body,
        "{\\ql" + row1 +
            "\\clvertalt\\cellx2000 \r\n\\pard \\intbl *\\fi \\li \\ri \\ql wide"
            "\\cell \\intbl \\ql\\row \\pard " +
            row1 +
            "\\clvertalt\\clbrdrt\\brdrs\\cellx1000 \r\n\\clvertalb\\cellx2000 \r\n\\pard \\intbl "
            "\\fi \\li \\ri \\ql a\\cell \\intbl \\fi \\li \\ri \\ql b\\cell \\intbl \\ql\\row "
            "\\pard }");
}

TEST(Writer, VerticalMergeWritesFirstAndContinuationCells) {
    const std::string def = "\\trowd\\cellx1000\\cellx2000\\pard\\intbl ";
    const std::string merged = "\\trowd\\clvmrg\\cellx1000\\cellx2000\\pard\\intbl ";
    const std::string body = Body(WriteOf("{\\rtf1" + def + "m\\cell a\\cell\\row" + merged +
                                          "\\cell b\\cell\\row" + merged + "\\cell c\\cell\\row}"));
    size_t first = body.find("\\clvmgf \\clvertalt\\cellx1000");
    ASSERT_NE(first, std::string::npos);
    size_t second = body.find("\\clvmrg \\clvertalt\\cellx1000", first);
    ASSERT_NE(second, std::string::npos);
    EXPECT_NE(body.find("\\clvmrg \\clvertalt\\cellx1000", second + 1), std::string::npos);
}

TEST(Writer, SelectionOnlyWritesTheSelectedPart) {
    auto doc = Read("{\\rtf1 hello\\par {\\b world}\\par tail}");
    doc->SelFirst = 3;
    doc->SelLast = 8;
    EXPECT_EQ(Body(WriteRtfString(*doc, true, true)),
              "\\fi \\li \\ri \\ql lo\\par \\fi \\li \\ri \\ql {\\b wor}");
    doc->SelFirst = doc->SelLast = 0;
    EXPECT_EQ(Body(WriteRtfString(*doc, true, true)), "");
}

} // namespace
} // namespace kvelo::test
