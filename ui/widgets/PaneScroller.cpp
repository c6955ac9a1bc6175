#include "ui/widgets/PaneScroller.h"

#include "anim/AnimationObject.h"
#include "anim/Easing.h"
#include "ui/widgets/ScrollPane.h"

#include <QScrollBar>
#include <QWidget>

namespace {
constexpr double kTolerance = 0.0000001;
constexpr int kFrameInterval = 10;
constexpr int kGlideDuration = 400;
}  // namespace

PaneScroller::PaneScroller(AnimationObject& animation, QObject* parent) : QObject(parent), animation_(&animation) {}

PaneScroller::~PaneScroller() {
    if (animation_) animation_->setInterval(0);
}

void PaneScroller::addPane(ScrollPane* pane) {
    panes_[pane->key()] = pane;
    const int key = pane->key();
    connect(pane->scrollBar(), &QScrollBar::valueChanged, this, [this, key] { scrollPane(key); });
}

ScrollPane* PaneScroller::pane(int key) const {
    auto found = panes_.find(key);
    return found == panes_.end() ? nullptr : found->second;
}

void PaneScroller::scrollPane(int key) {
    ScrollPane* target = pane(key);
    if (!target) return;
    scrollTarget_ = -target->position();
    glideTo(key);
}

void PaneScroller::scrollBy(int key, int delta) {
    ScrollPane* target = pane(key);
    if (!target) return;
    target->setPositionQuietly(target->position() + delta);
    scrollPane(key);
}

void PaneScroller::glideTo(int key) {
    QWidget* slideBox = pane(key)->slideBox();
    const int height = slideBox->height();
    if (!(scrollTarget_ > -height + kTolerance)) scrollTarget_ = -height;
    const int startTop = slideBox->y();
    if (scrollTarget_ >= 0) scrollTarget_ = 0;
    scrollPaneKey_ = key;
    // One animation serves every pane: stopping it here leaves a pane that
    // was gliding where it is, and the frames go to the newest pane.
    if (!animation_) return;
    animation_->setInterval(0);
    animation_->start(
        Easing::kQuinticOut, [this](double top, double) { onFrame(top); }, {}, kFrameInterval, kGlideDuration);
    animation_->setStartValue(startTop);
    animation_->setEndValue(scrollTarget_);
}

void PaneScroller::onFrame(double top) {
    ScrollPane* current = pane(scrollPaneKey_);
    if (!current) return;
    current->moveSlideBox(static_cast<int>(top));
    current->setPositionQuietly(-scrollTarget_);
}
