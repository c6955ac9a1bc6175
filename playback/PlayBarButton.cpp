#include "playback/PlayBarButton.h"

#include "ui/Theme.h"

#include <QPainter>

PlayBarButton::PlayBarButton(const QImage& picture, QWidget* parent) : PlayBarButton(picture, picture, parent) {}

PlayBarButton::PlayBarButton(const QImage& first, const QImage& second, QWidget* parent)
    : QPushButton(parent), first_(first), second_(second) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
}

void PlayBarButton::showSecond(bool second) {
    if (showsSecond_ == second) return;
    showsSecond_ = second;
    update();
}

void PlayBarButton::enterEvent(QEnterEvent* event) {
    hovered_ = true;
    update();
    QPushButton::enterEvent(event);
}

void PlayBarButton::leaveEvent(QEvent* event) {
    hovered_ = false;
    update();
    QPushButton::leaveEvent(event);
}

void PlayBarButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (hovered_ || isDown()) {
        const QColor hover = QColor::fromRgba(Theme::kHover);
        painter.setPen(Qt::NoPen);
        painter.setBrush(isDown() ? hover.darker(106) : hover);
        painter.drawRoundedRect(QRectF(rect()), 10, 10);
    }
    const QImage& picture = showsSecond_ ? second_ : first_;
    const QSizeF size = picture.deviceIndependentSize();
    painter.drawImage(QPointF((width() - size.width()) / 2, (height() - size.height()) / 2), picture);
}
