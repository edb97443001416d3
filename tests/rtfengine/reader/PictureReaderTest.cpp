#include "ReadHelpers.h"

#include <gtest/gtest.h>

namespace kvelo::test {
namespace {

// The smallest Windows metafile header (18 bytes).
#define kWmfHex "010009000003000000000000000000000000"
std::vector<uint8_t> WmfBytes() {
    std::vector<uint8_t> b(18, 0);
    b[0] = 1;
    b[2] = 9;
    b[5] = 3;
    return b;
}

const TImageObj& OnlyImage(const TSectionList& doc) {
    const TSection& p = Para(doc, 0);
    EXPECT_EQ(p.Images.size(), 1u);
    return p.Images.at(0);
}

std::vector<uint8_t> Bytes(std::initializer_list<int> values) {
    std::vector<uint8_t> bytes;
    for (int v : values)
        bytes.push_back(static_cast<uint8_t>(v));
    return bytes;
}

struct PictureCase {
    const char* name;
    std::string pict;
    TPictureKind kind;
    std::vector<uint8_t> bytes;
};

class PictureReader : public testing::TestWithParam<PictureCase> {};

TEST_P(PictureReader, KeepsKindAndBytes) {
    auto doc = Read("{\\rtf1 a{\\pict" + GetParam().pict + "}b}");
    const TSection& p = Para(*doc, 0);
    EXPECT_EQ(p.Text, std::string("a") + kImageChar + "b");
    const TImageObj& image = OnlyImage(*doc);
    EXPECT_EQ(image.TextIndex, 1);
    EXPECT_EQ(image.Kind, GetParam().kind);
    EXPECT_EQ(*image.Bytes, GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PictureReader,
    testing::Values(PictureCase{"PngHex", "\\pngblip 89504e47", TPictureKind::Png,
                                Bytes({0x89, 0x50, 0x4E, 0x47})},
                    PictureCase{"JpegHexWithStrayCharacters", "\\jpegblip ff d8\r\nf,f e0",
                                TPictureKind::Jpeg, Bytes({0xFF, 0xD8, 0xFF, 0xE0})},
                    PictureCase{"EmfWithoutKindKeyword", " 0102", TPictureKind::Emf, Bytes({1, 2})},
                    PictureCase{"BinData", "\\pngblip\\bin5 \x01{}\\\x7f", TPictureKind::Png,
                                Bytes({1, '{', '}', '\\', 0x7F})},
                    PictureCase{"StarredGroupsInside", "\\pngblip{\\*\\blipuid 1234}abcd",
                                TPictureKind::Png, Bytes({0xAB, 0xCD})},
                    PictureCase{"Wmf", "\\wmetafile8 " kWmfHex "", TPictureKind::Wmf, WmfBytes()},
                    PictureCase{"Ddb", "\\wbitmap0\\wbmbitspixel1\\wbmplanes1\\wbmwidthbytes2 ff00",
                                TPictureKind::Ddb, Bytes({0xFF, 0})}),
    [](const auto& info) { return info.param.name; });

TEST(PictureReader, DibGetsABitmapFileHeader) {
    // BITMAPINFOHEADER of a 1 x 1, 8-bit picture with 2 palette entries.
    std::string hex = "28000000"
                      "01000000"
                      "01000000"
                      "0100"
                      "0800"
                      "00000000"
                      "04000000"
                      "00000000"
                      "00000000"
                      "02000000"
                      "00000000"
                      "00000000"
                      "ffffff00"
                      "07000000";
    auto doc = Read("{\\rtf1{\\pict\\dibitmap0\\picw1\\pich1 " + hex + "}}");
    const TImageObj& image = OnlyImage(*doc);
    ASSERT_EQ(image.Kind, TPictureKind::Dib);
    const std::vector<uint8_t>& b = *image.Bytes;
    ASSERT_EQ(b.size(), 14u + 52u);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(b[2], 66);           // file size
    EXPECT_EQ(b[10], 14 + 40 + 8); // pixel data offset
    EXPECT_EQ(b[14], 0x28);
}

TEST(PictureReader, DisplaySizeFromGoalOrMetafileExtents) {
    auto doc = Read("{\\rtf1{\\pict\\pngblip\\picw10\\pich20\\picwgoal1440\\pichgoal720"
                    "\\picscalex50 00}{\\pict\\wmetafile8\\picw2540\\pich5080 " kWmfHex "}"
                    "{\\pict\\wmetafile1\\picw2540\\pich5080 " kWmfHex "}}");
    const TSection& p = Para(*doc, 0);
    ASSERT_EQ(p.Images.size(), 3u);
    EXPECT_EQ(p.Images[0].DisplayWidthPx, 96);
    EXPECT_EQ(p.Images[0].DisplayHeightPx, 48);
    EXPECT_EQ(p.Images[0].ScaleXPercent, 50);
    EXPECT_EQ(p.Images[0].ScaleYPercent, 100);
    EXPECT_EQ(p.Images[1].DisplayWidthPx, 96); // anisotropic metafile: 1 inch
    EXPECT_EQ(p.Images[1].DisplayHeightPx, 192);
    EXPECT_EQ(p.Images[2].DisplayWidthPx, 0); // MM_TEXT: size of the picture itself
}

TEST(PictureReader, UnsupportedOrBrokenPicturesAreDropped) {
    auto doc = Read("{\\rtf1 a{\\pict\\macpict 0102}{\\pict\\pmmetafile 0102}{\\pict\\wmetafile8 "
                    "0102}{\\pict\\pngblip}{\\*\\shppict{\\pict\\pngblip 00}}b}");
    EXPECT_EQ(Para(*doc, 0).Text, "ab");
    EXPECT_TRUE(Para(*doc, 0).Images.empty());
}

TEST(PictureReader, NonshppictAlternativeIsRead) {
    auto doc = Read("{\\rtf1{\\*\\shppict{\\pict\\pngblip 0a}}{\\nonshppict{\\pict\\wmetafile8 "
                    "" kWmfHex "}}}");
    EXPECT_EQ(OnlyImage(*doc).Kind, TPictureKind::Wmf);
}

} // namespace
} // namespace kvelo::test
