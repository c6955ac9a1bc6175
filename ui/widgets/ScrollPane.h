#pragma once
// A scroll pane: a slide box that moves up and down inside its mask, and the
// scrollbar that tells how far. When the scrollbar is at p the slide box's
// resting top is -p, within -(slide box height) to 0.
class QScrollBar;
class QWidget;

class ScrollPane {
public:
    ScrollPane(int key, QWidget* slideBox, QWidget* mask, QScrollBar* scrollBar);

    int key() const { return key_; }
    QWidget* slideBox() const { return slideBox_; }
    QWidget* mask() const { return mask_; }
    QScrollBar* scrollBar() const { return scrollBar_; }

    int position() const;
    // Moves the scrollbar without asking for a scroll.
    void setPositionQuietly(int position);
    void moveSlideBox(int top);

    // What list fillers do before filling: slide box to `top`, scrollbar to 0.
    void reset(int top = 10);
    // The slide box takes the content's height; the scrollbar can then move
    // it until its bottom meets the mask's, plus `extraMaximum`.
    void fitContent(int height, int extraMaximum = 0);
    // The scrollbar's maximum, without changing the slide box.
    void setMaximum(int maximum);
    // The mask changed height: a page of the scrollbar is what it shows now,
    // and the maximum changes by as much as the mask's height did (however
    // far the content could move below the mask stays), within 0 and up.
    // A slide box scrolled beyond the new maximum comes back to it.
    void followMaskHeight();
    // The content grew by `delta` pixels (shrank, when negative) below what
    // was fitted: the slide box and the scrollbar's maximum grow by as much.
    void growContent(int delta);

private:
    void applyMaximum();

    int key_;
    QWidget* slideBox_;
    QWidget* mask_;
    QScrollBar* scrollBar_;
    // The maximum asked for last and the mask's height then; the maximum
    // follows the mask's height from there.
    int askedMaximum_ = 0;
    int maskHeightAtAsk_ = 0;
};
