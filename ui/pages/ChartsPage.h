#pragma once
// The charts page (page 2): the view of the service's charts feed, each
// chart opening the playlist page. Loaded once at start-up.
#include "ui/pages/Navigation.h"
#include "ui/pages/Page.h"

class IconList;
class QScrollBar;

class ChartsPage : public Page {
public:
    ChartsPage(Navigation& navigation, QScrollBar* scrollBar);

    // Loads the charts feed again, superseding a load still running; returns
    // without waiting for it.
    void load();

    IconList* chartList() const { return charts_; }
    const ItemIds& chartIds() const { return chartIds_; }

    // Heights for `itemCount` charts: the list's, and the slide box's, which
    // holds the heading above the list too.
    static int listHeight(std::int64_t itemCount);
    static int slideBoxHeight(std::int64_t itemCount);

    void showFeeds(CatalogueFeeds& feeds) override;

private:
    Navigation& navigation_;
    IconList* charts_;
    ItemIds chartIds_;
};
