#include "ui/windows/DesktopLyricsWindow.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <vector>

namespace {

// Tried after the requested typeface, in this order.
constexpr const char* kFallbackTypefaces = ";微软雅黑;楷体;黑体;宋体;Tahoma";

constexpr std::uint32_t kBlack = 0x000000;
// A translation's letters, against the original line's.
constexpr int kTranslationSizePercent = 70;

QColor toQColor(std::uint32_t argb) { return QColor::fromRgba(argb); }

QRect primaryScreenArea(bool workAreaOnly) {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return {};
    return workAreaOnly ? screen->availableGeometry() : screen->geometry();
}

// The first of `typeface` and the fallback list that is installed; empty
// when none is, which leaves the system's default family.
QString chooseFamily(const std::string& typeface) {
    const QStringList installed = QFontDatabase::families();
    const QStringList candidates = QString::fromStdString(typeface + kFallbackTypefaces).split(';', Qt::SkipEmptyParts);
    for (const QString& name : candidates) {
        if (installed.contains(name, Qt::CaseInsensitive)) return name;
    }
    return {};
}

// Every pixel with any coverage, so the faint shadow and the anti-aliased
// edges stay visible and can be grabbed. A region lying outside the window
// stands for "nothing": an empty region would switch the mask off and make
// the whole window catch the mouse.
QRegion paintedRegion(const QImage& drawing) {
    std::vector<QRect> runs;
    for (int y = 0; y < drawing.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(drawing.constScanLine(y));
        int x = 0;
        while (x < drawing.width()) {
            if (qAlpha(row[x]) == 0) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < drawing.width() && qAlpha(row[x]) != 0) ++x;
            runs.emplace_back(start, y, x - start, 1);
        }
    }
    if (runs.empty()) return QRegion(-1, -1, 1, 1);
    QRegion region;
    region.setRects(runs.data(), static_cast<int>(runs.size()));
    return region;
}

}  // namespace

LyricFillMode lyricFillModeFromIndex(int index) {
    switch (index) {
        case 1: return LyricFillMode::Gradient;
        case 2: return LyricFillMode::MirroredGradient;
        default: return LyricFillMode::Solid;
    }
}

std::uint32_t lyricColourFromSettings(std::int32_t settingsArgb) {
    const auto argb = static_cast<std::uint32_t>(settingsArgb);
    const std::uint32_t red = (argb >> 16) & 0xFF, green = (argb >> 8) & 0xFF, blue = argb & 0xFF;
    return (blue << 16) | (green << 8) | red;
}

std::uint32_t lyricColourToArgb(std::uint32_t bgr, int opacity) {
    const auto alpha = static_cast<std::uint32_t>(std::clamp(opacity, 0, 255));
    const std::uint32_t red = bgr & 0xFF, green = (bgr >> 8) & 0xFF, blue = (bgr >> 16) & 0xFF;
    return (alpha << 24) | (red << 16) | (green << 8) | blue;
}

DesktopLyricsWindow::DesktopLyricsWindow(std::optional<int> width, int height)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus) {
    setObjectName("DesktopLyricsWindow");
    setWindowTitle("Mivra Lyrics");
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);

    const QRect workArea = primaryScreenArea(true);
    canvasSize_ = QSize(width.value_or(workArea.width()), height);
    setGeometry(workArea.left() + (workArea.width() - canvasSize_.width()) / 2,
                workArea.bottom() + 1 - canvasSize_.height(), canvasSize_.width(), canvasSize_.height());

    setLyricFont("", 50, true);
    setShadow(kBlack, 150, 2, false);
    setTextColours(0x00FEE3, 0x00B133, kBlack, LyricFillMode::Gradient);
    setDraggable(true);
    setMask(paintedRegion(QImage()));
}

std::unique_ptr<DesktopLyricsWindow> DesktopLyricsWindow::createForStartup(std::int32_t settingsColour1,
                                                                           std::int32_t settingsColour2, int fillMode) {
    const QRect screenArea = primaryScreenArea(false);
    auto window = std::make_unique<DesktopLyricsWindow>(screenArea.width(), 100);
    window->setTextColours(lyricColourFromSettings(settingsColour1), lyricColourFromSettings(settingsColour2),
                           std::nullopt, lyricFillModeFromIndex(fillMode));
    window->setShadow(kBlack, 40, 2, false);
    // The window is as wide as the screen, so it starts at the screen's left
    // edge to keep the centred lyrics in the middle of the screen.
    window->move(screenArea.left(), screenArea.bottom() + 1 - 160);
    window->setLyricFont("微软雅黑", 38, true);
    window->setText(kWelcomeText);
    window->setDraggable(true);
    window->hide();
    return window;
}

void DesktopLyricsWindow::setLyricFont(const std::string& typeface, int pixelSize, bool bold, bool italic,
                                       bool underline) {
    QFont font;
    if (const QString family = chooseFamily(typeface); !family.isEmpty()) font.setFamily(family);
    font.setPixelSize(std::max(1, pixelSize));
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    font_ = font;
}

void DesktopLyricsWindow::setShadow(std::uint32_t bgr, int opacity, int offset, bool redraw) {
    shadowOffset_ = std::max(0, offset);
    if (opacity >= 1 && shadowOffset_ >= 1)
        shadowColour_ = lyricColourToArgb(bgr, opacity);
    else
        shadowColour_.reset();
    if (redraw) this->redraw();
}

void DesktopLyricsWindow::setTextColours(std::uint32_t firstBgr, std::uint32_t secondBgr,
                                         std::optional<std::uint32_t> outlineBgr, LyricFillMode mode) {
    firstColour_ = lyricColourToArgb(firstBgr);
    secondColour_ = lyricColourToArgb(secondBgr);
    outlineColour_.reset();
    if (outlineBgr) outlineColour_ = lyricColourToArgb(*outlineBgr);
    fillMode_ = mode;
}

