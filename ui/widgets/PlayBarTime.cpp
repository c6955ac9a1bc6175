// The play bar's time line and what the mouse does on its two sliders:
// a click on the progress seeks where it lands, a drag previews the time,
// a click on the volume sets it there, the wheel turns it.
#include "player/PlayBarState.h"
#include "ui/widgets/JumpSlider.h"
#include "ui/widgets/PlayBar.h"
#include "ui/widgets/PlayBarButton.h"
#include "ui/widgets/Theme.h"

#include <QEvent>
#include <QLabel>
#include <QWheelEvent>
#include <algorithm>

namespace {

constexpr QSize kTimeLineSize(120, 16);
constexpr int kWheelNotch = 120;  // the angle of one notch of a mouse wheel

QString timeText(int seconds) { return QString::fromStdString(formatPlayTime(seconds)); }

}  // namespace

void PlayBar::createTimeLine() {
    timeLine_ = new QLabel(this);
    timeLine_->setObjectName("播放栏_时间");
    timeLine_->setFont(Theme::font(11));
    timeLine_->setAlignment(Qt::AlignCenter);
    timeLine_->setStyleSheet(
        QString("color: %1; background: transparent;").arg(QColor::fromRgba(Theme::kSecondText).name()));
    timeLine_->setAttribute(Qt::WA_TransparentForMouseEvents);
    play_->installEventFilter(this);
    placeTimeLine();
    showTimeLine();
}

// Just below the play button, which ends above the bar's bottom edge.
void PlayBar::placeTimeLine() {
    const QRect button = play_->geometry();
    timeLine_->setGeometry(
        QRect(QPoint(button.center().x() - kTimeLineSize.width() / 2 + 1, button.bottom() + 1), kTimeLineSize));
}

// The two time boxes' texts, side by side.
void PlayBar::showTimeLine() { timeLine_->setText(elapsed_->text() + " / " + total_->text()); }

// The slider counts seconds (one tick a second), so a tick is a second here.
void PlayBar::previewSeek(int ticks) {
    elapsed_->setText(timeText(ticks));
    showTimeLine();
}

void PlayBar::seekWhereReleased() {
    player_.seek(progress_->sliderPosition());
    player_.releaseSeek();
}

bool PlayBar::filterSliderEvent(QObject* watched, QEvent* event) {
    if (watched == play_ && event->type() == QEvent::Move) placeTimeLine();
    if (event->type() != QEvent::Wheel) return false;
    // The progress only moves by a click or a drag.
    if (watched == progress_) return true;
    if (watched != volumeSlider_) return false;
    const int angle = static_cast<QWheelEvent*>(event)->angleDelta().y();
    if (angle == 0) return true;
    // A fine-grained wheel (a touchpad) still moves at least one step.
    const int notches = angle / kWheelNotch != 0 ? angle / kWheelNotch : (angle > 0 ? 1 : -1);
    player_.setVolume(std::clamp(player_.volume() + notches * kVolumeWheelStep, 0, 100));
    return true;
}
