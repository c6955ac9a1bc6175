#include "ui/widgets/EdgeFollower.h"

#include <QChildEvent>
#include <QEvent>
#include <QLabel>
#include <QWidget>
#include <algorithm>
#include <cstdint>

namespace {

// A far edge within this many pixels of the container's counts as on it.
constexpr int kFarEdgeSlack = 8;

}  // namespace

EdgeFollower::EdgeFollower(QWidget* container, Axis horizontal, Axis vertical)
    : QObject(container),
      container_(container),
      designed_(container->size()),
      horizontal_(horizontal),
      vertical_(vertical) {
    for (QObject* child : container->children())
        if (child->isWidgetType()) follow(static_cast<QWidget*>(child));
    container->installEventFilter(this);
}

EdgeFollower::Anchor EdgeFollower::anchorOf(int start, int length, int across, int designed, const Axis& axis,
                                            bool text) {
    if (!axis.follows) return Anchor::Stay;
    if (std::int64_t(length) * 2 > designed) return Anchor::Stretch;
    const int farFrom = axis.farFrom.value_or(designed * 3 / 4);
    const std::int64_t end = std::int64_t(start) + length;
    const bool endsInLastEighth = std::int64_t(start) * 2 >= designed && end * 8 >= std::int64_t(designed) * 7;
    if (start >= farFrom || end >= designed - kFarEdgeSlack || endsInLastEighth) return Anchor::Far;
    if (axis.middleFrom && start >= *axis.middleFrom) return Anchor::Middle;
    if (text && std::int64_t(length) * 4 >= designed && length >= std::int64_t(across) * 2) return Anchor::Shrink;
    return Anchor::Stay;
}

int EdgeFollower::offsetOf(Anchor anchor, int extra) {
    switch (anchor) {
        case Anchor::Stay: return 0;
        case Anchor::Stretch:
        case Anchor::Far: return extra;
        case Anchor::Middle: return extra >= 0 ? extra / 2 : extra;
        case Anchor::Shrink: return std::min(extra, 0);
    }
    return 0;
}

// A control is classified once, by where its creator placed it in the
// designed size; it has been placed for no extra size yet.
void EdgeFollower::follow(QWidget* control) {
    if (control->isWindow() || follows_.contains(control) || left_.contains(control)) return;
    const QRect r = control->geometry();
    const bool text = qobject_cast<QLabel*>(control) != nullptr;
    follows_.insert(control,
                    {control, anchorOf(r.x(), r.width(), r.height(), designed_.width(), horizontal_, text),
                     anchorOf(r.y(), r.height(), r.width(), designed_.height(), vertical_, text), QSize(0, 0)});
    connect(control, &QObject::destroyed, this, [this, control] { follows_.remove(control); });
}

// Moves or stretches the control by the change of its offsets since it was
// last placed; whatever else its owner did to it (a height set by a list
// fill, a slide box scrolled) stays.
void EdgeFollower::place(Follow& f) const {
    if (!f.control) return;
    const QSize extra = container_->size() - designed_;
    const int dx = offsetOf(f.horizontal, extra.width()) - offsetOf(f.horizontal, f.appliedExtra.width());
    const int dy = offsetOf(f.vertical, extra.height()) - offsetOf(f.vertical, f.appliedExtra.height());
    f.appliedExtra = extra;
    if (dx == 0 && dy == 0) return;
    QRect r = f.control->geometry();
    const auto resizes = [](Anchor anchor) { return anchor == Anchor::Stretch || anchor == Anchor::Shrink; };
    if (resizes(f.horizontal))
        r.setWidth(r.width() + dx);
    else
        r.translate(dx, 0);
    if (resizes(f.vertical))
        r.setHeight(r.height() + dy);
    else
        r.translate(0, dy);
    f.control->setGeometry(r);
}

void EdgeFollower::leave(QWidget* control) {
    follows_.remove(control);
    left_.insert(control);
    connect(control, &QObject::destroyed, this, [this, control] { left_.remove(control); });
}

void EdgeFollower::placeAll() {
    for (Follow& f : follows_) place(f);
}

bool EdgeFollower::eventFilter(QObject* watched, QEvent* event) {
    if (watched != container_) return false;
    if (event->type() == QEvent::Resize) {
        placeAll();
    } else if (event->type() == QEvent::ChildPolished) {
        // A control made after the follower is placed for the size the
        // container has now, once its creator has put it where it belongs.
        QObject* child = static_cast<QChildEvent*>(event)->child();
        auto* control = child->isWidgetType() ? static_cast<QWidget*>(child) : nullptr;
        if (control && !follows_.contains(control)) {
            follow(control);
            if (follows_.contains(control)) place(follows_[control]);
        }
    }
    return false;
}
