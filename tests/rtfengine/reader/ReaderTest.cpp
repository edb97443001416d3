#include "ReadHelpers.h"

#include "platform/Streams.h"

#include <gtest/gtest.h>

namespace kvelo::test {
namespace {

struct TextCase {
    const char* name;
    std::string rtf;
    Strings paragraphs;
};
// Test listings name a case, not its bytes.
void PrintTo(const TextCase& c, std::ostream* os) { *os << c.name; }

class ReaderText : public testing::TestWithParam<TextCase> {};

TEST_P(ReaderText, GivesTheParagraphs) {
    EXPECT_EQ(Texts(*Read(GetParam().rtf)), GetParam().paragraphs) << GetParam().rtf;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReaderText,
    testing::Values(
        TextCase{"HexEscape",
                 "{\\rtf1 a\\'e0b}",
                 {"a\xE0"
                  "b"}},
        TextCase{
            "HexEscapeUpperAndStrayDigit", "{\\rtf1 \\'C1\\'zz.}", {std::string("\xC1\0.", 3)}},
        TextCase{"SpaceAfterControlWordIsConsumed", "{\\rtf1 a\\par\\par b}", {"a", "  ", "b"}},
        TextCase{"SpaceAfterControlWordIsConsumed2", "{\\rtf1 a\\par \\par b}", {"a", "  ", "b"}},
        TextCase{"SecondSpaceIsText", "{\\rtf1 \\b  x}", {" x"}},
        TextCase{"StarredUnknownGroupIsSkipped", "{\\rtf1 a{\\*\\unknownword hidden}b}", {"ab"}},
        TextCase{"StarInsideAGroupMarksNothing",
                 "{\\rtf1{\\b\\*\\cs7 shown}{\r\n\\*\\x hidden}}",
                 {"shown"}},
        TextCase{"UnknownGroupWithoutStarIsShown", "{\\rtf1 a{\\unknownword shown}b}", {"ashownb"}},
        TextCase{
            "SkippedDestinations", "{\\rtf1{\\info{\\title T}}{\\stylesheet{\\s1 N;}}x}", {"x"}},
        TextCase{"EscapedBracesAndTab", "{\\rtf1 \\{a\\}\\\\\\tab b}", {"{a}\\ b"}},
        TextCase{"ControlSymbolKeepsFollowingSpace", "{\\rtf1 a\\{ b}", {"a{ b"}},
        TextCase{"TypographicSymbols",
                 "{\\rtf1 \\ldblquote x\\rdblquote \\emdash\\~y}",
                 {"\"x\"\x97\xA0y"}},
        TextCase{"UnicodeMapsToCodePage", "{\\rtf1 \\u1055?\\u1088?\\u1080?}", {"\xCF\xF0\xE8"}},
        TextCase{"UnicodeNegativeValueOutsideCodePage", "{\\rtf1 \\u-4000?}", {"?"}},
        // Word's Symbol-font list bullet, U+F0B7 written as a negative value.
        TextCase{"SymbolFontBulletBecomesBullet", "{\\rtf1 \\u-3913?x}", {"\x95x"}},
        TextCase{"UnicodeSkipCountsHexAndGroups",
                 "{\\rtf1\\uc2 \\u1040\\'3f\\'3fz{\\uc1\\u1041?}}",
                 {"\xC0z\xC1"}},
        TextCase{"UnicodeUc0KeepsFollowingText", "{\\rtf1\\uc0\\u1040 ?}", {"\xC0?"}},
        TextCase{"UnicodeMissingInCodePageKeepsFallback", "{\\rtf1 \\u20013?\\u8364?}", {"?\x88"}},
        TextCase{"LastParagraphWithoutParIsKept", "{\\rtf1 one\\par two}", {"one", "two"}},
        TextCase{"LeadingWhitespaceAndTrailingGarbage", " \r\n{\\rtf1 x}tail{", {"x"}},
        TextCase{"PlainTextInputIsKept", "just text", {"just text"}},
        TextCase{
            "LineAndPageBreaks", "{\\rtf1 a\\line b\\page c}", {"a", "<line>", "b", "<page>", "c"}},
        TextCase{"CrLfInsideTextIsIgnored", "{\\rtf1 ab\r\ncd}", {"abcd"}}),
    [](const auto& info) { return info.param.name; });

TEST(Reader, LongParagraphKeepsAllText) {
    const std::string text(60000, 'x');
    auto doc = Read("{\\rtf1 " + text + "\\par}");
    EXPECT_EQ(Para(*doc, 0).Text, text);
}

TEST(Reader, FontSizesStylesAndColours) {
    auto doc = Read("{\\rtf1{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
                    "{\\fs-5 a}{\\fs99999 b}{\\b c\\b0 d}{\\cf1 e}{\\cf2 f}{\\cf0 g}{\\cf300 h}"
                    "{\\i\\ul i}{\\b\\plain j}}");
    const TSection& p = Para(*doc, 0);
    auto fontAt = [&](char c) { return p.Fonts[p.RunIndexAt(int32_t(p.Text.find(c)))].Font; };
    EXPECT_EQ(fontAt('a').SizeHalfPoints, -5);
    EXPECT_EQ(fontAt('b').SizeHalfPoints, 32767);
    EXPECT_TRUE(fontAt('c').Bold());
    EXPECT_FALSE(fontAt('d').Bold());
    EXPECT_EQ(fontAt('e').Color, RgbColor(255, 0, 0));
    EXPECT_EQ(fontAt('f').Color, RgbColor(0, 0, 255));
    EXPECT_EQ(fontAt('g').Color, RgbColor(255, 0, 0)); // index 0 -> entry 1
    EXPECT_EQ(fontAt('h').Color, RgbColor(255, 0, 0));
    EXPECT_TRUE(fontAt('i').Italic() && fontAt('i').Underline());
    EXPECT_EQ(fontAt('j').Style, 0);
    EXPECT_EQ(fontAt('j').SizeHalfPoints, 24);
}

TEST(Reader, FontTableEntriesAndSelection) {
    auto doc =
        Read("{\\rtf1{\\fonttbl{\\f0\\fcharset204 Arial;}{\\f7\\fcharset0{\\*\\panose 0}Times "
             "New Roman;}}\\f7 x\\f0 y\\f3 z}");
    ASSERT_EQ(doc->FontTable.Count(), 2u);
    EXPECT_EQ(doc->FontTable[1].Key, "7");
    EXPECT_EQ(doc->FontTable[1].Font.Name, "Times New Roman");
    EXPECT_EQ(doc->FontTable[0].Font.Charset, 204);
    const TSection& p = Para(*doc, 0);
    EXPECT_EQ(p.Fonts[p.RunIndexAt(0)].Font.Name, "Times New Roman");
    EXPECT_EQ(p.Fonts[p.RunIndexAt(0)].Font.FontTableIndex, 1);
    EXPECT_EQ(p.Fonts[p.RunIndexAt(1)].Font.Name, "Arial");
    EXPECT_EQ(p.Fonts[p.RunIndexAt(2)].Font.Name, "Arial"); // unknown \f3 changes nothing
}

TEST(Reader, ParagraphPropertiesNeverNegative) {
    auto doc = Read("{\\rtf1\\li1440\\fi-720\\ri-5\\qj a\\par\\pard b}");
    EXPECT_EQ(Para(*doc, 0).LeftIndentTwips, 1440);
    EXPECT_EQ(Para(*doc, 0).FirstLineIndentTwips, 0);
    EXPECT_EQ(Para(*doc, 0).RightIndentTwips, 0);
    EXPECT_EQ(Para(*doc, 0).Alignment, TAlignment::Justify);
    EXPECT_EQ(Para(*doc, 1).LeftIndentTwips, 0);
    EXPECT_EQ(Para(*doc, 1).Alignment, TAlignment::Left);
}

struct LinkCase {
    std::string instruction;
    std::string target;
};
void PrintTo(const LinkCase& c, std::ostream* os) { *os << c.instruction; }

class ReaderLinks : public testing::TestWithParam<LinkCase> {};

TEST_P(ReaderLinks, HyperlinkFieldGivesTheTarget) {
    auto doc =
        Read("{\\rtf1 a{\\field{\\*\\fldinst " + GetParam().instruction + "}{\\fldrslt link}} b}");
    const TSection& p = Para(*doc, 0);
    ASSERT_EQ(p.Text, "alink b");
    EXPECT_EQ(p.Fonts[p.RunIndexAt(1)].LinkTarget, GetParam().target);
    EXPECT_EQ(p.Fonts[p.RunIndexAt(0)].LinkTarget, "");
    EXPECT_EQ(p.Fonts[p.RunIndexAt(6)].LinkTarget, "");
}

INSTANTIATE_TEST_SUITE_P(Cases, ReaderLinks,
                         testing::Values(LinkCase{"HYPERLINK \"doc.rtf\" \\\\l \"bm_Part_2\"",
                                                  "doc.rtf#Part 2"},
                                         LinkCase{"HYPERLINK \\\\l \"bm_A_b\"", "#A b"},
                                         LinkCase{"HYPERLINK \"d\" \\l \"bm_A_b\"", "d#A b"},
                                         LinkCase{"  HYPERLINK \"http://x.org/\"", "http://x.org/"},
                                         LinkCase{"{HYPERLINK \"a.rtf\" \\\\o \"tip\"}", "a.rtf"},
                                         LinkCase{"PAGE", ""}));

TEST(Reader, LinkEndsWithItsFieldAlsoAroundNestedFields) {
    auto doc =
        Read("{\\rtf1{\\field{\\*\\fldinst HYPERLINK \"t\"}{\\fldrslt x{\\field{\\*\\fldinst "
             "PAGE}{\\fldrslt 1}}y}}z{\\field{\\*\\fldinst HYPERLINK \"u\"}}w}");
    const TSection& p = Para(*doc, 0);
    ASSERT_EQ(p.Text, "x1yzw");
    for (int i : {0, 1, 2})
        EXPECT_EQ(p.Fonts[p.RunIndexAt(i)].LinkTarget, "t") << i;
    EXPECT_EQ(p.Fonts[p.RunIndexAt(3)].LinkTarget, "");
    EXPECT_EQ(p.Fonts[p.RunIndexAt(4)].LinkTarget, ""); // a field without result ends its link
}

TEST(Reader, BookmarksLoseThePrefixAndPointAtTheirParagraph) {
    auto doc = Read("{\\rtf1 a\\par{\\*\\bkmkstart bm_Part_2}{\\*\\bkmkend bm_Part_2}b\\par"
                    "{\\*\\bkmkstart plain}c}");
    EXPECT_EQ(doc->Bookmarks.Find("Part 2"), &(*doc)[1]);
    EXPECT_EQ(doc->Bookmarks.Find("PLAIN"), &(*doc)[2]);
    EXPECT_EQ(doc->Bookmarks.Count(), 2u);
}

TEST(Reader, PreFormattedSwitch) {
    auto doc = Read("{\\rtf1 a~b\\par c\\par d~e\\par f}");
    ASSERT_EQ(Texts(*doc), (Strings{"ab", "c", "de", "f"}));
    EXPECT_EQ((*doc)[0].Kind(), TBlockKind::Section);
    EXPECT_TRUE((*doc)[0].HasPreFormattedSwitch);
    EXPECT_EQ((*doc)[1].Kind(), TBlockKind::PreFormated);
    EXPECT_EQ((*doc)[2].Kind(), TBlockKind::PreFormated);
    EXPECT_TRUE((*doc)[2].HasPreFormattedSwitch);
    EXPECT_EQ((*doc)[3].Kind(), TBlockKind::Section);
    EXPECT_FALSE((*doc)[1].HasPreFormattedSwitch);
}

struct ErrorCase {
    const char* name;
    std::string rtf;
    std::string message;
};
void PrintTo(const ErrorCase& c, std::ostream* os) { *os << c.name; }

class ReaderErrors : public testing::TestWithParam<ErrorCase> {};

TEST_P(ReaderErrors, FailWithTheirMessage) {
    EXPECT_EQ(ReadError(GetParam().rtf), GetParam().message);
}

std::string Nested(int depth) {
    return "{\\rtf1 " + std::string(static_cast<size_t>(depth), '{') + "deep" +
           std::string(static_cast<size_t>(depth), '}') + "}";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReaderErrors,
    testing::Values(
        ErrorCase{"Truncated", "{\\rtf1 abc", "Неправильный конец файла"},
        ErrorCase{"TruncatedInControlWord", "{\\rtf1 \\pa", "Неправильный конец файла"},
        ErrorCase{"Empty", "", "Неправильный конец файла"},
        ErrorCase{"BinPastTheEnd", "{\\rtf1{\\pict\\bin99 ab}}", "Неправильный конец файла"},
        ErrorCase{"NestedPicture", "{\\rtf1{\\pict 00{\\pict 11}}}", "Invalid Picture"},
        ErrorCase{"TooDeep", Nested(9000), "Stack Overflow"},
        ErrorCase{"DeepButAllowed", Nested(3000), ""},
        ErrorCase{"TwoPicturesInARow", "{\\rtf1{\\pict\\pngblip 00}{\\pict\\pngblip 11}}", ""}),
    [](const auto& info) { return info.param.name; });

TEST(Reader, WhatWasReadBeforeAnErrorStays) {
    TSectionList doc;
    const std::string rtf = "{\\rtf1 one\\par two{\\*\\bkmkstart m}";
    EXPECT_THROW(RtfParseBytes(doc, rtf.data(), rtf.size()), ERtfError);
    EXPECT_EQ(Texts(doc), (Strings{"one", "two"}));
    EXPECT_EQ(doc.Bookmarks.Find("m"), &doc[1]);
}

TEST(Reader, ReadsFromStreamsInBlocksLikeFromMemory) {
    std::string rtf = "{\\rtf1 ";
    for (int i = 0; i < 20000; ++i)
        rtf += "word{\\b bold}\\'e0\\par ";
    rtf += "}";
    TMemoryStream stream(std::vector<uint8_t>(rtf.begin(), rtf.end()));
    TSectionList fromStream;
    RtfParseStream(fromStream, stream);
    EXPECT_EQ(Texts(fromStream), Texts(*Read(rtf)));
    EXPECT_EQ(fromStream.Count(), 20000u);
}

TEST(Reader, AnnouncesEveryTopLevelBlockInOrder) {
    TSectionList doc;
    std::vector<std::string> seen;
    doc.OnBlockAdded = [&](TSectionBase& b) {
        seen.push_back(b.IsParagraph() ? static_cast<TSection&>(b).Text : "<block>");
    };
    const std::string rtf = "{\\rtf1 a\\par\\trowd\\cellx100\\intbl c\\cell\\row\\pard b\\line}";
    RtfParseBytes(doc, rtf.data(), rtf.size());
    EXPECT_EQ(seen, (Strings{"a", "<block>", "b", "<block>"}));
}

} // namespace
} // namespace kvelo::test
