#pragma once
// The all-artists page (page 12): up to 50 artists matching a keyword, each
// opening the artist page; reached from the search page's artist row.
#include "ui/pages/Navigation.h"
#include "ui/pages/Page.h"

#include <QString>

class IconList;
class QLabel;
class QScrollBar;

class AllArtistsPage : public Page {
public:
    AllArtistsPage(Navigation& navigation, QScrollBar* scrollBar);

    // Titles the page with `keyword`, shows it and searches the artists
    // without waiting for them.
    void open(const QString& keyword);
    void showFeeds(CatalogueFeeds& feeds) override;

    QLabel* heading() const { return heading_; }
    IconList* artistList() const { return artists_; }
    const ItemIds& artistIds() const { return artistIds_; }

    // The list's height for `itemCount` artists; the slide box takes it too.
    static int listHeight(int itemCount) { return itemCount * 37 + 300; }

private:
    Navigation& navigation_;
    QLabel* heading_;
    IconList* artists_;
    ItemIds artistIds_;
};
