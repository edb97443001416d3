// Pictures: decoding, display sizes, placeholders and their effect on lines.
#include "LayoutTestSupport.h"

#include "rtfengine/layout/ImageStore.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace kvelo::layout {
namespace {

using namespace testing;

TPictureBytes encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return std::make_shared<const std::vector<uint8_t>>(bytes.begin(), bytes.end());
}

QImage sample(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(qRgb(0, 128, 255));
    return image;
}

TImageObj picture(TPictureKind kind, TPictureBytes bytes) {
    TImageObj image;
    image.Kind = kind;
    image.Bytes = std::move(bytes);
    return image;
}

TEST(Images, PngAndJpegShowAtTheirOwnSizeUnlessTheReaderGaveOne) {
    ImageStore store;
    TImageObj png = picture(TPictureKind::Png, encoded(sample(40, 30), "PNG"));
    EXPECT_EQ(store.displaySize(png), QSize(40, 30));
    png.DisplayWidthPx = 80;
    png.DisplayHeightPx = 20;
    EXPECT_EQ(store.displaySize(png), QSize(80, 20));
    const QImage* shown = store.imageFor(&png);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->size(), QSize(80, 20));

    TImageObj jpeg = picture(TPictureKind::Jpeg, encoded(sample(16, 8), "JPEG"));
    jpeg.ScaleXPercent = 50;
    EXPECT_EQ(store.displaySize(jpeg), QSize(8, 8));
}

TEST(Images, ADibWithTheReadersZeroBitsOffsetDecodes) {
    TPictureBytes bmp = encoded(sample(7, 5), "BMP");
    auto bytes = std::make_shared<std::vector<uint8_t>>(*bmp);
    for (int i = 10; i < 14; ++i)
        (*bytes)[i] = 0;
    const QImage image = decodePicture(picture(TPictureKind::Dib, bytes));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(7, 5));
    EXPECT_EQ(image.pixel(3, 2), qRgb(0, 128, 255));
}

TEST(Images, AMonochromeDdbDecodesFromRawRows) {
    auto bits = std::make_shared<std::vector<uint8_t>>(std::vector<uint8_t>{0xF0, 0, 0x0F, 0});
    TImageObj ddb = picture(TPictureKind::Ddb, bits);
    ddb.PicW = 8;
    ddb.PicH = 2;
    const QImage image = decodePicture(ddb);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(0, 1), qRgb(0, 0, 0));
    ddb.PicH = 100; // more rows than bytes
    EXPECT_TRUE(decodePicture(ddb).isNull());
}

TEST(Images, MetafilesAndBadDataGetABoxOfTheirSize) {
    ImageStore store;
    auto junk = std::make_shared<const std::vector<uint8_t>>(std::vector<uint8_t>{1, 2, 3});
    TImageObj emf = picture(TPictureKind::Emf, junk);
    emf.PicW = 2540; // 0.01 mm: one inch
    emf.PicH = 1270;
    EXPECT_EQ(store.displaySize(emf), QSize(96, 48));
    EXPECT_EQ(store.imageFor(&emf), nullptr);

    TImageObj broken = picture(TPictureKind::Png, junk);
    EXPECT_EQ(store.displaySize(broken),
              QSize(ImageStore::kUnknownSidePx, ImageStore::kUnknownSidePx));
    EXPECT_EQ(store.imageFor(&broken), nullptr);

    TImageObj huge = picture(TPictureKind::Wmf, junk);
    huge.DisplayWidthPx = 1000000;
    huge.DisplayHeightPx = 1000000;
    EXPECT_EQ(store.displaySize(huge).width(), ImageStore::kMaxSidePx);
}

TEST(Images, AnImageOnTheBaselineRaisesItsLine) {
    LaidOutDocument d(400);
    auto p = makeParagraph({"ab "});
    TImageObj image = picture(TPictureKind::Png, encoded(sample(30, 50), "PNG"));
    image.HSpacePx = 4;
    p->AddImage(image);
    p->AppendText(" cd");
    d.doc.Add(std::move(p));
    const LineBox& line = d.lines(0).at(0);
    EXPECT_EQ(line.extraAbovePx, 50 + kMonoDescentPx - kMonoLinePx);
    EXPECT_EQ(d.layout.heightPx(), 50 + kMonoDescentPx);
    QPoint after;
    ASSERT_TRUE(d.layout.pointOf(4, after));
    EXPECT_EQ(after.x(), 30 + 30 + 4); // "ab " + image + its space

    QImage canvas(400, 80, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    d.layout.paint(painter, canvas.rect(), {0, 0});
    painter.end();
    EXPECT_EQ(canvas.pixel(30 + 2 + 15, 25), qRgb(0, 128, 255));
}

TEST(Images, AnImageWiderThanTheLineStandsAlone) {
    LaidOutDocument d(100);
    auto p = makeParagraph({"ab "});
    p->AddImage(picture(TPictureKind::Png, encoded(sample(150, 10), "PNG")));
    p->AppendText(" cd");
    d.doc.Add(std::move(p));
    ASSERT_EQ(d.lines(0).size(), 3u);
    EXPECT_EQ(d.lines(0)[1].first, 3);
    EXPECT_EQ(d.lines(0)[1].count, 2); // the image and its following space
}

} // namespace
} // namespace kvelo::layout
