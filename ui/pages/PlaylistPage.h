#pragma once
// The playlist page (page 7): one playlist's cover, name, creator and
// description over its songs. Activating a song plays it, "播放" plays the
// first, and the "···" menu queues the songs or subscribes the playlist.
// Every playlist list of the program opens it through `openPageOnClick`,
// which selects the playlist, shows the page and calls `loadSelected`.
//
// The header and the songs load side by side, each with its own load
// generation: opening another playlist drops whatever the older loads still
// deliver. Songs come 200 at a time; scrolling near the end of the list asks
// for the next 200.
#include "api/CloudRecords.h"
#include "base/BackgroundTask.h"
#include "ui/Navigation.h"
#include "ui/Page.h"

#include <QImage>
#include <cstdint>
#include <string>

class OperationMenu;
class PictureBox;
class QLabel;
class QPushButton;
class QScrollBar;
class TrackList;

class PlaylistPage : public Page {
public:
    PlaylistPage(Navigation& navigation, QScrollBar* scrollBar);
    ~PlaylistPage() override;

    // Loads the playlist in the navigation state's `selectedPlaylistId`.
    void loadSelected() override;
    void lockPlayStarters(bool locked) override;

    // The menu's items.
    // Appends the songs listed so far to the play queue, in order.
    void addAllToQueue();
    // Subscribes or unsubscribes the playlist shown for the logged-in user.
    void subscribeShown(SubscribeAction action);

    const std::string& playlistId() const { return playlistId_; }
    TrackList* trackList() const { return tracks_; }
    // The songs' ids in list order.
    const ItemIds& songIds() const;
    PictureBox* cover() const { return cover_; }
    OperationMenu* operationMenu() const { return menu_; }

    // The slide box's height for `songCount` songs listed below the header.
    static int slideBoxHeight(std::int64_t songCount);

protected:
    // Watches the slide box: near the end of the list the next songs load.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void loadHeader(const std::string& id);
    void showHeader(const PlaylistDetail& detail);
    void loadTracks(const std::string& id);
    void fitTracks(int songCount);
    void playFirst();

    Navigation& navigation_;
    PictureBox* cover_;
    QLabel* name_;
    QLabel* creator_;
    QLabel* description_;
    QPushButton* play_;
    TrackList* tracks_;
    OperationMenu* menu_;

    std::string playlistId_;  // the playlist shown
    std::uint64_t headerGeneration_ = 0;  // bumped by every header load; older ones are dropped
    BackgroundTask::Handle headerTask_;
    TaskOwner tasks_;  // last: its tasks stop before anything above goes
};
