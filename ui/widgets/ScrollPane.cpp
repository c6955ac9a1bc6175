#include "ui/widgets/ScrollPane.h"

#include <QScrollBar>
#include <QSignalBlocker>
#include <QWidget>
#include <algorithm>

ScrollPane::ScrollPane(int key, QWidget* slideBox, QWidget* mask, QScrollBar* scrollBar)
    : key_(key), slideBox_(slideBox), mask_(mask), scrollBar_(scrollBar) {
    // A page of the scrollbar is what the mask shows, so the handle's length
    // tells how much of the content is in view.
    scrollBar_->setPageStep(mask_->height());
    scrollBar_->setSingleStep(40);
    scrollBar_->setMaximum(0);
}

int ScrollPane::position() const { return scrollBar_->value(); }

void ScrollPane::setPositionQuietly(int position) {
    const QSignalBlocker quiet(scrollBar_);
    scrollBar_->setValue(position);
}

void ScrollPane::moveSlideBox(int top) { slideBox_->move(slideBox_->x(), top); }

void ScrollPane::reset(int top) {
    moveSlideBox(top);
    setPositionQuietly(0);
}

void ScrollPane::fitContent(int height, int extraMaximum) {
    slideBox_->resize(slideBox_->width(), std::max(0, height));
    setMaximum(height - mask_->height() + extraMaximum);
}

void ScrollPane::setMaximum(int maximum) {
    const QSignalBlocker quiet(scrollBar_);
    scrollBar_->setMaximum(std::max(0, maximum));
}
