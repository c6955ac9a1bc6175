#pragma once
// The home page (page 0): a banner carousel, a daily MV strip, and four
// lists (recommended playlists, top artists, the newest albums and recent
// MVs), all loaded once at start-up. Playlists, artists and albums open
// their pages, MVs go to the MV flow.
#include "api/PackedItem.h"
#include "base/BackgroundTask.h"
#include "browse/Feed.h"
#include "ui/lists/IconListFill.h"
#include "ui/lists/LatestLoad.h"
#include "ui/pages/Navigation.h"
#include "ui/pages/Page.h"

#include <QImage>
#include <QTimer>
#include <array>
#include <memory>
#include <string>
#include <vector>

class IconList;
class RowStack;
class PictureBox;
class QAbstractButton;
class QScrollBar;

class HomePage : public Page {
    Q_OBJECT
public:
    // How often the carousel moves on.
    static constexpr int kCarouselIntervalMs = 3000;

    HomePage(Navigation& navigation, QScrollBar* scrollBar);
    ~HomePage() override;

    // Loads every section's feed at once (the banners, the daily MVs and the
    // four lists, each shown with its pictures); `loaded` follows when the
    // last is in. `accountCookie` personalises the recommended playlists.
    // Sections whose request failed show the failure line; its click loads
    // them again.
    void load(const std::string& accountCookie);
    // Loads again what the account personalises (the recommended
    // playlists), after a login or log-out.
    void reloadForAccount(const std::string& accountCookie);
    // No section is still loading (true before `load` too).
    bool isLoaded() const { return sectionsPending_ == 0; }

    // The carousel's step: the next of the banner slots it cycles through,
    // at most five (2, 3, 4, 5, 1, ...) and never more than there are banners.
    void stepCarousel();
    // The daily MV strip: the next MV (after the last, the first again), and
    // playing the one shown. Both do nothing without daily MVs.
    void showNextDailyMv();
    void playDailyMv();

    int carouselPosition() const { return carouselPosition_; }
    int dailyMvPosition() const { return dailyMvPosition_; }
    QTimer& carouselTimer() { return carousel_; }
    PictureBox* bannerPicture() const { return banner_; }
    PictureBox* dailyMvPicture() const { return dailyMv_; }
    // The banner picture of carousel slot `position` (1 to 8).
    QImage bannerSlot(int position) const;
    IconList* playlistList() const { return playlists_; }
    IconList* artistList() const { return artists_; }
    IconList* albumList() const { return albums_; }
    IconList* mvList() const { return mvs_; }
    const ItemIds& playlistIds() const { return playlistIds_; }
    const ItemIds& artistIds() const { return artistIds_; }
    const ItemIds& albumIds() const { return albumIds_; }
    const ItemIds& mvIds() const { return mvIds_; }

    void showFeeds(CatalogueFeeds& feeds) override;

protected:
    void widthChanged() override;

signals:
    // Every section is in (or failed and stays empty).
    void loaded();

private:
    // The sections whose arrival makes the page loaded.
    enum class Section { Banners, DailyMvs, Playlists, Artists, Albums, Mvs, Count };

    void buildDailyMvStrip(QWidget* box);
    void connectItemEvents();
    void showAllPlaylists();
    void showAllMvs();

    using MakeTemplate = IconTemplate (*)(const TypefaceChoice& type);
    // The list as the view of `feed`, drawn in the list typeface of the
    // moment it fills.
    void showList(Feed<CoverItem>& feed, IconList* list, Section section, MakeTemplate makeTemplate, IconListFill look);
    void layOutSections();
    void showBanners(const std::vector<PackedItem>& items);
    void showDailyMvs(const std::vector<PackedItem>& items);
    void sectionShown(Section section);
    // `section` is in once `task` has ended (at once without a task).
    void whenDone(const BackgroundTask::Handle& task, Section section);
    void showBannerAt(int position);

    Navigation& navigation_;
    IconList* playlists_;
    IconList* artists_;
    IconList* albums_;
    IconList* mvs_;
    PictureBox* banner_;
    PictureBox* dailyMv_;
    QTimer carousel_;
    std::unique_ptr<RowStack> sections_;

    // Owned by the UI thread; tasks hand whole results over.
    ItemIds playlistIds_;
    ItemIds artistIds_;
    ItemIds albumIds_;
    ItemIds mvIds_;
    std::vector<PackedItem> bannerItems_;
    std::array<QImage, 8> bannerSlots_;  // slot k (1-based) holds banner k's picture
    int carouselPosition_ = 1;           // 1 to 5
    std::vector<PackedItem> dailyMvItems_;
    std::vector<QImage> dailyMvPictures_;  // index-aligned with the items
    int dailyMvPosition_ = 1;              // 1-based
    std::array<bool, size_t(Section::Count)> pendingSections_{};
    int sectionsPending_ = 0;
    // Last: their tasks end before anything above goes.
    LatestLoad bannerLoad_{this};
    LatestLoad dailyMvLoad_{this};
};
