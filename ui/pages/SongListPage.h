#pragma once
// What the playlist and album pages share: a cover beside a name, a
// description, "播放" (plays the first song), "···" (a menu that queues the
// songs and maybe more) and a back button over a list of songs. Activating
// a song plays it. The page's slide box grows with the list.
#include "ui/pages/Navigation.h"
#include "ui/pages/Page.h"
#include "ui/windows/OperationMenu.h"

#include <cstdint>

class FlatButton;
class PictureBox;
class QLabel;
class QPushButton;
class QScrollBar;
class TrackList;

// The object names of the shared controls.
struct SongListPageNames {
    const char* cover;
    const char* name;
    const char* description;
    const char* play;
    const char* operations;
    const char* back;
    const char* tracks;
    const char* filter;  // the line that says what the list is filtered by
};

class SongListPage : public Page {
public:
    void lockPlayStarters(bool locked) override;
    // Appends the songs listed so far to the play queue, in order.
    void addAllToQueue();

    TrackList* trackList() const { return tracks_; }
    // The songs' ids in list order.
    const ItemIds& songIds() const;
    PictureBox* cover() const { return cover_; }
    OperationMenu* operationMenu() const { return menu_; }

    // The slide box's height for `songCount` songs listed below the header.
    static int slideBoxHeight(std::int64_t songCount);

    static constexpr QSize kCoverSize{300, 300};

protected:
    SongListPage(int index, QScrollBar* scrollBar, Navigation& navigation, const SongListPageNames& names,
                 OperationMenu::Offers offers);

    // The list and the slide box take the height of `songCount` songs.
    void fitTracks(int songCount);
    // The list draws its rows in the list typeface and takes its covers
    // from the window's pictures, as they are now.
    void followNavigation();

    Navigation& navigation_;
    PictureBox* cover_;
    QLabel* name_;
    QLabel* description_;
    QPushButton* play_;
    FlatButton* back_;
    TrackList* tracks_;
    OperationMenu* menu_;

private:
    void playFirst();
    void showFilter(const QString& filter, int rowCount);

    QLabel* filterLine_;
};
