#include "TestPictures.h"
#include "ui/pictures/PictureDecoder.h"

#include <gtest/gtest.h>

namespace {

QColor pixelAt(const QImage& image, int x, int y) { return image.pixelColor(x, y); }

bool near(QColor a, QColor b, int tolerance = 3) {
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance && std::abs(a.alpha() - b.alpha()) <= tolerance;
}

TEST(PictureDecoderTest, DecodesPngWithItsTransparency) {
    const QImage image = decodePicture(pngOf(4, 3, QColor(255, 40, 0, 128)));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(4, 3));
    EXPECT_TRUE(near(pixelAt(image, 3, 2), QColor(255, 40, 0, 128)));
}

TEST(PictureDecoderTest, DecodesJpegAtTheSmallestScaleThatCoversTheTarget) {
    const std::string jpeg = jpegOf(800, 600, QColor(30, 120, 220));
    struct Case {
        QSize target;
        QSize decoded;
    };
    const Case cases[] = {
        {{}, {800, 600}},                                      // no target: full size
        {{100, 100}, {200, 150}},                              // a quarter still covers 100 high
        {{100, 70}, {100, 75}},                                // an eighth covers it
        {{400, 300}, {400, 300}}, {{1600, 1200}, {800, 600}},  // never enlarged
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target.width());
        const QImage image = decodePicture(jpeg, c.target);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), c.decoded);
        EXPECT_TRUE(near(pixelAt(image, image.width() / 2, image.height() / 2), QColor(30, 120, 220)));
    }
}

TEST(PictureDecoderTest, EmptyUnknownDamagedOrHugeBytesGiveAnEmptyPicture) {
    const std::string png = pngOf(8, 8, Qt::red);
    const std::string jpeg = jpegOf(16, 16, Qt::blue);
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"empty", ""},
        {"text", "<html>404</html>"},
        {"gif", "GIF89a\x01\x00\x01\x00"},
        {"png signature only", png.substr(0, 8)},
        {"png cut in its data", png.substr(0, png.size() / 2)},
        {"png with a broken header checksum",
         [&] {
             std::string bytes = png;
             bytes[30] ^= 0x55;
             return bytes;
         }()},
        {"jpeg start only", "\xff\xd8\xff"},
        {"jpeg header only", jpeg.substr(0, 20)},
        {"png claiming 20000 x 20000", pngClaimingSize(png, 20000, 20000)},
        {"jpeg claiming 30000 x 30000", jpegClaimingSize(jpeg, 30000, 30000)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(decodePicture(c.bytes, {50, 50}).isNull());
    }
}

TEST(PictureDecoderTest, CutOffJpegStillGivesThePartThatArrived) {
    const std::string jpeg = jpegOf(800, 600, QColor(0, 160, 0));
    const QImage image = decodePicture(jpeg.substr(0, jpeg.size() / 2));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(800, 600));
    EXPECT_TRUE(near(pixelAt(image, 10, 10), QColor(0, 160, 0)));
}

}  // namespace
