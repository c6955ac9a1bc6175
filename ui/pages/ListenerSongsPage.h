#pragma once
// The listener's song lists (page 15): today's recommended songs
// ("每日推荐"), the songs played on this machine ("最近播放") and the
// service's record of the week ("听歌排行"), each a song list like a
// playlist's: "播放" plays the first, the "···" menu queues them all,
// activating a song plays it. The account's lists need a login; opening
// one while logged out shows the login notice instead.
//
// The page is the view of the listener feeds; opening another list drops
// whatever an older load still delivers. UI thread only.
#include "browse/Router.h"
#include "player/ListeningHistory.h"
#include "ui/pages/SongListPage.h"

#include <functional>
#include <vector>

class ListenerSongsPage : public SongListPage {
public:
    enum class List { Daily, PlayedHere, WeekRecord };

    ListenerSongsPage(Navigation& navigation, QScrollBar* scrollBar);

    // Takes the user to `list` through `router`, coming from `from`; an
    // account's list while logged out shows the login notice instead and
    // goes nowhere. Returns whether it went.
    static bool go(Router& router, List list, bool loggedIn, Place from);

    // Where the songs played here come from (the listening history).
    void setHistory(std::function<std::vector<PlayedSong>()> history) { history_ = std::move(history); }
    // Loads the list the destination names, afresh.
    void open(const Destination& destination) override;
    void showFeeds(CatalogueFeeds& feeds) override;

    List shownList() const { return shown_; }

private:
    CatalogueFeeds* feeds_ = nullptr;
    std::function<std::vector<PlayedSong>()> history_;
    List shown_ = List::Daily;
};
