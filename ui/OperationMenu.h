#pragma once
// The pop-up menu of the playlist page's "···" button: add the playlist's
// songs to the play queue, subscribe the playlist, unsubscribe it. Each item
// is 120 by 40 pixels, captioned in the list typeface at 14 pixels.
#include <QMenu>
#include <string>

class OperationMenu : public QMenu {
public:
    explicit OperationMenu(QWidget* parent);

    QAction* addToQueueItem() const { return addToQueue_; }
    QAction* subscribeItem() const { return subscribe_; }
    QAction* unsubscribeItem() const { return unsubscribe_; }

    // Opens the menu at the mouse pointer, its captions in `typeface`.
    void popUpAtPointer(const std::string& typeface);

private:
    QAction* addToQueue_;
    QAction* subscribe_;
    QAction* unsubscribe_;
};
