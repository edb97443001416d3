// The picture frame: zoom and fit modes, quarter turns, hand scrolling,
// metafile placeholders and saving the loaded bytes unchanged.
#include "view/GraphicFrame.h"
#include "gui/ImageView.h"
#include "platform/Streams.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QMouseEvent>
#include <QScrollBar>
#include <gtest/gtest.h>

using namespace kvelo;

namespace {

std::string encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    image.save(&buffer, format);
    return bytes.toStdString();
}

QImage picture(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setPixel(0, 0, qRgb(255, 0, 0)); // top left is red
    return image;
}

class GraphicFrameTest : public ::testing::Test {
protected:
    TGraphicFrame frame{nullptr};
    IViewer& viewer = frame.Viewer();
    ImageView& view = frame.ImgView();

    void SetUp() override {
        frame.resize(840, 620);
        frame.show();
    }
    void load(const std::string& bytes) {
        TMemoryStream body;
        body.WriteBytes(bytes);
        body.SetPosition(0);
        viewer.LoadDocument("1050", body);
    }
};

TEST_F(GraphicFrameTest, EveryBitmapFormatShowsAndSavesItsOwnBytes) {
    for (const char* format : {"PNG", "BMP", "JPEG", "GIF"}) {
        const std::string bytes = encoded(picture(30, 20), format);
        if (bytes.empty()) continue; // a Qt build without that writer
        load(bytes);
        EXPECT_EQ(view.Image().size(), QSize(30, 20)) << format;
        TMemoryStream saved;
        viewer.SaveToStream(saved, true, true, true);
        EXPECT_EQ(std::string(saved.Bytes().begin(), saved.Bytes().end()), bytes) << format;
    }
}

TEST_F(GraphicFrameTest, ZoomStepsMultiplyTheScale) {
    load(encoded(picture(100, 100), "PNG"));
    frame.actZoomInExecute();
    frame.actZoomInExecute();
    EXPECT_DOUBLE_EQ(view.Scale(), 2.25);
    frame.actZoomOutExecute();
    EXPECT_DOUBLE_EQ(view.Scale(), 1.125);
    frame.actActualSizeExecute();
    EXPECT_DOUBLE_EQ(view.Scale(), 1.0);
}

TEST_F(GraphicFrameTest, FitModesFollowTheViewSize) {
    load(encoded(picture(400, 100), "PNG"));
    frame.actFitWidthExecute();
    EXPECT_DOUBLE_EQ(view.Scale(), double(view.width() - view.ScrollBarSize()) / 400);
    frame.actFitHeigthExecute();
    EXPECT_DOUBLE_EQ(view.Scale(), double(view.height()) / 100);
    load(encoded(picture(4000, 1000), "PNG"));
    frame.actFitImageExecute();
    EXPECT_EQ(view.Mode(), ImageView::ScaleMode::Optimal);
    EXPECT_DOUBLE_EQ(view.EffectiveScale(), double(view.width()) / 4000);
    load(encoded(picture(10, 10), "PNG"));
    EXPECT_DOUBLE_EQ(view.EffectiveScale(), 1.0) << "small pictures are not enlarged";
}

TEST_F(GraphicFrameTest, FitActionsDoNothingWithoutAPicture) {
    frame.actZoomInExecute();
    frame.actFitWidthExecute();
    frame.actFitImageExecute();
    EXPECT_DOUBLE_EQ(view.Scale(), 1.5);
    EXPECT_EQ(view.Mode(), ImageView::ScaleMode::Scale);
}

TEST_F(GraphicFrameTest, QuarterTurnsTurnThePicture) {
    load(encoded(picture(40, 20), "PNG"));
    view.RotateRight();
    ASSERT_EQ(view.Image().size(), QSize(20, 40));
    EXPECT_EQ(view.Image().pixel(19, 0), qRgb(255, 0, 0)) << "top left went to the top right";
    view.RotateLeft();
    view.RotateLeft();
    EXPECT_EQ(view.Image().pixel(0, 39), qRgb(255, 0, 0)) << "top left went to the bottom left";
}

TEST_F(GraphicFrameTest, HandScrollingNeedsScrollBarsAndEndsWithARightClick) {
    load(encoded(picture(50, 50), "PNG"));
    frame.actScrollUpdate();
    QAction* scroll = frame.Action("actScroll");
    EXPECT_FALSE(scroll->isEnabled());
    EXPECT_FALSE(scroll->isChecked());
    EXPECT_FALSE(frame.Action("actZoom")->isEnabled()) << "no handler, shown disabled";
    load(encoded(picture(3000, 3000), "PNG"));
    ASSERT_TRUE(scroll->isEnabled());
    scroll->trigger();
    EXPECT_TRUE(view.HandScrolling());
    QWidget* pane = view.viewport();
    auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, at, pane->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(pane, &event);
    };
    send(QEvent::MouseButtonPress, {300, 300}, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, {200, 250}, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(view.horizontalScrollBar()->value(), 100);
    EXPECT_EQ(view.verticalScrollBar()->value(), 50);
    send(QEvent::MouseButtonRelease, {200, 250}, Qt::LeftButton, Qt::NoButton);
    send(QEvent::MouseButtonPress, {200, 250}, Qt::RightButton, Qt::RightButton);
    EXPECT_FALSE(view.HandScrolling());
    EXPECT_FALSE(scroll->isChecked());
}

std::string le16(int v) {
    return {char(v & 0xFF), char((v >> 8) & 0xFF)};
}
std::string le32(uint32_t v) {
    return le16(int(v & 0xFFFF)) + le16(int(v >> 16));
}

TEST_F(GraphicFrameTest, MetafilesShowAPlaceholderOfTheirSize) {
    // A placeable WMF: box 0,0 to 1440,720 at 1440 units per inch = 96 x 48 px.
    std::string wmf = le32(0x9AC6CDD7) + le16(0) + le16(0) + le16(0) + le16(1440) + le16(720) +
                      le16(1440) + std::string(8, '\0');
    load(wmf);
    EXPECT_EQ(view.Image().size(), QSize(96, 48));
    // An EMF: record type 1, bounds 0,0 to 299,199.
    std::string emf = le32(1) + le32(88) + le32(0) + le32(0) + le32(299) + le32(199);
    load(emf);
    EXPECT_EQ(view.Image().size(), QSize(300, 200));
    // Hostile bounds stay bounded; a truncated header gets the default box.
    load(le32(1) + le32(88) + le32(0x80000000u) + le32(0) + le32(0x7FFFFFFF) + le32(5));
    EXPECT_LE(view.Image().width(), 4000);
    load(le32(1) + "xx");
    EXPECT_EQ(view.Image().size(), QSize(200, 150));
}

TEST_F(GraphicFrameTest, TextOperationsAreEmpty) {
    load(encoded(picture(10, 10), "PNG"));
    EXPECT_EQ(viewer.GetSelLength(), 0);
    EXPECT_EQ(viewer.GetFontSize(), 0);
    EXPECT_FALSE(viewer.FindText("x", false));
    EXPECT_FALSE(viewer.CanSetLink());
    EXPECT_EQ(frame.DocName(), "1050");
}

} // namespace
