#pragma once
// The pop-up menu of a song list page's "···" button: add the page's songs to
// the play queue and, for a playlist, subscribe or unsubscribe it. Each item
// is 120 by 40 pixels, captioned in the list typeface at 14 pixels.
#include <QMenu>
#include <string>

class OperationMenu : public QMenu {
public:
    enum class Offers { Queue, QueueAndSubscribe };

    OperationMenu(QWidget* parent, Offers offers);

    QAction* addToQueueItem() const { return addToQueue_; }
    // nullptr unless the menu offers subscribing.
    QAction* subscribeItem() const { return subscribe_; }
    QAction* unsubscribeItem() const { return unsubscribe_; }

    // Opens the menu at the mouse pointer, its captions in `typeface`.
    void popUpAtPointer(const std::string& typeface);

private:
    QAction* addToQueue_;
    QAction* subscribe_ = nullptr;
    QAction* unsubscribe_ = nullptr;
};
