// The search page against the companion server: Enter in the toolbar's
// search box fills the four rows with the demo catalogue's answers, and the
// rows' items lead where they should.
#include "api/CloudApiClient.h"
#include "net/HttpClient.h"
#include "server/DemoServer.h"
#include "ui/lists/IconList.h"
#include "ui/pages/AlbumPage.h"
#include "ui/pages/AllArtistsPage.h"
#include "ui/pages/ArtistPage.h"
#include "ui/pages/PlaylistPage.h"
#include "ui/pages/SearchPage.h"
#include "ui/pictures/PicturePipeline.h"
#include "ui/widgets/FlatButton.h"
#include "ui/widgets/ScrollPane.h"
#include "ui/widgets/SearchBox.h"
#include "ui/widgets/Toolbar.h"
#include "ui/windows/MainWindow.h"

#include "PageTestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <algorithm>
#include <memory>

namespace {

// Matches an artist, her albums and songs, and a playlist named after her.
const QString kKeyword = "林夏";

class SearchPageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        HttpClient::globalInit();
        server_ = std::make_unique<DemoServer>();
        ASSERT_TRUE(server_->start());
    }
    static void TearDownTestSuite() { server_.reset(); }

    SearchPage& page() const { return *static_cast<SearchPage*>(window.page(Pages::kSearch)); }
    AllArtistsPage& allArtistsPage() const { return *static_cast<AllArtistsPage*>(window.page(Pages::kAllArtists)); }
    QLineEdit* box() const { return window.toolbar()->searchBox(); }

    // Types the keyword and presses Enter; returns once every row is filled
    // (the playlists come last).
    void search(const QString& keyword) {
        box()->setText(keyword);
        QTest::keyClick(box(), Qt::Key_Return);
        const size_t songCount = client.searchSongs(keyword.toStdString()).size();
        const size_t playlistCount = client.searchPlaylists(keyword.toStdString()).size();
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return page().songIds().size() == songCount && page().playlistIds().size() == playlistCount &&
                       page().playlistRow()->isEnabled();
            },
            20000));
    }

    static std::unique_ptr<DemoServer> server_;
    PageWindow view{server_->origin()};
    const CloudApiClient& client = view.client;
    MainWindow& window = view.window;
};

std::unique_ptr<DemoServer> SearchPageTest::server_;

TEST_F(SearchPageTest, EnterFillsTheFourRowsWithTheCataloguesAnswers) {
    search(kKeyword);
    EXPECT_EQ(window.currentPage(), Pages::kSearch);

    const auto artists = client.searchArtists(kKeyword.toStdString(), 3);
    const auto albums = client.searchAlbums(kKeyword.toStdString());
    const auto playlists = client.searchPlaylists(kKeyword.toStdString());
    const auto songs = client.searchSongs(kKeyword.toStdString());
    ASSERT_FALSE(artists.empty());
    ASSERT_FALSE(albums.empty());
    ASSERT_FALSE(playlists.empty());
    ASSERT_FALSE(songs.empty());

    EXPECT_EQ(itemTexts(*page().artistRow(), IconText::Main), names(artists));
    EXPECT_EQ(itemTexts(*page().artistRow(), IconText::Main).first(), "林夏");
    EXPECT_EQ(page().artistIds(), ids(artists));
    EXPECT_EQ(itemTexts(*page().albumRow(), IconText::Main), names(albums));
    EXPECT_EQ(page().albumIds(), ids(albums));
    EXPECT_TRUE(itemTexts(*page().albumRow(), IconText::Second).contains("林夏"));
    EXPECT_EQ(itemTexts(*page().playlistRow(), IconText::Main), names(playlists));
    EXPECT_TRUE(itemTexts(*page().playlistRow(), IconText::Main).contains("林夏喜欢的音乐"));
    EXPECT_EQ(page().playlistIds(), ids(playlists));

    EXPECT_EQ(itemTexts(*page().songList(), IconText::Main), names(songs));
    EXPECT_EQ(itemTexts(*page().songList(), IconText::Second), artistsOf(songs));
    EXPECT_EQ(page().songIds(), ids(songs));
    EXPECT_EQ(page().songList()->currentItem(), -1);

    // Fetched pictures for artists, albums and playlists; the note for songs.
    for (IconList* list : std::initializer_list<IconList*>{page().artistRow(), page().albumRow(), page().playlistRow(),
                                                           page().songList()}) {
        EXPECT_TRUE(list->isEnabled());
        for (int i = 0; i < list->itemCount(); ++i) EXPECT_FALSE(list->itemPicture(i).isNull()) << i;
    }
}

