#include "ui/windows/DesktopLyricsWindow.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <optional>
#include <vector>

#include <tuple>

namespace {

constexpr std::uint32_t kRedBgr = 0x0000FF;
constexpr std::uint32_t kBlueBgr = 0xFF0000;

// What the window shows, with straight (not premultiplied) alpha.
QImage shownPixels(DesktopLyricsWindow& window) {
    return window.grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

std::optional<QPoint> firstOpaquePixel(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) == 255) return QPoint(x, y);
    return std::nullopt;
}

int countPixels(const QImage& image, auto predicate) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) count += predicate(image.pixel(x, y)) ? 1 : 0;
    return count;
}

// Bands of consecutive rows holding any painted pixel.
int paintedRowBands(const QImage& image) {
    int bands = 0;
    bool inBand = false;
    for (int y = 0; y < image.height(); ++y) {
        bool painted = false;
        for (int x = 0; x < image.width() && !painted; ++x) painted = qAlpha(image.pixel(x, y)) != 0;
        if (painted && !inBand) ++bands;
        inBand = painted;
    }
    return bands;
}

// The column of an "H" with the most opaque pixels (a stem), and that
// column's opaque pixels from top to bottom.
std::vector<QRgb> stemColours(const QImage& image) {
    std::vector<QRgb> best;
    for (int x = 0; x < image.width(); ++x) {
        std::vector<QRgb> column;
        for (int y = 0; y < image.height(); ++y)
            if (qAlpha(image.pixel(x, y)) == 255) column.push_back(image.pixel(x, y));
        if (column.size() > best.size()) best = column;
    }
    return best;
}

// A window of known size with plain red letters, no shadow, no outline.
class DesktopLyricsWindowTest : public ::testing::Test {
protected:
    DesktopLyricsWindowTest() : window(600, 150) {
        window.setShadow(0, 0, 0, false);
        window.setTextColours(kRedBgr, kBlueBgr, std::nullopt, LyricFillMode::Solid);
        window.setLyricFont("", 80, true);
    }

    DesktopLyricsWindow window;
};

TEST(LyricColours, SettingsColoursReachTheScreenUnchanged) {
    struct Row {
        std::int32_t settings;
        std::uint32_t windowForm;  // 0x00BBGGRR
        std::uint32_t onScreen;    // 0xAARRGGBB
    };
    for (Row row : {Row{-65536, 0x0000FF, 0xFFFF0000},      // red
                    Row{-16776961, 0xFF0000, 0xFF0000FF},   // blue
                    Row{-16711936, 0x00FF00, 0xFF00FF00},   // green
                    Row{0x12345678, 0x785634, 0xFF345678},  // alpha dropped, drawn opaque
                    Row{0, 0x000000, 0xFF000000}, Row{-1, 0xFFFFFF, 0xFFFFFFFF}}) {
        SCOPED_TRACE(row.settings);
        EXPECT_EQ(lyricColourFromSettings(row.settings), row.windowForm);
        EXPECT_EQ(lyricColourToArgb(lyricColourFromSettings(row.settings)), row.onScreen);
    }
}

TEST(LyricColours, OpacityIsClampedIntoTheAlphaByte) {
    EXPECT_EQ(lyricColourToArgb(kRedBgr, 40), 0x28FF0000u);
    EXPECT_EQ(lyricColourToArgb(kRedBgr, 300), 0xFFFF0000u);
    EXPECT_EQ(lyricColourToArgb(kRedBgr, -5), 0x00FF0000u);
}

TEST(LyricColours, StoredFillModesMapToTheirModesAndOthersFillSolid) {
    EXPECT_EQ(lyricFillModeFromIndex(0), LyricFillMode::Solid);
    EXPECT_EQ(lyricFillModeFromIndex(1), LyricFillMode::Gradient);
    EXPECT_EQ(lyricFillModeFromIndex(2), LyricFillMode::MirroredGradient);
    EXPECT_EQ(lyricFillModeFromIndex(3), LyricFillMode::Solid);
    EXPECT_EQ(lyricFillModeFromIndex(-1), LyricFillMode::Solid);
}

