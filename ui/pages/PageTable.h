#pragma once
// The sixteen pages of the main window's page area: their titles, their one
// container control and their scroll panes (the wheel scrolls every pane).
#include <QRect>
#include <QSize>
#include <array>
#include <optional>

namespace Pages {
constexpr int kHome = 0;
constexpr int kDiscover = 1;
constexpr int kCharts = 2;
constexpr int kLibraryPlaceholder = 3;
constexpr int kAllMvs = 4;
constexpr int kArtist = 5;
constexpr int kNewAlbums = 6;
constexpr int kPlaylist = 7;
constexpr int kSearch = 8;
constexpr int kLogin = 9;
constexpr int kSettings = 10;
constexpr int kMusicLibrary = 11;
constexpr int kAllArtists = 12;
constexpr int kArtistMvs = 13;
constexpr int kAlbum = 14;
constexpr int kListenerSongs = 15;
constexpr int kCount = 16;
}  // namespace Pages

// A scroll pane: a slide box moved up and down behind a mask by a scrollbar.
struct PaneLayout {
    int key;  // the pane's key in the scroll routine
    const char* slideBoxName;
    QSize slideBoxSize;  // placed at 0,0 of its mask, or at the container's place without one
    const char* scrollBarName;
};

struct PageLayout {
    enum class Container {
        None,
        SlideBox,  // the slide box sits on the page, which clips it
        Mask,      // a mask holds the slide box
        GroupBox,  // a plain panel, no scrolling
    };

    const char* title;
    Container container;
    const char* containerName;  // nullptr without a container
    QRect containerRect;
    std::optional<PaneLayout> pane;
};

// `index` 0 to `Pages::kCount` - 1.
const PageLayout& pageLayout(int index);

// The page area and the common place of the pages' scrollbars, in the window.
constexpr QRect kPageAreaRect{68, 108, 992, 651};
constexpr QRect kScrollBarRect{1077, 108, 12, 560};