void DesktopLyricsWindow::applyColourSettings(std::int32_t settingsColour1, std::int32_t settingsColour2,
                                              int fillMode) {
    setTextColours(lyricColourFromSettings(settingsColour1), lyricColourFromSettings(settingsColour2), std::nullopt,
                   lyricFillModeFromIndex(fillMode));
    redraw();
}

void DesktopLyricsWindow::setDraggable(bool draggable) {
    draggable_ = draggable;
    if (!draggable) manualDragOffset_.reset();
}

void DesktopLyricsWindow::setText(const std::string& utf8Text) {
    text_ = utf8Text;
    sungPart_.reset();  // a new line starts unsung
    redraw();
}

void DesktopLyricsWindow::setSungPart(std::optional<double> part) {
    if (part) part = std::clamp(*part, 0.0, 1.0);
    if (part == sungPart_) return;
    sungPart_ = part;
    redraw();
}

void DesktopLyricsWindow::redraw() {
    drawing_ = drawLyrics();
    resize(canvasSize_);
    setMask(paintedRegion(drawing_));
    update();
}

QImage DesktopLyricsWindow::drawLyrics() const {
    QImage drawing(canvasSize_, QImage::Format_ARGB32_Premultiplied);
    drawing.fill(Qt::transparent);
    QPainter painter(&drawing);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    paintText(painter);
    return drawing;
}

// Every line centred on its own; the block of lines centred in the canvas.
// The fill gradient spans the block, so a line and its translation share it.
// The lines below the first (a translation) are drawn smaller than it, so
// the original stays the line to read and both fit the window's height.
void DesktopLyricsWindow::paintText(QPainter& painter) const {
    if (text_.empty()) return;
    static const QRegularExpression lineBreak("\r\n|\n");
    const QStringList lines = QString::fromStdString(text_).split(lineBreak);
    QFont translationFont = font_;
    translationFont.setPixelSize(std::max(1, font_.pixelSize() * kTranslationSizePercent / 100));
    const QFontMetricsF metrics(font_), translationMetrics(translationFont);
    const auto fontOf = [&](qsizetype line) -> const QFont& { return line == 0 ? font_ : translationFont; };
    const auto metricsOf = [&](qsizetype line) -> const QFontMetricsF& {
        return line == 0 ? metrics : translationMetrics;
    };

    double blockWidth = 0, blockHeight = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        blockWidth = std::max(blockWidth, metricsOf(i).horizontalAdvance(lines[i]));
        blockHeight += i + 1 < lines.size() ? metricsOf(i).lineSpacing() : metricsOf(i).height();
    }
    const QRectF block((canvasSize_.width() - blockWidth) / 2, (canvasSize_.height() - blockHeight) / 2, blockWidth,
                       blockHeight);

    QPainterPath path;
    double top = block.top();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const double left = (canvasSize_.width() - metricsOf(i).horizontalAdvance(lines[i])) / 2;
        path.addText(left, top + metricsOf(i).ascent(), fontOf(i), lines[i]);
        top += metricsOf(i).lineSpacing();
    }

    if (shadowColour_) painter.fillPath(path.translated(shadowOffset_, shadowOffset_), toQColor(*shadowColour_));
    if (outlineColour_) painter.strokePath(path, QPen(toQColor(*outlineColour_), 1));

    if (fillMode_ == LyricFillMode::Solid) {
        painter.fillPath(path, toQColor(firstColour_));
    } else {
        // Reflecting past the end point mirrors the half-height gradient into
        // the lower half: first, second, first.
        const double span = fillMode_ == LyricFillMode::Gradient ? block.height() : block.height() / 2;
        QLinearGradient gradient(block.topLeft(), QPointF(block.left(), block.top() + span));
        gradient.setColorAt(0, toQColor(firstColour_));
        gradient.setColorAt(1, toQColor(secondColour_));
        gradient.setSpread(QGradient::ReflectSpread);
        painter.fillPath(path, gradient);
    }
    if (!sungPart_ || lines.isEmpty()) return;
    // The sung part of the first line, from its left edge.
    const double firstWidth = metrics.horizontalAdvance(lines.front());
    const double firstLeft = (canvasSize_.width() - firstWidth) / 2;
    painter.save();
    painter.setClipRect(QRectF(firstLeft, block.top(), firstWidth * *sungPart_, metrics.lineSpacing()));
    painter.fillPath(path, QColor::fromRgba(kSungColour));
    painter.restore();
}

void DesktopLyricsWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, drawing_);
}

// The window system moves the window when it can; otherwise (a platform
// without interactive moves) the window follows the mouse itself. Only a
// press on painted pixels grabs the lyrics.
void DesktopLyricsWindow::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const bool onLetters = drawing_.valid(at) && qAlpha(drawing_.pixel(at)) != 0;
    if (event->button() != Qt::LeftButton || !draggable_ || !onLetters) {
        QWidget::mousePressEvent(event);
        return;
    }
    QWindow* handle = windowHandle();
    if (handle && handle->startSystemMove()) return;
    manualDragOffset_ = event->globalPosition().toPoint() - pos();
}

void DesktopLyricsWindow::mouseMoveEvent(QMouseEvent* event) {
    if (manualDragOffset_ && (event->buttons() & Qt::LeftButton))
        move(event->globalPosition().toPoint() - *manualDragOffset_);
    else
        QWidget::mouseMoveEvent(event);
}

void DesktopLyricsWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) manualDragOffset_.reset();
    QWidget::mouseReleaseEvent(event);
}
