#include "ui/widgets/SlimScrollBar.h"

#include "ui/widgets/Theme.h"

#include <QPainter>
#include <QStyleOptionSlider>

SlimScrollBar::SlimScrollBar(QWidget* parent) : QScrollBar(Qt::Vertical, parent) {
    setAttribute(Qt::WA_TranslucentBackground);
    setCursor(Qt::PointingHandCursor);
}

void SlimScrollBar::enterEvent(QEnterEvent*) {
    hovered_ = true;
    update();
}

void SlimScrollBar::leaveEvent(QEvent*) {
    hovered_ = false;
    update();
}

void SlimScrollBar::paintEvent(QPaintEvent*) {
    if (maximum() <= minimum()) return;
    QStyleOptionSlider option;
    initStyleOption(&option);
    // The style places the handle; only its look is this bar's own.
    const QRect handle = style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this);
    const double width = hovered_ || isSliderDown() ? 8 : 6;
    const QRectF shape((this->width() - width) / 2, handle.top() + 1, width, handle.height() - 2);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgba(hovered_ || isSliderDown() ? Theme::kAccent : 0xFFD6D9E0));
    painter.drawRoundedRect(shape, width / 2, width / 2);
}
