#pragma once
// The artist page (page 5): one artist's picture, name, identity line and
// short description over the artist's most popular songs, up to ten of the
// artist's albums and ten of the artist's MVs, each part below the one
// before as far as it reaches. A song plays when activated, an album opens
// the album page, an MV goes to the MV flow, and the MVs' "查看全部" opens
// the artist-MV page. The home page's
// artists, the search page's artist row and the all-artists page open it
// through `openPageOnClick`.
//
// The header, the songs, the albums and the MVs load side by side, each superseding
// its older load, so opening two artists quickly ends with the second.
#include "api/CloudRecords.h"
#include "browse/CatalogueFeeds.h"
#include "ui/lists/IconTemplate.h"
#include "ui/lists/LatestLoad.h"
#include "ui/pages/Navigation.h"
#include "ui/pages/Page.h"

#include <string>

class FlatButton;
class IconList;
class PictureBox;
class QLabel;
class QScrollBar;
class TrackList;

class ArtistPage : public Page {
public:
    static constexpr int kShownItems = CatalogueFeeds::kArtistPageItems;  // albums, and MVs
    static constexpr int kAlbumListHeight = 530;
    static constexpr int kMvListHeight = 750;

    ArtistPage(Navigation& navigation, QScrollBar* scrollBar);

    // Loads the artist the destination names.
    void open(const Destination& destination) override;
    void showFeeds(CatalogueFeeds& feeds) override;
    void lockPlayStarters(bool locked) override;
    // Shows the artist-MV page for the artist shown here.
    void openArtistMvs();

    const std::string& artistId() const { return artistId_; }
    PictureBox* picture() const { return picture_; }
    QLabel* nameLabel() const { return name_; }
    TrackList* songList() const { return songs_; }
    IconList* albumList() const { return albums_; }
    IconList* mvList() const { return mvs_; }
    const ItemIds& albumIds() const { return albumIds_; }
    const ItemIds& mvIds() const { return mvIds_; }
    // The header's request, for callers that wait for it.
    const BackgroundTask::Handle& headerLoad() const { return headerTask_; }

private:
    void showHeader(const ArtistDetail& detail);
    void showPicture(const ArtistDetail& detail);
    using MakeTemplate = IconTemplate (*)(const TypefaceChoice& type);
    void showList(Feed<CoverItem>& feed, IconList* list, MakeTemplate makeTemplate, ItemIds* ids, int height);
    // Stacks the songs, the albums and the MVs below the header, each as
    // tall as what it shows, and fits the pane to them.
    void layOutParts();

    Navigation& navigation_;
    PictureBox* picture_;
    QLabel* name_;
    QLabel* identity_;
    QLabel* description_;
    QLabel* songsHeading_;
    TrackList* songs_;
    QLabel* albumsHeading_;
    FlatButton* allAlbums_;
    IconList* albums_;
    QLabel* mvsHeading_;
    FlatButton* allMvs_;
    IconList* mvs_;

    std::string artistId_;  // the artist shown
    ItemIds albumIds_;      // UI thread only, like every id list
    ItemIds mvIds_;
    BackgroundTask::Handle headerTask_;
    LatestLoad pictureLoad_{this};
};
