#include "ui/widgets/RoundedPicture.h"

#include "TestPictures.h"

#include <gtest/gtest.h>

namespace {

TEST(RoundedPictureTest, IsMadeAtTheDevicePixelSizeWithRoundedCorners) {
    struct Case {
        QSize size;
        int rounding;
        qreal ratio;
        bool cornerClear;
    };
    const Case cases[] = {
        {{180, 180}, 20, 1.0, true},
        {{180, 180}, 20, 2.0, true},
        {{180, 180}, 0, 1.0, false},
        {{160, 160}, 160, 1.5, true},  // a circle
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rounding);
        const QImage picture = makeRoundedPicture(imageOf({300, 300}, Qt::red), c.size, c.rounding, c.ratio);
        ASSERT_EQ(picture.size(), c.size * c.ratio);
        EXPECT_EQ(picture.devicePixelRatio(), c.ratio);
        EXPECT_EQ(qAlpha(picture.pixel(0, 0)) == 0, c.cornerClear);
        EXPECT_EQ(picture.pixelColor(picture.width() / 2, picture.height() / 2), QColor(Qt::red));
    }
}

TEST(RoundedPictureTest, ACircleLeavesTheCornerAreaClearButNotTheEdgeMiddles) {
    const QImage picture = makeRoundedPicture(imageOf({100, 100}, Qt::blue), {160, 160}, 160, 1.0);
    EXPECT_EQ(qAlpha(picture.pixel(20, 20)), 0);  // inside the corner, outside the circle
    EXPECT_EQ(qAlpha(picture.pixel(80, 2)), 255);
    EXPECT_EQ(qAlpha(picture.pixel(2, 80)), 255);
}

TEST(RoundedPictureTest, FillsWithoutStretchingByCuttingTheSides) {
    // A wide source, left half red and right half blue, put into a square:
    // the middle of the source fills it, so both halves are still there.
    QImage source(400, 100, QImage::Format_ARGB32);
    source.fill(Qt::red);
    for (int y = 0; y < 100; ++y)
        for (int x = 200; x < 400; ++x) source.setPixelColor(x, y, Qt::blue);
    const QImage picture = makeRoundedPicture(source, {100, 100}, 0, 1.0);
    EXPECT_EQ(picture.pixelColor(25, 50), QColor(Qt::red));
    EXPECT_EQ(picture.pixelColor(75, 50), QColor(Qt::blue));
    EXPECT_TRUE(makeRoundedPicture(QImage(), {100, 100}, 20, 1.0).isNull());
}

}  // namespace
