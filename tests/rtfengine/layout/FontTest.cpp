// Windows font names, the Uzbek title fonts and measured fonts.
#include "rtfengine/layout/FontCache.h"
#include "rtfengine/layout/FontMapping.h"

#include <QRawFont>

#include <gtest/gtest.h>

namespace kvelo::layout {
namespace {

bool nothingInstalled(const QString&) {
    return false;
}
bool everythingInstalled(const QString&) {
    return true;
}

struct NameCase {
    const char* windowsName;
    const char* family;
    FontEncoding encoding;
};

class WindowsFonts : public ::testing::TestWithParam<NameCase> {};

TEST_P(WindowsFonts, MapToLiberation) {
    const FontFace face = mapWindowsFont(GetParam().windowsName, &everythingInstalled);
    EXPECT_EQ(face.family, QString::fromLatin1(GetParam().family));
    EXPECT_EQ(face.encoding, GetParam().encoding);
}

INSTANTIATE_TEST_SUITE_P(
    Fonts, WindowsFonts,
    ::testing::Values(NameCase{"Arial", "Liberation Sans", FontEncoding::Cp1251},
                      NameCase{"arial cyr", "Liberation Sans", FontEncoding::Cp1251},
                      NameCase{"Helvetica", "Liberation Sans", FontEncoding::Cp1251},
                      NameCase{"Tahoma", "Liberation Sans", FontEncoding::Cp1251},
                      NameCase{"Verdana", "Liberation Sans", FontEncoding::Cp1251},
                      NameCase{"Times New Roman", "Liberation Serif", FontEncoding::Cp1251},
                      NameCase{" Times New Roman Cyr ", "Liberation Serif", FontEncoding::Cp1251},
                      NameCase{"Times", "Liberation Serif", FontEncoding::Cp1251},
                      NameCase{"Courier New", "Liberation Mono", FontEncoding::Cp1251},
                      NameCase{"Courier New Cyr", "Liberation Mono", FontEncoding::Cp1251},
                      NameCase{"Courier", "Liberation Mono", FontEncoding::Cp1251},
                      NameCase{"Vazuri Times New Roman Uz", "Liberation Serif",
                               FontEncoding::Uzbek},
                      NameCase{"Vazuri Courier New Uz", "Liberation Mono", FontEncoding::Uzbek},
                      NameCase{"", "Liberation Serif", FontEncoding::Cp1251}));

TEST(Fonts, UnknownNamesKeepAnInstalledFamilyOrFallBackByKind) {
    EXPECT_EQ(mapWindowsFont("Some Face", &everythingInstalled).family,
              QStringLiteral("Some Face"));
    EXPECT_EQ(mapWindowsFont("Some Face", &nothingInstalled).family,
              QStringLiteral("Liberation Serif"));
    EXPECT_EQ(mapWindowsFont("Courier 10 Pitch", &nothingInstalled).family,
              QStringLiteral("Liberation Mono"));
    EXPECT_EQ(mapWindowsFont("Arial Black", &nothingInstalled).family,
              QStringLiteral("Liberation Sans"));
}

TEST(Fonts, UzbekFontsShowUzbekLettersOnTheirCodePoints) {
    const std::vector<std::pair<unsigned char, char32_t>> letters{
        {0xA2, U'\u045E'}, {0xA1, U'\u040E'}, {0xBA, U'\u049B'}, {0xAA, U'\u049A'},
        {0xB3, U'\u0493'}, {0xB2, U'\u0492'}, {0xBC, U'\u04B3'}, {0xA3, U'\u04B2'}};
    for (const auto& [byte, letter] : letters)
        EXPECT_EQ(displayedCharacter(byte, FontEncoding::Uzbek), letter) << int(byte);
    EXPECT_EQ(displayedCharacter(0xBA, FontEncoding::Cp1251), U'\u0454'); // є elsewhere
    EXPECT_EQ(displayedCharacter(0xE0, FontEncoding::Uzbek), U'\u0430');  // а stays а
}

TEST(Fonts, UzbekFontDrawsTheUzbekGlyph) {
    FontCache cache;
    const MeasuredFont& uz = cache.get({"Vazuri Times New Roman Uz", 16});
    const MeasuredFont& plain = cache.get({"Times New Roman", 16});
    const char32_t qa = U'\u049B';
    const quint32 expected =
        plain.rawFont().glyphIndexesForString(QString::fromUcs4(&qa, 1)).value(0);
    EXPECT_NE(expected, 0u);
    EXPECT_EQ(uz.glyph(0xBA), expected);
    EXPECT_NE(plain.glyph(0xBA), expected);
}

TEST(Fonts, CacheMeasuresEachDistinctFontOnce) {
    FontCache cache;
    const MeasuredFont& a = cache.get({"Courier New", 16});
    const MeasuredFont& b = cache.get({"Courier New", 16});
    EXPECT_EQ(&a, &b);
    FontRequest bold{"Courier New", 16};
    bold.bold = true;
    EXPECT_NE(&cache.get(bold), &a);
    EXPECT_EQ(cache.size(), 2u);
}

TEST(Fonts, MonoMetricsAreThoseTheOtherTestsAssume) {
    FontCache cache;
    const MeasuredFont& mono = cache.get({"Courier New", 16});
    EXPECT_EQ(mono.advancePx('a'), 10);
    EXPECT_EQ(mono.advancePx(0xE0), 10); // Cyrillic а
    EXPECT_EQ(mono.advancePx(4), 0);     // image placeholder: measured by the image
    EXPECT_EQ(mono.lineHeightPx(), 18);
    EXPECT_EQ(mono.descentPx(), 5);
    EXPECT_EQ(mono.widthPx("hello"), 50);
}

} // namespace
} // namespace kvelo::layout
