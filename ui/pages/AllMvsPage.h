#pragma once
// The all-MV page (page 4): every MV the service offers, each played through
// the MV flow; reached from the home page's "查看全部" for MVs.
#include "ui/pages/Navigation.h"
#include "ui/pages/Page.h"

class IconList;
class QScrollBar;

class AllMvsPage : public Page {
public:
    AllMvsPage(Navigation& navigation, QScrollBar* scrollBar);

    // Shows the page and loads the MV feed without waiting for it.
    void open();

    IconList* mvList() const { return mvs_; }
    const ItemIds& mvIds() const { return mvIds_; }
    void showFeeds(CatalogueFeeds& feeds) override;

private:
    Navigation& navigation_;
    IconList* mvs_;
    ItemIds mvIds_;
};
