#include "view/FolderListing.h"
#include "view/Address.h"

#include <gtest/gtest.h>

using namespace kvelo;

TEST(FolderListing, WritesOneLinkPerEntryWithTheExactPieces) {
    const std::string rtf = FolderListingRtf({{7, "One"}, {12, "Two"}});
    EXPECT_EQ(
        rtf, "{\\rtf\\ansi\\ansicpg1251 {\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;}"
             "\\fs24\\cf2"
             "{\\field{\\*\\fldinst HYPERLINK \"P7\" \\\\l }{\\fldrslt One}}\\line "
             "{\\field{\\*\\fldinst HYPERLINK \"P12\" \\\\l }{\\fldrslt Two}}\\line "
             "} ");
}

TEST(FolderListing, EscapesRtfControlCharactersInTitles) {
    const std::string rtf = FolderListingRtf({{1, "a{b}\\c"}});
    EXPECT_NE(rtf.find("{\\fldrslt a\\{b\\}\\\\c}}"), std::string::npos);
    EXPECT_EQ(EscapeRtfText("\xC0\xE1"), "\xC0\xE1"); // code page 1251 letters stay as they are
}

TEST(FolderListing, AnEmptyFolderIsAnEmptyListing) {
    const std::string rtf = FolderListingRtf({});
    EXPECT_EQ(rtf.substr(rtf.size() - 2), "} ");
    EXPECT_EQ(rtf.find("field"), std::string::npos);
}

TEST(Address, SplitsAtTheFirstHashAndCutsLongBookmarks) {
    struct Case {
        std::string address, document, bookmark;
    } cases[] = {
        {"12345#Art_5", "12345", "Art_5"},
        {"12345", "12345", ""},
        {"#local", "", "local"},
        {"1#a#b", "1", "a#b"},
        {"P17#", "P17", ""},
        {"9#" + std::string(300, 'x'), "9", std::string(255, 'x')},
    };
    for (const Case& c : cases) {
        const DocumentAddress a = SplitAddress(c.address);
        EXPECT_EQ(a.document, c.document) << c.address;
        EXPECT_EQ(a.bookmark, c.bookmark) << c.address;
    }
}

TEST(Address, FileNamePartAndDecimals) {
    EXPECT_EQ(FileNamePart("C:\\docs\\123"), "123");
    EXPECT_EQ(FileNamePart("dir/P5"), "P5");
    EXPECT_EQ(FileNamePart("x:77"), "77");
    EXPECT_EQ(ParseDecimal("-12"), -12);
    EXPECT_FALSE(ParseDecimal("12a"));
    EXPECT_FALSE(ParseDecimal(""));
    EXPECT_FALSE(ParseDecimal("-"));
    EXPECT_FALSE(ParseDecimal("99999999999"));
}
