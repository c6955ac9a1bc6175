#include "ui/PictureBox.h"

#include "ui/RoundedPicture.h"

#include <QPainter>

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_TranslucentBackground); }

void PictureBox::setPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

void PictureBox::setRounding(int rounding) {
    rounding_ = rounding;
    update();
}

void PictureBox::paintEvent(QPaintEvent*) {
    if (picture_.isNull()) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setClipPath(roundedOutline(rect(), rounding_));
    painter.drawImage(rect(), picture_, coverSourceRect(picture_, size()));
}
