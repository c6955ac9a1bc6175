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
    maskHeightAtAsk_ = mask_->height();
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
    askedMaximum_ = maximum;
    maskHeightAtAsk_ = mask_->height();
    applyMaximum();
}

void ScrollPane::growContent(int delta) {
    if (delta == 0) return;
    slideBox_->resize(slideBox_->width(), std::max(0, slideBox_->height() + delta));
    askedMaximum_ += delta;
    applyMaximum();
}

void ScrollPane::followMaskHeight() {
    scrollBar_->setPageStep(mask_->height());
    applyMaximum();
}

// The maximum asked for, less what the mask grew since; a scrollbar past
// the new maximum comes back to it, and the slide box moves back by as much.
void ScrollPane::applyMaximum() {
    const int before = position();
    const QSignalBlocker quiet(scrollBar_);
    scrollBar_->setMaximum(std::max(0, askedMaximum_ - (mask_->height() - maskHeightAtAsk_)));
    if (position() != before) moveSlideBox(slideBox_->y() + (before - position()));
}
