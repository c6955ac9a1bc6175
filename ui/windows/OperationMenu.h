#pragma once
// The pop-up menu of a song list page's "···" button: add the page's songs to
// the play queue and, for a playlist, subscribe it or unsubscribe it,
// whichever applies. Each item is 120 by 40 pixels, captioned in the list
// typeface at 14 pixels.
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
    // What the subscription items offer: "收藏该歌单" for a playlist the
    // user has not subscribed, "取消收藏该歌单" for one they have, neither
    // for the user's own.
    enum class Subscription { NotSubscribed, Subscribed, Own };
    void offerFor(Subscription subscription);

    // Opens the menu at the mouse pointer, its captions in `typeface`.
    void popUpAtPointer(const std::string& typeface);

private:
    QAction* addToQueue_;
    QAction* subscribe_ = nullptr;
    QAction* unsubscribe_ = nullptr;
};
