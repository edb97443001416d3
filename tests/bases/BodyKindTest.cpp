// Body kinds by their first bytes.
#include "bases/BodyKind.h"
#include "platform/Streams.h"

#include <gtest/gtest.h>

namespace kvelo {
namespace {

struct KindCase {
    std::string head;
    std::string kind;
    bool picture;
};

class BodyKinds : public ::testing::TestWithParam<KindCase> {};

TEST_P(BodyKinds, AreRecognisedAndTheStreamIsBackAtZero) {
    const KindCase c = GetParam();
    std::string bytes = c.head + std::string(40, 'x');
    TMemoryStream stream(std::vector<uint8_t>(bytes.begin(), bytes.end()));
    stream.SetPosition(17);
    EXPECT_EQ(shFormatFromStream(&stream), c.kind);
    EXPECT_EQ(stream.Position(), 0);
    EXPECT_EQ(IsGraphicFormat(c.kind), c.picture);
}

using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(
    Signatures, BodyKinds,
    ::testing::Values(KindCase{"{\\rtf1\\ansi", ".rtf", false}, KindCase{"-8 1 ", ".rvf", false},
                      KindCase{"BM6", ".bmp", true}, KindCase{"\xFF\xD8\xFF\xE0", ".jpg", true},
                      KindCase{"\xFF\xD8\xFF\xE1", ".jpg", true},
                      // A JPEG whose fourth byte is neither E0 nor E1 is not a picture.
                      KindCase{"\xFF\xD8\xFF\xDB", "", false},
                      KindCase{"\x89PNG\r\n", ".png", true}, KindCase{"GIF87a", ".gif", true},
                      KindCase{"GIF89a", ".gif", true}, KindCase{"GIF88a", "", false},
                      KindCase{"\xD7\xCD\xC6\x9A", ".wmf", true},
                      KindCase{"\x01\x00\x00\x00"s, ".emf", true},
                      KindCase{"\x00\x00\x01\x00"s, ".ico", false}, KindCase{"{\\rtf", "", false},
                      KindCase{"plain text", "", false}));

TEST(BodyKind, ShortAndMissingBodies) {
    TMemoryStream empty;
    EXPECT_EQ(shFormatFromStream(&empty), "");
    TMemoryStream bm(std::vector<uint8_t>{'B', 'M'});
    EXPECT_EQ(shFormatFromStream(&bm), ".bmp");
    EXPECT_EQ(shFormatFromStream(nullptr), ".rtf");
}

} // namespace
} // namespace kvelo
