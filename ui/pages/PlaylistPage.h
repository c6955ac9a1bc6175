#pragma once
// The playlist page (page 7): one playlist's cover, name, creator and
// description over its songs. Activating a song plays it, "播放" plays the
// first, and the "···" menu queues the songs or subscribes the playlist.
// Every playlist list of the program opens it through `openPageOnClick`,
// which has the router open it for the playlist.
//
// The page is the view of the catalogue's playlist feeds: the header and the
// songs load side by side, and opening another playlist drops whatever the
// older loads still deliver. Songs come 200 at a time; scrolling near the
// end of the list asks for the next 200.
#include "api/CloudRecords.h"
#include "base/BackgroundTask.h"
#include "ui/lists/LatestLoad.h"
#include "ui/pages/SongListPage.h"

#include <string>

class PlaylistPage : public SongListPage {
    Q_OBJECT
public:
    PlaylistPage(Navigation& navigation, QScrollBar* scrollBar);
    ~PlaylistPage() override;

    // Loads the playlist the destination names.
    void open(const Destination& destination) override;
    void showFeeds(CatalogueFeeds& feeds) override;

    // Subscribes or unsubscribes the playlist shown for the logged-in user.
    void subscribeShown(SubscribeAction action);

    const std::string& playlistId() const { return playlistId_; }

signals:
    // The service confirmed a subscription or its end: the account's
    // playlists changed.
    void subscriptionsChanged();

protected:
    // Watches the slide box: near the end of the list the next songs load.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Shows the header's texts at once and its cover once it is in.
    void showHeader(const PlaylistDetail& detail);
    void offerSubscription(const PlaylistDetail& detail);

    QLabel* creator_;
    std::string playlistId_;  // the playlist shown
    LatestLoad coverLoad_{this};
    TaskOwner tasks_;  // last: its tasks stop before anything above goes
};
