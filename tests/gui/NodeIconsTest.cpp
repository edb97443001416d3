#include "gui/NodeIcons.h"

#include <gtest/gtest.h>

using namespace kvelo;

TEST(NodeIcons, EveryNodeKindImageHasAPicture) {
    NodeIcons icons;
    for (int image :
         {0, 1, 2, 3, 4, 6, 7, 8, 9, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24})
        EXPECT_FALSE(icons.Image(image).isNull()) << "image " << image;
    EXPECT_TRUE(icons.Image(-1).isNull());
    EXPECT_TRUE(icons.Image(icons.Count()).isNull());
}

TEST(NodeIcons, AppendedPicturesGetTheNextIndexAtIconSize) {
    NodeIcons icons;
    const int before = icons.Count();
    QPixmap big(40, 40);
    big.fill(Qt::red);
    EXPECT_EQ(icons.Append(big), before);
    EXPECT_EQ(icons.Image(before).width(), NodeIcons::IconSizePx);
    EXPECT_EQ(icons.Append(QPixmap()), -1);
}

TEST(NodeIcons, AnOverlayChangesTheIcon) {
    NodeIcons icons;
    QPixmap own(16, 16);
    own.fill(Qt::white);
    const int index = icons.Append(own);
    const QImage plain = icons.NodeIcon(index, index, -1).pixmap(16).toImage();
    const QImage marked = icons.NodeIcon(index, index, 19).pixmap(16).toImage();
    EXPECT_NE(plain, marked);
    // An unknown image gives an empty icon rather than failing.
    EXPECT_TRUE(icons.NodeIcon(99, 99, -1).isNull());
}
