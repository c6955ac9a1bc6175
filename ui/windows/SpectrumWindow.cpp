#include "ui/windows/SpectrumWindow.h"

#include "ui/windows/MessageBoxWindow.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <algorithm>

namespace {

const Notice kWarning{
    .title = "温馨提示",
    .content = "Mivra酱提醒您：音乐频谱会显示在屏幕下方、任务栏之上，只占用很少的CPU；再点一次频谱按钮就能把它关掉哦！",
    .confirmCaption = "知道了",
};

// The frosted backdrop behind the bars: a faint dark veil over the desktop.
const QColor kBackdrop(0, 0, 0, 48);

QColor opaque(std::int32_t argb) { return QColor::fromRgb(QRgb(std::uint32_t(argb)) | 0xFF000000u); }

}  // namespace

// The bars' panel: it paints only the bars whose columns need it.
class SpectrumWindow::Panel : public QWidget {
public:
    explicit Panel(SpectrumWindow* window) : QWidget(window), window_(window) {
        setObjectName("频谱画板");
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        window_->paintBars(painter, event->rect());
    }

private:
    SpectrumWindow* window_;
};

SpectrumWindow::SpectrumWindow(Source source)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus |
                           Qt::WindowTransparentForInput),
      source_(std::move(source)) {
    setObjectName("SpectrumWindow");
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);

    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect screenArea = screen ? screen->geometry() : QRect(0, 0, 1280, 800);
    const QRect available = screen ? screen->availableGeometry() : screenArea;
    setGeometry(spectrumWindowGeometry(screenArea, available));
    barWidth_ = spectrumBarWidth(screenArea.width());

    panel_ = new Panel(this);
    panel_->setGeometry(0, kPanelTop, width(), std::max(0, height() - kPanelTop));
    barCount_ = spectrumBarCount(panel_->width(), barWidth_);

    timer_.setObjectName("时钟_频谱");
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &SpectrumWindow::advanceFrame);
    setColours(0, 0);
}

SpectrumWindow::~SpectrumWindow() = default;

QWidget* SpectrumWindow::panel() const { return panel_; }

void SpectrumWindow::setColours(std::int32_t first, std::int32_t second) {
    first_ = opaque(first);
    QLinearGradient gradient(0, 0, 0, 1);
    gradient.setCoordinateMode(QGradient::ObjectMode);
    gradient.setColorAt(0, first_);
    gradient.setColorAt(1, opaque(second));
    barBrush_ = QBrush(gradient);
    barPictures_.clear();
    panel_->update();
}

void SpectrumWindow::setSwitchedOn(bool on) {
    if (!on) {
        hide();
        timer_.stop();
        return;
    }
    MessageBoxWindow::show(kWarning);
    show();
    timer_.start(kFrameMs);
}

QRect SpectrumWindow::columnOf(int bar) const {
    return {SpectrumBars::kBarGap + bar * (barWidth_ + SpectrumBars::kBarGap), 0, barWidth_, panel_->height()};
}

void SpectrumWindow::advanceFrame() {
    source_(magnitudes_);
    const int height = panel_->height();
    bars_.advance(weightSpectrumBands(magnitudes_), height, barCount_);

    // One rectangle around every column that changed: a region of many
    // thin rectangles costs a flush of its own for each.
    QRect changed;
    for (int i = 0; i < barCount_; ++i) {
        const DrawnBar now{height - int(bars_.barHeight(i)), height - int(bars_.capHeight(i)) - 2};
        DrawnBar& before = drawn_[size_t(i)];
        if (now.top == before.top && now.capY == before.capY) continue;
        // From the highest row either frame touches down to the bottom.
        const int top = std::max(0, std::min({now.top, now.capY, before.top, before.capY}));
        const QRect column = columnOf(i);
        changed |= QRect(column.x(), top, column.width(), height - top);
        before = now;
    }
    if (!changed.isEmpty()) panel_->update(changed);
}

const QImage& SpectrumWindow::barPicture(int height) {
    if (barPictures_.size() <= size_t(height)) barPictures_.resize(size_t(height) + 1);
    QImage& picture = barPictures_[size_t(height)];
    if (picture.isNull()) {
        const qreal dpr = panel_->devicePixelRatioF();
        picture = QImage(QSize(barWidth_, height) * dpr, QImage::Format_RGB32);
        picture.setDevicePixelRatio(dpr);
        QPainter painter(&picture);
        painter.fillRect(QRect(0, 0, barWidth_, height), barBrush_);
    }
    return picture;
}

void SpectrumWindow::paintBars(QPainter& painter, const QRect& area) {
    const int height = panel_->height();
    const int firstBar = std::max(0, (area.left() - SpectrumBars::kBarGap) / (barWidth_ + SpectrumBars::kBarGap));
    for (int i = firstBar; i < barCount_; ++i) {
        const QRect column = columnOf(i);
        if (column.left() > area.right()) break;
        const int bar = int(bars_.barHeight(i));
        if (bar > 0) painter.drawImage(QPoint(column.x(), height - bar), barPicture(bar));
        painter.fillRect(QRect(column.x(), height - int(bars_.capHeight(i)) - 2, barWidth_, 1), first_);
    }
}

void SpectrumWindow::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (const QRect& rect : event->region()) painter.fillRect(rect, kBackdrop);
}