TEST_F(DesktopLyricsWindowTest, IsAFramelessTranslucentToolWindowOnTop) {
    const Qt::WindowFlags flags = window.windowFlags();
    EXPECT_TRUE(window.isWindow());
    EXPECT_TRUE(flags.testFlag(Qt::Tool));  // no task-bar entry
    EXPECT_TRUE(flags.testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(window.testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_EQ(window.size(), QSize(600, 150));
}

TEST_F(DesktopLyricsWindowTest, SolidModePaintsEveryCoveredPixelInTheFirstColour) {
    window.setText("Mivra HH");
    const QImage shown = shownPixels(window);
    EXPECT_GT(countPixels(shown, [](QRgb p) { return qAlpha(p) == 255; }), 500);
    EXPECT_EQ(countPixels(shown, [](QRgb p) { return qAlpha(p) == 255 && p != 0xFFFF0000; }), 0);
}

// Word-timed lyrics: the sung part of the first line, from its left, in the
// sung colour; its translation and the rest stay as they were.
TEST_F(DesktopLyricsWindowTest, TheSungPartOfTheFirstLineFillsFromTheLeft) {
    window.setText("HHHH\r\nHHHH");
    const auto sung = [](QRgb p) { return p == DesktopLyricsWindow::kSungColour; };
    const auto sungColumns = [&](const QImage& shown) {
        int left = shown.width(), right = -1, lowest = -1;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                if (sung(shown.pixel(x, y))) left = std::min(left, x), right = std::max(right, x), lowest = y;
        return std::tuple{left, right, lowest};
    };
    EXPECT_EQ(countPixels(shownPixels(window), sung), 0);

    window.setSungPart(0.5);
    const QImage half = shownPixels(window);
    const auto [left, right, lowest] = sungColumns(half);
    ASSERT_GE(right, 0);
    const int lineWidth = 2 * (half.width() / 2 - left);  // the line is centred
    EXPECT_NEAR(right - left, lineWidth / 2, lineWidth / 10) << "half of the line's width";
    EXPECT_LT(lowest, half.height() / 2) << "the translation below is not filled";
    EXPECT_GT(countPixels(half, [](QRgb p) { return p == 0xFFFF0000; }), 0) << "the rest keeps its colour";

    window.setSungPart(1.0);
    EXPECT_GT(countPixels(shownPixels(window), sung), countPixels(half, sung));
    window.setText("HHHH");
    EXPECT_EQ(countPixels(shownPixels(window), sung), 0) << "a new line starts unsung";
}

TEST_F(DesktopLyricsWindowTest, EverySetTextRedrawsAndAnEmptyTextClearsTheWindow) {
    window.setText("H");
    const int narrow = countPixels(shownPixels(window), [](QRgb p) { return qAlpha(p) != 0; });
    window.setText("HHHH");
    const int wide = countPixels(shownPixels(window), [](QRgb p) { return qAlpha(p) != 0; });
    EXPECT_GT(narrow, 0);
    EXPECT_GT(wide, 3 * narrow);

    window.setText("");
    EXPECT_EQ(countPixels(shownPixels(window), [](QRgb p) { return qAlpha(p) != 0; }), 0);
}

TEST_F(DesktopLyricsWindowTest, ColourChangesShowAtTheNextDrawing) {
    window.setText("HH");
    window.setTextColours(kBlueBgr, kRedBgr, std::nullopt, LyricFillMode::Solid);
    EXPECT_EQ(shownPixels(window).pixel(*firstOpaquePixel(shownPixels(window))), 0xFFFF0000u);
    window.setText("HH");
    EXPECT_EQ(shownPixels(window).pixel(*firstOpaquePixel(shownPixels(window))), 0xFF0000FFu);

    window.applyColourSettings(-16711936, -65536, 0);  // green, drawn at once
    EXPECT_EQ(shownPixels(window).pixel(*firstOpaquePixel(shownPixels(window))), 0xFF00FF00u);
}

TEST_F(DesktopLyricsWindowTest, GradientRunsFromTheFirstColourAtTheTopToTheSecondAtTheBottom) {
    window.setTextColours(kRedBgr, kBlueBgr, std::nullopt, LyricFillMode::Gradient);
    window.setText("H");
    const std::vector<QRgb> stem = stemColours(shownPixels(window));
    ASSERT_GT(stem.size(), 40u);
    EXPECT_GT(qRed(stem.front()), qBlue(stem.front()) + 100);
    EXPECT_GT(qBlue(stem.back()), qRed(stem.back()) + 100);
}

TEST_F(DesktopLyricsWindowTest, MirroredGradientHasTheFirstColourAtBothEdgesAndTheSecondInTheMiddle) {
    window.setTextColours(kRedBgr, kBlueBgr, std::nullopt, LyricFillMode::MirroredGradient);
    window.setText("H");
    const QImage shown = shownPixels(window);
    const std::vector<QRgb> stem = stemColours(shown);
    ASSERT_GT(stem.size(), 40u);
    EXPECT_GT(qRed(stem.front()), qBlue(stem.front()));
    EXPECT_GT(qRed(stem.back()), qBlue(stem.back()));

    // The one line is centred vertically, so the middle row of the window
    // is the middle of the text.
    const int middle = shown.height() / 2;
    int x = 0;
    while (x < shown.width() && qAlpha(shown.pixel(x, middle)) != 255) ++x;
    ASSERT_LT(x, shown.width());
    EXPECT_GT(qBlue(shown.pixel(x, middle)), qRed(shown.pixel(x, middle)) + 150);
}

TEST_F(DesktopLyricsWindowTest, ShadowAndOutlineAddDarkPixelsOnlyWhenSwitchedOn) {
    struct Row {
        int shadowOpacity;
        int shadowOffset;
        std::optional<std::uint32_t> outline;
        bool expectDark;
    };
    auto isDark = [](QRgb p) { return qAlpha(p) > 100 && qRed(p) < 100; };
    for (Row row : {Row{150, 2, std::nullopt, true}, Row{150, 0, std::nullopt, false},
                    Row{150, -3, std::nullopt, false}, Row{0, 4, std::nullopt, false}, Row{0, 0, 0x000000, true}}) {
        SCOPED_TRACE(testing::Message() << row.shadowOpacity << " offset " << row.shadowOffset);
        window.setShadow(0x000000, row.shadowOpacity, row.shadowOffset, false);
        window.setTextColours(kRedBgr, kRedBgr, row.outline, LyricFillMode::Solid);
        window.setText("HH");
        EXPECT_EQ(countPixels(shownPixels(window), isDark) > 0, row.expectDark);
    }
}

TEST_F(DesktopLyricsWindowTest, ALineAndItsTranslationAreTwoCentredLines) {
    window.setLyricFont("", 40, true);
    window.setText("HHHHHHHH\r\nH");
    const QImage shown = shownPixels(window);
    EXPECT_EQ(paintedRowBands(shown), 2);

    // Each line is centred on its own: the short second line's painted
    // columns sit around the window's middle column.
    int left = shown.width(), right = -1;
    for (int y = shown.height() / 2 + 5; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            if (qAlpha(shown.pixel(x, y)) != 0) left = std::min(left, x), right = std::max(right, x);
    ASSERT_GE(right, left);
    EXPECT_NEAR((left + right) / 2.0, shown.width() / 2.0, 6);
}

// The painted rows of each band, top and bottom, from the top.
std::vector<std::pair<int, int>> paintedBands(const QImage& image) {
    std::vector<std::pair<int, int>> bands;
    for (int y = 0; y < image.height(); ++y) {
        bool painted = false;
        for (int x = 0; x < image.width() && !painted; ++x) painted = qAlpha(image.pixel(x, y)) != 0;
        if (!painted) continue;
        if (!bands.empty() && bands.back().second == y - 1)
            bands.back().second = y;
        else
            bands.emplace_back(y, y);
    }
    return bands;
}

// In the window's startup size and typeface, a translation is drawn smaller
// than its line, and both keep clear of the window's edges.
TEST(DesktopLyricsTranslation, IsDrawnSmallerThanItsLineAndBothFit) {
    DesktopLyricsWindow window(800, 100);
    window.setShadow(0, 0, 0, false);
    window.setLyricFont("微软雅黑", 38, true);
    window.setText("HHHH\r\nHHHH\n");
    const QImage shown = shownPixels(window);
    const std::vector<std::pair<int, int>> bands = paintedBands(shown);
    ASSERT_EQ(bands.size(), 2u);
    const int lineHeight = bands[0].second - bands[0].first, translationHeight = bands[1].second - bands[1].first;
    EXPECT_LT(translationHeight, lineHeight);
    EXPECT_GT(translationHeight, lineHeight / 2);
    EXPECT_GT(bands[0].first, 0);
    EXPECT_LT(bands[1].second, shown.height() - 1);
}

TEST_F(DesktopLyricsWindowTest, ALineWiderThanTheWindowIsNotWrapped) {
    window.setText("HHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHH");
    EXPECT_EQ(paintedRowBands(shownPixels(window)), 1);
}

TEST_F(DesktopLyricsWindowTest, OnlyPaintedPixelsCatchTheMouse) {
    window.setText("HH");
    const QImage shown = shownPixels(window);
    const QPoint onLetter = *firstOpaquePixel(shown);
    EXPECT_TRUE(window.mask().contains(onLetter));
    for (QPoint empty : {QPoint(0, 0), QPoint(599, 149), QPoint(5, 75)}) {
        ASSERT_EQ(qAlpha(shown.pixel(empty)), 0);
        EXPECT_FALSE(window.mask().contains(empty));
    }

    window.setText("");
    EXPECT_TRUE(window.mask().intersected(window.rect()).isEmpty());
    EXPECT_FALSE(window.mask().isEmpty());  // an empty mask would let the whole window catch the mouse
}

void pressAndDrag(QWidget& window, QPoint at, QPoint by) {
    const QPointF global = window.mapToGlobal(QPointF(at));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &press);
    QMouseEvent move(QEvent::MouseMove, QPointF(at + by), global + by, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at + by), global + by, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &release);
}

TEST_F(DesktopLyricsWindowTest, PressingOnTheLettersDragsTheWindow) {
    window.setText("HH");
    window.show();
    const QPoint onLetter = *firstOpaquePixel(shownPixels(window));
    const QPoint start = window.pos();

    pressAndDrag(window, QPoint(5, 75), QPoint(30, 20));
    EXPECT_EQ(window.pos(), start);

    window.setDraggable(false);
    pressAndDrag(window, onLetter, QPoint(30, 20));
    EXPECT_EQ(window.pos(), start);

    window.setDraggable(true);
    pressAndDrag(window, onLetter, QPoint(30, 20));
    EXPECT_EQ(window.pos(), start + QPoint(30, 20));
}

TEST(DesktopLyricsStartup, IsScreenWideHiddenAndShowsTheWelcomeInTheSettingsColours) {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    std::unique_ptr<DesktopLyricsWindow> window = DesktopLyricsWindow::createForStartup(-65536, -16776961, 0);

    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->size(), QSize(screen.width(), 100));
    EXPECT_EQ(window->pos(), QPoint(screen.left(), screen.bottom() + 1 - 160));
    EXPECT_EQ(window->text().rfind("Mivra音乐   ", 0), 0u);

    // Solid red letters over a faint black shadow.
    const QImage shown = shownPixels(*window);
    EXPECT_GT(countPixels(shown, [](QRgb p) { return p == 0xFFFF0000; }), 500);
    EXPECT_GT(countPixels(shown, [](QRgb p) { return qAlpha(p) == 40 && qRed(p) == 0; }), 0);
}

}  // namespace
