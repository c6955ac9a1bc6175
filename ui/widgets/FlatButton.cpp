#include "ui/widgets/FlatButton.h"

#include "ui/widgets/Theme.h"

#include <QPainter>

FlatButton::FlatButton(const QString& caption, QWidget* parent)
    : QPushButton(parent), textColor_(Theme::kPageButtonText), hoverColour_(QColor::fromRgba(Theme::kHover)) {
    setText(caption);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    setFont(Theme::font(16, QFont::Medium));
}

FlatButton::FlatButton(const QImage& picture, QWidget* parent) : FlatButton(QString(), parent) { picture_ = picture; }

void FlatButton::setPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

void FlatButton::setTextColor(QRgb argb) {
    textColor_ = argb;
    update();
}

void FlatButton::enterEvent(QEnterEvent*) {
    hovered_ = true;
    update();
}

void FlatButton::leaveEvent(QEvent*) {
    hovered_ = false;
    update();
}

void FlatButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (hovered_ || isDown()) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(isDown() ? hoverColour_.darker(106) : hoverColour_);
        painter.drawRoundedRect(QRectF(rect()), 10, 10);
    }
    if (!picture_.isNull()) {
        const QSizeF size = picture_.deviceIndependentSize();
        painter.drawImage(QPointF((width() - size.width()) / 2, (height() - size.height()) / 2), picture_);
        return;
    }
    painter.setPen(QColor::fromRgba(textColor_));
    painter.setFont(font());
    painter.drawText(rect(), Qt::AlignCenter, text());
}
