#pragma once
// The artist-MV page (page 13): up to 50 MVs of the artist the artist page
// shows, under that artist's picture and name; each MV goes to the MV flow.
#include "ui/pages/Navigation.h"
#include "ui/pages/Page.h"

#include <QImage>
#include <QString>
#include <cstdint>
#include <string>

class IconList;
class PictureBox;
class QLabel;
class QScrollBar;

class ArtistMvsPage : public Page {
public:
    ArtistMvsPage(Navigation& navigation, QScrollBar* scrollBar);

    // Heads the page with the artist's `picture` and `name`, shows it and
    // starts filling the list with the MVs of `artistId`.
    void open(const std::string& artistId, const QString& name, const QImage& picture);
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
};
