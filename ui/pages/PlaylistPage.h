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
#include "ui/lists/LatestLoad.h"
#include "ui/pages/SongListPage.h"

#include <string>

class PlaylistPage : public SongListPage {
public:
    PlaylistPage(Navigation& navigation, QScrollBar* scrollBar);

    // Loads the playlist the destination names.
    void open(const Destination& destination) override;
    void showFeeds(CatalogueFeeds& feeds) override;

    // Subscribes or unsubscribes the playlist shown for the logged-in user,
    // through the account; logged out, the login notice.
    void subscribeShown(SubscribeAction action);
    void followAccount(Account& account) override;

    const std::string& playlistId() const { return playlistId_; }

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
    Account* account_ = nullptr;  // the account the subscriptions go through
};
