#pragma once
// The discover page (page 1): up to 100 playlists of one category, chosen
// with a row of twelve category buttons; each playlist opens the playlist
// page. The chosen category's button is pink and disabled.
#include "ui/pages/CoverGrid.h"
#include "ui/pages/Navigation.h"
#include "ui/pages/Page.h"

#include <array>

class FlatButton;
class IconList;
class QScrollBar;

class DiscoverPage : public Page {
public:
    // The categories in the order of their buttons.
    enum Category {
        kAll,
        kRecommended,
        kHighQuality,
        kOfficial,
        kWestern,
        kPop,
        kRock,
        kElectronic,
        kRap,
        kChineseStyle,
        kLight,
        kMandarin,
        kCategoryCount
    };

    DiscoverPage(Navigation& navigation, QScrollBar* scrollBar);

    // Makes `category` the chosen one (its button pink and disabled, the
    // others grey and enabled) and fills the list with its playlists,
    // superseding a fill still running. Returns without waiting for the
    // fill; the page shown does not change.
    void selectCategory(Category category);
    Category category() const { return category_; }
    // What a destination names a category by: its caption.
    static std::string categoryKey(Category category);
    // Opened for a category's caption: that category is chosen.
    void open(const Destination& destination) override;
    void showFeeds(CatalogueFeeds& feeds) override;

    FlatButton* categoryButton(Category category) const { return buttons_[category]; }
    IconList* playlistList() const { return playlists_; }
    const ItemIds& playlistIds() const { return playlistIds_; }

    // Heights for `itemCount` playlists: the list's, and the slide box's,
    // which holds the buttons above the list too.
    // `columns` is how many covers a row holds (five at the designed width).
    static int listHeight(std::int64_t itemCount, int columns = CoverGrid::kColumns);
    static int slideBoxHeight(std::int64_t itemCount, int columns = CoverGrid::kColumns);

protected:
    void widthChanged() override;
    // Hovering a category button turns its text pink, leaving it grey
    // again; the chosen button stays pink.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The list and the slide box take the height of `itemCount` covers at
    // the list's width.
    void fitList(int itemCount);
    Navigation& navigation_;
    std::array<FlatButton*, kCategoryCount> buttons_{};
    IconList* playlists_;
    ItemIds playlistIds_;
    Category category_ = kAll;
};
