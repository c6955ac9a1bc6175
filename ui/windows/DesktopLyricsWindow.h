#pragma once
// The desktop lyrics: the current lyric line drawn as large anti-aliased
// outlines with a soft shadow on an otherwise fully transparent window that
// stays on top of every other window and has no task-bar entry. The window
// only exists where letters are painted: the mouse reaches the window below
// everywhere else, and pressing on the letters drags the lyrics around.
#include <QImage>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class QPainter;

// How the letters are filled: one colour, the first colour fading into the
// second from the top of the text to its bottom, or the first colour at the
// top and bottom edges with the second across the middle.
enum class LyricFillMode { Solid = 0, Gradient = 1, MirroredGradient = 2 };

// The fill mode stored in settings (0, 1, 2); any other value fills solid.
LyricFillMode lyricFillModeFromIndex(int index);

// Colours are handed to the window as 0x00BBGGRR values. Settings store them
// as ARGB; this swaps red and blue and drops the alpha byte, so a settings
// colour reaches the screen with its red, green and blue unchanged.
std::uint32_t lyricColourFromSettings(std::int32_t settingsArgb);

// The 0xAARRGGBB colour drawn for a 0x00BBGGRR colour at `opacity`
// (clamped to 0..255).
std::uint32_t lyricColourToArgb(std::uint32_t bgr, int opacity = 255);

class DesktopLyricsWindow : public QWidget {
public:
    // The product name and slogan shown before the first song plays.
    static constexpr const char* kWelcomeText = "Mivra音乐   听见每一句心动";

    // Creates the window at the bottom of the primary screen's work area,
    // horizontally centred: `width` defaults to the work area's width. It
    // starts with a 50 px bold font, a black shadow of opacity 150 shifted
    // 2 px, yellow-to-green gradient letters with a black outline, no text.
    explicit DesktopLyricsWindow(std::optional<int> width = std::nullopt, int height = kDefaultHeight);

    // The program's start-up sequence: a screen-wide window 100 high near
    // the bottom of the screen, the user's colours and fill mode from
    // settings (ARGB), a faint shadow, a 38 px bold font, the welcome text,
    // dragging on, hidden until the play bar's lyrics button shows it.
    static std::unique_ptr<DesktopLyricsWindow> createForStartup(std::int32_t settingsColour1,
                                                                 std::int32_t settingsColour2, int fillMode);

    // Takes the first font of `typeface` and the fallback list
    // (微软雅黑, 楷体, 黑体, 宋体, Tahoma) that is installed, or the system's
    // default font when none is. Does not redraw.
    void setLyricFont(const std::string& typeface, int pixelSize, bool bold, bool italic = false,
                      bool underline = false);

    // The shadow is a copy of the text in `bgr` at `opacity`, shifted right
    // and down by `offset` pixels (below 0 counts as 0); there is none when
    // the opacity or the offset is below 1.
    void setShadow(std::uint32_t bgr, int opacity, int offset, bool redraw);

    // Both fill colours are drawn fully opaque; an `outlineBgr` draws a
    // 1 px outline around the letters. Does not redraw.
    void setTextColours(std::uint32_t firstBgr, std::uint32_t secondBgr, std::optional<std::uint32_t> outlineBgr,
                        LyricFillMode mode);

    // What the settings page calls when the user changes the colours or the
    // fill mode: settings colours (ARGB), no outline, and the current text
    // drawn again in the new colours.
    void applyColourSettings(std::int32_t settingsColour1, std::int32_t settingsColour2, int fillMode);

    // Pressing the left button on the letters drags the window.
    void setDraggable(bool draggable);

    // Shows `utf8Text` (a line, or a line and its translation separated by
    // "\r\n"), each line centred, and redraws at once.
    void setText(const std::string& utf8Text);
    const std::string& text() const { return text_; }

    // Draws the text again; the window takes back its created size.
    void redraw();

    static constexpr int kDefaultHeight = 150;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage drawLyrics() const;
    void paintText(QPainter& painter) const;

    QSize canvasSize_;
    std::string text_;
    QFont font_;
    std::uint32_t firstColour_ = 0;   // 0xAARRGGBB, opaque
    std::uint32_t secondColour_ = 0;  // 0xAARRGGBB, opaque
    std::optional<std::uint32_t> outlineColour_;
    LyricFillMode fillMode_ = LyricFillMode::Gradient;
    std::optional<std::uint32_t> shadowColour_;  // 0xAARRGGBB; none: no shadow
    int shadowOffset_ = 0;
    bool draggable_ = false;
    // Where the window was grabbed, relative to its top-left corner, while a
    // drag the window system could not take over is in progress.
    std::optional<QPoint> manualDragOffset_;
    QImage drawing_;  // the last drawing, canvasSize_ large, transparent where nothing is painted
};
