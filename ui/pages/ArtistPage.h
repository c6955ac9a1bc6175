#pragma once
// The artist page (page 5): one artist's picture, name, identity line and
// short description over up to ten of the artist's albums and ten of the
// artist's MVs. An album opens the album page, an MV goes to the MV flow,
// and the MVs' "查看全部" opens the artist-MV page. The home page's
// artists, the search page's artist row and the all-artists page open it
// through `openPageOnClick`.
//
// The header, the albums and the MVs load side by side, each superseding
// its older load, so opening two artists quickly ends with the second.
#include "api/CloudRecords.h"
#include "browse/CatalogueFeeds.h"
#include "ui/lists/IconTemplate.h"
#include "ui/lists/LatestLoad.h"
#include "ui/pages/Navigation.h"
#include "ui/pages/Page.h"

#include <string>

class IconList;
class PictureBox;
class QLabel;
class QScrollBar;

class ArtistPage : public Page {
public:
    static constexpr int kShownItems = CatalogueFeeds::kArtistPageItems;  // albums, and MVs
    static constexpr int kAlbumListHeight = 530;
    static constexpr int kMvListHeight = 750;

    ArtistPage(Navigation& navigation, QScrollBar* scrollBar);

    // Loads the artist in the navigation state's `selectedArtistId`.
    void loadSelected() override;
    void showFeeds(CatalogueFeeds& feeds) override;
    // Shows the artist-MV page for the artist shown here.
    void openArtistMvs();

    const std::string& artistId() const { return artistId_; }
    PictureBox* picture() const { return picture_; }
    QLabel* nameLabel() const { return name_; }
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

    Navigation& navigation_;
    PictureBox* picture_;
    QLabel* name_;
    QLabel* identity_;
    QLabel* description_;
    IconList* albums_;
    IconList* mvs_;

    std::string artistId_;  // the artist shown
    ItemIds albumIds_;      // UI thread only, like every id list
    ItemIds mvIds_;
    BackgroundTask::Handle headerTask_;
    LatestLoad pictureLoad_{this};
};