TEST_F(SearchPageTest, ItemsOpenTheirPagesOrAskForTheSongToPlay) {
    std::vector<std::string> played;
    std::vector<ItemIds> playedLists;
    QObject::connect(&window.router(), &Router::playListRequested, [&](const ItemIds& songs, int index) {
        played.push_back(songs.at(size_t(index)));
        playedLists.push_back(songs);
    });
    search(kKeyword);
    const Router& router = window.router();

    clickItem(page().artistRow(), 0);
    EXPECT_EQ(window.currentPage(), Pages::kArtist);
    EXPECT_EQ(router.backTarget(Place::Artist), Place::Search);
    EXPECT_EQ(static_cast<ArtistPage*>(window.page(Pages::kArtist))->artistId(), page().artistIds().at(0));

    window.showPage(Pages::kSearch);
    const int lastPlaylist = page().playlistRow()->itemCount() - 1;
    clickItem(page().playlistRow(), lastPlaylist);
    EXPECT_EQ(window.currentPage(), Pages::kPlaylist);
    EXPECT_EQ(router.backTarget(Place::Playlist), Place::Search);
    EXPECT_EQ(static_cast<PlaylistPage*>(window.page(Pages::kPlaylist))->playlistId(),
              page().playlistIds().at(size_t(lastPlaylist)));

    window.showPage(Pages::kSearch);
    const int lastSong = page().songList()->itemCount() - 1;
    QTest::mouseDClick(page().songList(), Qt::LeftButton, {}, page().songList()->itemRect(lastSong).center());
    EXPECT_EQ(played, std::vector<std::string>{page().songIds().at(size_t(lastSong))});
    QTest::mouseClick(window.findChild<FlatButton*>("标签按钮_播放搜索歌曲"), Qt::LeftButton);
    EXPECT_EQ(played.back(), page().songIds().at(0)) << "播放全部 starts with the first song found";
    EXPECT_EQ(playedLists, std::vector<ItemIds>(2, page().songIds())) << "each play queues every song found";
    EXPECT_EQ(window.currentPage(), Pages::kSearch);

    clickItem(page().albumRow(), 0);
    EXPECT_EQ(window.currentPage(), Pages::kAlbum);
    EXPECT_EQ(router.backTarget(Place::Album), Place::Search);
    EXPECT_EQ(static_cast<AlbumPage*>(window.page(Pages::kAlbum))->albumId(), page().albumIds().at(0));
}

TEST_F(SearchPageTest, TheAllArtistsPageListsUpToFiftyArtists) {
    const std::string keyword = "a";  // in many artists' names and aliases
    search(QString::fromStdString(keyword));
    QTest::mouseClick(window.findChild<FlatButton*>("标签按钮_查看搜索艺人"), Qt::LeftButton);

    AllArtistsPage& all = allArtistsPage();
    EXPECT_EQ(window.currentPage(), Pages::kAllArtists);
    EXPECT_EQ(all.heading()->text(), "搜索 艺人 \"a\"");
    const auto artists = client.searchArtists(keyword, 50);
    ASSERT_GT(artists.size(), 3u);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return all.artistIds().size() == artists.size() && all.artistList()->isEnabled(); }, 20000));
    EXPECT_EQ(itemTexts(*all.artistList(), IconText::Main), names(artists));
    EXPECT_EQ(all.artistIds(), ids(artists));

    const int height = AllArtistsPage::listHeight(int(artists.size()));
    EXPECT_EQ(all.artistList()->height(), height);
    EXPECT_EQ(all.scrollPane()->slideBox()->height(), height);
    EXPECT_EQ(all.scrollPane()->scrollBar()->maximum(), std::max(0, height - 550));

    clickItem(all.artistList(), 1);
    EXPECT_EQ(window.currentPage(), Pages::kArtist);
    EXPECT_EQ(window.router().backTarget(Place::Artist), Place::AllArtists);
    EXPECT_EQ(static_cast<ArtistPage*>(window.page(Pages::kArtist))->artistId(), all.artistIds().at(1));
}

TEST_F(SearchPageTest, TheHintLeavesOnFocusAndComesBackWhenTheBoxIsLeftBlank) {
    const QString hint = QString::fromUtf8(Toolbar::kSearchHint);
    struct Case {
        QString before;
        QEvent::Type event;
        QString after;
    };
    const Case cases[] = {
        {hint, QEvent::FocusIn, ""},        {"周野", QEvent::FocusIn, "周野"}, {"", QEvent::FocusOut, hint},
        {" ", QEvent::FocusOut, hint},      {"  ", QEvent::FocusOut, hint},    {"   ", QEvent::FocusOut, "   "},
        {"周野", QEvent::FocusOut, "周野"},
    };
    for (const Case& c : cases) {
        box()->setText(c.before);
        QFocusEvent event(c.event, Qt::MouseFocusReason);
        QApplication::sendEvent(box(), &event);
        EXPECT_EQ(box()->text(), c.after) << c.before.toStdString() << " " << int(c.event);
    }
}

TEST_F(SearchPageTest, ClickingTheBoxClearsTheHintEvenWhenItAlreadyHasTheFocus) {
    box()->setFocus();
    box()->setText(QString::fromUtf8(Toolbar::kSearchHint));
    QTest::mouseClick(box(), Qt::LeftButton);
    EXPECT_EQ(box()->text(), "");
}

TEST_F(SearchPageTest, DoubleClickOnTheBoxOpensTheSettingsWithoutSearching) {
    server_->clearSeenRequests();
    QTest::mouseDClick(box(), Qt::LeftButton);
    EXPECT_EQ(window.currentPage(), Pages::kSettings);
    const auto seen = server_->seenRequests();
    EXPECT_TRUE(
        std::none_of(seen.begin(), seen.end(), [](const SeenRequest& r) { return r.target.rfind("/search", 0) == 0; }));
}

}  // namespace
