#include "ui/widgets/JumpSlider.h"

#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionSlider>
#include <algorithm>

JumpSlider::JumpSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {}

// The handle's centre follows the mouse, so the groove's ends lie half a
// handle in from the slider's edges.
int JumpSlider::valueAt(int x) const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect groove = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
    const QRect handle = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    const int span = groove.width() - handle.width();
    const int offset = x - groove.left() - handle.width() / 2;
    return QStyle::sliderValueFromPosition(minimum(), maximum(), offset, std::max(span, 1), option.upsideDown);
}

void JumpSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QSlider::mousePressEvent(event);
        return;
    }
    event->accept();
    setSliderDown(true);
    setSliderPosition(valueAt(event->position().toPoint().x()));
}

void JumpSlider::mouseMoveEvent(QMouseEvent* event) {
    if (!isSliderDown()) {
        QSlider::mouseMoveEvent(event);
        return;
    }
    event->accept();
    setSliderPosition(valueAt(event->position().toPoint().x()));
}

void JumpSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (!isSliderDown() || event->button() != Qt::LeftButton) {
        QSlider::mouseReleaseEvent(event);
        return;
    }
    event->accept();
    setSliderPosition(valueAt(event->position().toPoint().x()));
    setSliderDown(false);
}
