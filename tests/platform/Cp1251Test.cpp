#include "platform/Cp1251.h"

#include <gtest/gtest.h>

using namespace kvelo;

TEST(Cp1251, EveryByteRoundTripsThroughUtf8) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(cp1251::fromUtf8(cp1251::toUtf8(all)), all);
}

TEST(Cp1251, KnownCodePoints) {
    struct Case { unsigned char byte; char32_t cp; } cases[] = {
        {0xC0, 0x0410}, {0xFF, 0x044F}, {0xA8, 0x0401}, {0xB8, 0x0451}, {0xB9, 0x2116},
        {0xA2, 0x045E}, {0xBA, 0x0454}, {0xB3, 0x0456}, {0xBC, 0x0458}, {0x88, 0x20AC},
        {0x96, 0x2013}, {0xA0, 0x00A0}, {'A', 'A'},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cp1251::toUnicode(c.byte), c.cp) << int(c.byte);
        EXPECT_EQ(cp1251::fromUnicode(c.cp), c.byte) << int(c.byte);
    }
    EXPECT_EQ(cp1251::fromUnicode(0x049B), -1); // қ is not in the code page
}

TEST(Cp1251, Utf8ConversionReplacesWhatTheCodePageLacks) {
    EXPECT_EQ(cp1251::toUtf8(cp1251::fromUtf8("Закон №5")), "Закон №5");
    EXPECT_EQ(cp1251::fromUtf8("қ日"), "??");
    // Malformed UTF-8: a lone continuation byte, a truncated sequence, an overlong form.
    EXPECT_EQ(cp1251::fromUtf8("a\x80z"), "a?z");
    EXPECT_EQ(cp1251::fromUtf8("a\xD0"), "a?");
    EXPECT_EQ(cp1251::fromUtf8("\xC0\xAF"), "??");
}

TEST(Cp1251, CaseTables) {
    const std::string lower = cp1251::fromUtf8("abz абвгдеёжя ўєіїјґђѓљњќћџѕ µ№");
    const std::string upper = cp1251::fromUtf8("ABZ АБВГДЕЁЖЯ ЎЄІЇЈҐЂЃЉЊЌЋЏЅ µ№");
    EXPECT_EQ(AnsiUpperCase(lower), upper);
    EXPECT_EQ(AnsiLowerCase(upper), lower);
    EXPECT_TRUE(AnsiSameText(cp1251::fromUtf8("СЛОВАРЬ"), cp1251::fromUtf8("словарь")));
    EXPECT_FALSE(AnsiSameText("abc", "abd"));
}

TEST(Cp1251, UzbekTitleFontReading) {
    struct Case { unsigned char byte; char32_t letter; } cases[] = {
        {0xA2, 0x045E}, {0xA1, 0x040E}, // ў Ў are the code page's own
        {0xBA, 0x049B}, {0xAA, 0x049A}, // қ Қ
        {0xB3, 0x0493}, {0xB2, 0x0492}, // ғ Ғ
        {0xBC, 0x04B3}, {0xA3, 0x04B2}, // ҳ Ҳ
        {0xE0, 0x0430}, {'q', 'q'},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cp1251::toUnicodeUzbek(c.byte), c.letter) << int(c.byte);
        EXPECT_EQ(cp1251::fromUnicodeUzbek(c.letter), c.byte) << int(c.byte);
    }
    // The borrowed letters themselves still map to their bytes.
    EXPECT_EQ(cp1251::fromUnicodeUzbek(0x0454), 0xBA);
    EXPECT_EQ(cp1251::fromUnicodeUzbek(0x4E2D), -1);
}
