#include "platform/Collation.h"
#include "platform/Cp1251.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

using namespace kvelo;

namespace {
std::string cp(const char* utf8) { return cp1251::fromUtf8(utf8); }
int sign(int v) { return (v > 0) - (v < 0); }
} // namespace

TEST(Collation, RussianOrderIgnoringCase) {
    struct Case { const char* a; const char* b; int expected; } cases[] = {
        {"АБВ", "абв", 0},        // case does not count
        {"Ёж", "Ежевика", -1},    // ё sorts as a letter near е, not after я
        {"яблоко", "ЯБЛОКО", 0},
        {"Закон", "закон о", -1}, // a prefix sorts first
        {"Кодекс", "Закон", 1},
        {"10", "9", -1},          // digits compare as text
        {"ўзбек", "узбек", 1},    // the accent-like difference counts at secondary strength
    };
    for (const auto& c : cases)
        EXPECT_EQ(sign(CompareText(cp(c.a), cp(c.b))), c.expected) << c.a << " vs " << c.b;
}

TEST(Collation, SortKeysOrderLikeCompareText) {
    std::vector<std::string> words = {cp("Яма"), cp("абак"), cp("Ёлка"), cp("ель"), cp("Banana"),
                                      cp("apple"), cp("Ўрик"), cp("урок"), cp("123")};
    std::vector<std::string> byKey = words;
    std::sort(words.begin(), words.end(),
              [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
    std::sort(byKey.begin(), byKey.end(), [](const std::string& a, const std::string& b) {
        return CollationKey(a) < CollationKey(b);
    });
    EXPECT_EQ(words, byKey);
}
