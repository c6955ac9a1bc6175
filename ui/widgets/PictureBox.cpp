#include "ui/widgets/PictureBox.h"

#include "ui/widgets/RoundedPicture.h"

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

void PictureBox::setEmptyColor(QColor colour) {
    emptyColour_ = colour;
    update();
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (picture_.isNull()) {
        if (emptyColour_.alpha() == 0) return;
        painter.fillPath(roundedOutline(rect(), rounding_), emptyColour_);
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setClipPath(roundedOutline(rect(), rounding_));
    painter.drawImage(rect(), picture_, coverSourceRect(picture_, size()));
}
