// The now-playing view's pieces: the backdrop blur, and the lyric list that
// scrolls the selected line near the top of its container.
#include "anim/ProgramAnimations.h"
#include "ui/pictures/ImageBlur.h"
#include "ui/windows/DesktopLyricsWindow.h"
#include "ui/windows/NowPlayingView.h"

#include "TestPictures.h"

#include <gtest/gtest.h>
#include <QListWidget>
#include <QTest>
#include <tuple>

namespace {

TEST(ImageBlurTest, AnEvenPictureStaysTheSame) {
    const QImage image = imageOf({40, 30}, QColor(200, 120, 40));
    EXPECT_EQ(blurredImage(image, 5), image);
}

TEST(ImageBlurTest, ABrightDotSpreadsEvenlyAndKeepsItsLight) {
    QImage image = imageOf({41, 41}, Qt::black);
    image.setPixelColor(20, 20, Qt::white);
    const QImage blurred = blurredImage(image, 2);

    const int centre = qRed(blurred.pixel(20, 20));
    EXPECT_GT(centre, 0);
    EXPECT_LT(centre, 255);
    for (QPoint mirror : {QPoint(23, 20), QPoint(17, 20), QPoint(20, 23), QPoint(20, 17)})
        EXPECT_EQ(blurred.pixel(mirror), blurred.pixel(23, 20)) << "the blur is the same in every direction";
    EXPECT_LT(qRed(blurred.pixel(23, 20)), centre) << "it fades away from the dot";
    EXPECT_EQ(qRed(blurred.pixel(0, 0)), 0) << "it reaches no further than three passes of the box";

    long long light = 0;
    for (int y = 0; y < blurred.height(); ++y)
        for (int x = 0; x < blurred.width(); ++x) light += qRed(blurred.pixel(x, y));
    EXPECT_NEAR(double(light), 255.0, 40.0) << "spreading neither adds nor loses much light";
}

TEST(ImageBlurTest, NoRadiusOrNoPictureChangesNothing) {
    QImage dot = imageOf({9, 9}, Qt::black);
    dot.setPixelColor(4, 4, Qt::white);
    EXPECT_EQ(blurredImage(dot, 0), dot);
    EXPECT_TRUE(blurredImage(QImage(), 4).isNull());
}

class NowPlayingViewTest : public ::testing::Test {
protected:
    NowPlayingViewTest() : view(&window) { view.resize(1068, 655); }

    QListWidget& list() const { return *view.lyricList(); }
    static bool scrollRunning() { return ProgramAnimations::lyricScroll().isRunning(); }

    QWidget window;
    NowPlayingView view;
};

TEST_F(NowPlayingViewTest, LyricsFillTheListAtTheirHeightsWithoutTrailingLineBreaks) {
    view.setLyrics({{"one\r\n壹\n", 75}, {"two", 75}}, 275);
    ASSERT_EQ(list().count(), 2);
    EXPECT_EQ(list().item(0)->text(), "one\n壹");
    EXPECT_EQ(list().item(1)->sizeHint().height(), 75);
    EXPECT_EQ(list().height(), 275);

    view.clearLyrics();
    EXPECT_EQ(list().count(), 0);
}

TEST_F(NowPlayingViewTest, SelectingALineScrollsItNearTheTopAndAScrollInFlightIsNotInterrupted) {
    std::vector<LyricItem> lines;
    for (int i = 0; i < 12; ++i) lines.push_back({"line " + std::to_string(i), 50});
    view.setLyrics(lines, 13 * 50 + 50);

    view.selectLyric(6);
    EXPECT_EQ(list().currentRow(), 6);
    view.selectLyric(8);
    EXPECT_EQ(list().currentRow(), 8) << "the selection moves at once";
    ASSERT_TRUE(QTest::qWaitFor([] { return !scrollRunning(); }, 2000));
    EXPECT_EQ(list().y(), 35 - 6 * 50) << "the second line came while the first scroll ran";

    view.selectLyric(8);
    ASSERT_TRUE(QTest::qWaitFor([] { return !scrollRunning(); }, 2000));
    EXPECT_EQ(list().y(), 35 - 8 * 50);

    view.selectLyric(8);
    EXPECT_FALSE(scrollRunning()) << "a line already in place starts no animation";
}

// Word-timed lyrics: the selected line's first line fills from its left in
// the sung colour; its translation and the other lines stay as they were.
TEST_F(NowPlayingViewTest, TheSungPartOfTheSelectedLineFillsFromTheLeftUntilAnotherIsSelected) {
    view.setLyrics({{"HHHH\r\nHHHH\n", 75}, {"HHHH", 50}}, 175);
    view.selectLyric(0);
    const auto sungColumns = [&] {
        const QImage shown = list().grab().toImage().convertToFormat(QImage::Format_ARGB32);
        int left = shown.width(), right = -1, lowest = -1;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                if (shown.pixel(x, y) == DesktopLyricsWindow::kSungColour)
                    left = std::min(left, x), right = std::max(right, x), lowest = y;
        return std::tuple{left, right, lowest};
    };
    EXPECT_EQ(std::get<1>(sungColumns()), -1) << "nothing is sung yet";

    view.showSungPart(0.5);
    EXPECT_EQ(view.sungPart(), 0.5);
    const auto [left, right, lowest] = sungColumns();
    ASSERT_GE(right, 0);
    const int lineWidth = 2 * (list().width() / 2 - left);  // the line is centred
    EXPECT_NEAR(right - left, lineWidth / 2, lineWidth / 10) << "half of the line's width";
    EXPECT_LT(lowest, 75 / 2) << "the translation below is not filled";

    view.showSungPart(1.0);
    EXPECT_NEAR(std::get<1>(sungColumns()), list().width() - left, lineWidth / 10) << "the whole line";
    view.showSungPart(std::nullopt);
    EXPECT_EQ(std::get<1>(sungColumns()), -1) << "line lyrics draw the line as it is";

    view.showSungPart(0.5);
    view.selectLyric(1);
    EXPECT_EQ(view.sungPart(), std::nullopt) << "the next line starts unsung";
    EXPECT_EQ(std::get<1>(sungColumns()), -1) << "and the line before no longer fills";
}

TEST_F(NowPlayingViewTest, TheCoverShowsLargeAndBlurredBehindEverything) {
    view.showCover(imageOf({640, 640}, QColor(30, 90, 200)));
    EXPECT_EQ(view.backdrop().size(), QSize(1068, 655) / 4);
    EXPECT_EQ(view.backdrop().pixelColor(10, 10), QColor(30, 90, 200));
}

}  // namespace
