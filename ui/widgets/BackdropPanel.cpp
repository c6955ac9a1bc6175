#include "ui/widgets/BackdropPanel.h"

#include <QPainter>

BackdropPanel::BackdropPanel(QColor fill, int radius, QWidget* parent)
    : QWidget(parent), fill_(fill), radius_(radius) {}

void BackdropPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill_);
    painter.drawRoundedRect(QRectF(rect()), radius_, radius_);
}
