#include "ui/widgets/SvgPicture.h"

#include <gtest/gtest.h>

namespace {

// The left half of a 2 × 2 drawing area in opaque red, the right half empty.
const std::string kLeftHalfRed = SvgPicture::document(2, 2, "<rect x='0' y='0' width='1' height='2' fill='#FF0000'/>");

TEST(SvgPictureTest, TheDrawingFillsTheImageAtTheDevicePixelSize) {
    struct Case {
        QSize logicalSize;
        qreal ratio;
        QSize pixels;
    };
    const Case cases[] = {
        {{40, 20}, 1.0, {40, 20}},
        {{40, 20}, 2.0, {80, 40}},
        {{40, 20}, 1.5, {60, 30}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ratio);
        const QImage image = SvgPicture::render(kLeftHalfRed, c.logicalSize, c.ratio);
        ASSERT_EQ(image.size(), c.pixels);
        EXPECT_EQ(image.devicePixelRatio(), c.ratio);
        // Stretched over every pixel: red up to the middle, clear after it.
        const int middleRow = image.height() / 2;
        EXPECT_EQ(image.pixelColor(2, middleRow), QColor(Qt::red));
        EXPECT_EQ(image.pixelColor(image.width() / 2 - 2, middleRow), QColor(Qt::red));
        EXPECT_EQ(qAlpha(image.pixel(image.width() / 2 + 2, middleRow)), 0);
        EXPECT_EQ(qAlpha(image.pixel(image.width() - 2, image.height() - 2)), 0);
    }
}

TEST(SvgPictureTest, NoImageForAnEmptySizeOrARatioOfZeroOrLess) {
    EXPECT_TRUE(SvgPicture::render(kLeftHalfRed, {0, 20}, 1.0).isNull());
    EXPECT_TRUE(SvgPicture::render(kLeftHalfRed, {20, 20}, 0.0).isNull());
    EXPECT_TRUE(SvgPicture::render(kLeftHalfRed, {20, 20}, -1.0).isNull());
}

}  // namespace
