#pragma once
// The charts page (page 2): the view of the service's charts feed, each
// chart opening the playlist page. Loaded once at start-up.
#include "ui/pages/CoverGrid.h"
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
    // `columns` is how many covers a row holds (five at the designed width).
    static int listHeight(std::int64_t itemCount, int columns = CoverGrid::kColumns);
    static int slideBoxHeight(std::int64_t itemCount, int columns = CoverGrid::kColumns);

    void showFeeds(CatalogueFeeds& feeds) override;

protected:
    void widthChanged() override;

private:
    // The list and the slide box take the height of `itemCount` covers at
    // the list's width.
    void fitList(int itemCount);
    Navigation& navigation_;
    IconList* charts_;
    ItemIds chartIds_;
};
