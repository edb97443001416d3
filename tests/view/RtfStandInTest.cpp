#include "view/RtfStandIn.h"

#include <gtest/gtest.h>

using namespace kvelo;

TEST(RtfStandIn, ShowsTextLinksAndBookmarks) {
    const QString html =
        StandInHtml("{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\*\\bkmkstart bm_x}Hello \\'c0\\par "
                    "{\\field{\\*\\fldinst HYPERLINK \"P5\" \\\\l }{\\fldrslt Link}} after}");
    EXPECT_TRUE(html.contains(QStringLiteral("Hello А<br>")));
    EXPECT_TRUE(html.contains(QStringLiteral("<a href=\"P5\">Link</a>")));
    EXPECT_TRUE(html.contains(QStringLiteral("<a name=\"bm_x\">")));
    EXPECT_FALSE(html.contains(QStringLiteral("Arial")));
}

TEST(RtfStandIn, PlainTextIsEscaped) {
    EXPECT_EQ(StandInHtml("a<b>\nc"), QStringLiteral("a&lt;b&gt;<br>c"));
}

TEST(RtfStandIn, HostileInputEndsCleanly) {
    for (const std::string& body :
         {std::string("{\\rtf1") + std::string(100000, '{'), std::string("{\\rtf1\\'"),
          std::string("{\\rtf1\\u"), std::string("{\\rtf1}}}}}\\b0\\u-5 x"),
          std::string("{\\rtf1{\\field{\\*\\fldinst HYPERLINK \"")})
        EXPECT_NO_THROW(StandInHtml(body));
}
