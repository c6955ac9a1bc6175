#pragma once
// Lets the controls of a container placed at fixed coordinates follow the
// container's size. The container's size when the follower is made is its
// designed size; at that size every control is where its creator put it. As
// the container grows or shrinks by e pixels, each control, by where it
// sits in the designed size:
//   - one wider (taller) than half the container stretches by e;
//   - one whose left (top) edge lies at or beyond `farFrom`, or whose far
//     edge reaches the container's, or that lies in the far half and ends
//     in its last eighth, moves by e (it keeps to the far edge);
//   - one whose left edge lies at or beyond `middleFrom` moves by e/2 as
//     the container grows (it keeps to the middle) and by e as it shrinks
//     (it keeps clear of what follows the far edge);
//   - a label at least a quarter as wide (tall) as the container and twice
//     as wide as tall (tall as wide), a line of text, gives up e pixels as
//     the container shrinks and keeps its size as it grows;
//   - any other stays.
// The offsets are worked out from e each time, so any sequence of resizes
// that ends at the designed size puts every control back exactly. Controls
// added later follow from the moment they are polished. UI thread only.
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QSize>
#include <optional>

class QWidget;

class EdgeFollower : public QObject {
public:
    // Where the regions of one axis begin, in pixels of the designed size.
    struct Axis {
        bool follows = true;
        std::optional<int> farFrom{};     // default: three quarters of the axis
        std::optional<int> middleFrom{};  // default: no middle region
    };

    // Follows `container`, a parent of the controls; owned by it.
    EdgeFollower(QWidget* container, Axis horizontal, Axis vertical);

    // What a control does along one axis.
    enum class Anchor { Stay, Stretch, Middle, Far, Shrink };

    // The anchor of a control spanning `start` … `start + length` in a
    // designed axis of `designed` pixels, `across` pixels in the other;
    // `text` for a label.
    static Anchor anchorOf(int start, int length, int across, int designed, const Axis& axis, bool text);
    // How far that anchor moves or stretches a control at `extra` pixels
    // beyond the designed axis.
    static int offsetOf(Anchor anchor, int extra);

    // Stops following `control`; its owner places it from now on.
    void leave(QWidget* control);
    // Places every control for the container's size now. Resizes do this
    // by themselves; a container resized while hidden learns of it only
    // when shown, so whoever needs its controls placed at once asks here.
    void placeAll();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Follow {
        QPointer<QWidget> control;
        Anchor horizontal;
        Anchor vertical;
        QSize appliedExtra;  // the container's extra size the control was last placed for
    };

    void follow(QWidget* control);
    void place(Follow& follow) const;

    QWidget* container_;
    QSize designed_;
    Axis horizontal_, vertical_;
    QHash<QWidget*, Follow> follows_;
    QSet<QWidget*> left_;  // controls their owners place
};
