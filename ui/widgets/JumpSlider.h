#pragma once
// A slider that goes where it is clicked: a left press moves the handle to
// the spot under the mouse at once and drags it from there, instead of
// stepping a page towards it. The press, the moves and the release raise
// QSlider's signals as a drag of the handle does. UI thread only.
#include <QSlider>

class JumpSlider : public QSlider {
    Q_OBJECT
public:
    explicit JumpSlider(QWidget* parent = nullptr);

    // The value the slider takes for a click at `x` (in its own pixels).
    int valueAt(int x) const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};
