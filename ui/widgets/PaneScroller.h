#pragma once
// Scrolls the scroll panes with one shared eased animation: a scroll request
// glides the pane's slide box to the top its scrollbar asks for, and a new
// request on any pane takes the animation over from the one before.
// Lives on the UI thread.
#include <QObject>
#include <QPointer>
#include <map>

class AnimationObject;
class ScrollPane;

class PaneScroller : public QObject {
public:
    explicit PaneScroller(AnimationObject& animation, QObject* parent = nullptr);
    // Stops a glide in progress: its frames would come to a scroller that is gone.
    ~PaneScroller() override;

    // Makes the pane scrollable by key; moving its scrollbar scrolls it.
    void addPane(ScrollPane* pane);
    ScrollPane* pane(int key) const;

    // Glides the pane to the top its scrollbar position asks for.
    void scrollPane(int key);
    // Moves the pane's scrollbar by `delta` (clamped to its range), then scrolls.
    void scrollBy(int key, int delta);

    int scrollTarget() const { return scrollTarget_; }
    int scrollPaneKey() const { return scrollPaneKey_; }

private:
    void glideTo(int key);
    void onFrame(double top);

    QPointer<AnimationObject> animation_;
    std::map<int, ScrollPane*> panes_;
    int scrollTarget_ = 0;   // the top the pane being scrolled glides to, 0 or less
    int scrollPaneKey_ = 0;  // the pane being scrolled
};
