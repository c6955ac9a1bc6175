#pragma once
// The artist-MV page (page 13): up to 50 MVs of the artist the artist page
// shows, under that artist's picture and name; each MV goes to the MV flow.
#include "ui/lists/LatestLoad.h"
#include "ui/pages/Navigation.h"
#include "ui/pages/Page.h"

#include <cstdint>
#include <string>

class IconList;
class PictureBox;
class QLabel;
class QScrollBar;

class ArtistMvsPage : public Page {
public:
    ArtistMvsPage(Navigation& navigation, QScrollBar* scrollBar);

    // Starts filling the list with the MVs of the artist `destination` names.
    void open(const Destination& destination) override;
    void showFeeds(CatalogueFeeds& feeds) override;

    PictureBox* picture() const { return picture_; }
    QLabel* heading() const { return heading_; }
    IconList* mvList() const { return mvs_; }
    const ItemIds& mvIds() const { return mvIds_; }

    // The list's height, which the slide box takes too, for `itemCount` MVs.
    static int listHeight(std::int64_t itemCount);

private:
    Navigation& navigation_;
    PictureBox* picture_;
    QLabel* heading_;
    IconList* mvs_;
    ItemIds mvIds_;
    LatestLoad pictureLoad_{this};
};
