// The demo catalogue holds what the app's pages and the end-to-end tests
// rely on, and refuses records that point at nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <stdexcept>

#include "server/catalogue/Catalogue.h"
#include "server/catalogue/DemoBuilders.h"

namespace {

const Catalogue& catalogue() { return demoCatalogue(); }

bool anyName(const std::function<bool(const std::string&)>& test) {
    const Catalogue& c = catalogue();
    return std::any_of(c.songs().begin(), c.songs().end(), [&](const Song& s) { return test(s.name); }) ||
           std::any_of(c.artists().begin(), c.artists().end(), [&](const Artist& a) { return test(a.name); }) ||
           std::any_of(c.albums().begin(), c.albums().end(), [&](const Album& a) { return test(a.name); }) ||
           std::any_of(c.playlists().begin(), c.playlists().end(), [&](const Playlist& p) { return test(p.name); });
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace

TEST(CatalogueTest, HasEnoughNamedSongsByEnoughArtists) {
    std::set<Id> artists;
    int named = 0;
    for (const Song& song : catalogue().songs()) {
        if (song.artistIds.front() == demo::kEtudeStudio) continue;
        ++named;
        artists.insert(song.artistIds.begin(), song.artistIds.end());
    }
    EXPECT_GE(named, 40);
    EXPECT_GE(artists.size(), 10u);
}

TEST(CatalogueTest, EveryDiscoverCategoryHasPlaylists) {
    for (const std::string category :
         {"全部", "官方", "欧美", "流行", "摇滚", "电子", "说唱", "古风", "轻音乐", "华语"}) {
        EXPECT_GE(catalogue().playlistsInCategory(category).size(), 4u) << category;
    }
    EXPECT_GE(catalogue().highQualityPlaylists().size(), 4u);
    EXPECT_GE(catalogue().personalizedPlaylistIds().size(), 10u);
}

TEST(CatalogueTest, HoldsTheLongListsThePagesPage) {
    const Artist* studio = catalogue().artist(demo::kEtudeStudio);
    ASSERT_NE(studio, nullptr);
    EXPECT_EQ(studio->albumIds.size(), 25u);
    const Artist* touring = catalogue().artist(demo::kZhouYe);
    ASSERT_NE(touring, nullptr);
    EXPECT_EQ(touring->mvIds.size(), 50u);
    const Playlist* longList = catalogue().playlist(demo::kFiveHundredPlaylist);
    ASSERT_NE(longList, nullptr);
    EXPECT_EQ(longList->trackIds.size(), 500u);
    EXPECT_EQ(std::set<Id>(longList->trackIds.begin(), longList->trackIds.end()).size(), 500u);
    EXPECT_GT(catalogue().newestAlbums().size(), 10u);
}

TEST(CatalogueTest, HasTheSpecialCasesTheClientMustHandle) {
    const auto& songs = catalogue().songs();
    auto count = [&](const std::function<bool(const Song&)>& test) {
        return std::count_if(songs.begin(), songs.end(), test);
    };
    EXPECT_EQ(count([](const Song& s) { return !s.hasStream; }), 1);
    EXPECT_EQ(count([](const Song& s) { return !s.licensed; }), 1);
    for (LyricKind kind : {LyricKind::PureMusic, LyricKind::Untimed, LyricKind::Missing, LyricKind::TimedSharedTags}) {
        EXPECT_EQ(count([kind](const Song& s) { return s.lyric == kind; }), 1);
    }
    EXPECT_GT(count([](const Song& s) { return s.lyric == LyricKind::Timed; }), static_cast<long>(songs.size()) / 2);
    EXPECT_GE(count([](const Song& s) { return s.artistIds.size() >= 3; }), 1);
    EXPECT_GE(count([](const Song& s) { return s.flacByDefault; }), 1);

    const auto& banners = catalogue().banners();
    EXPECT_TRUE(
        std::any_of(banners.begin(), banners.end(), [](const Banner& b) { return b.targetId == 0 && !b.url.empty(); }));

    const auto& artists = catalogue().artists();
    EXPECT_TRUE(std::any_of(artists.begin(), artists.end(), [](const Artist& a) { return a.userId.has_value(); }));
    EXPECT_TRUE(std::any_of(artists.begin(), artists.end(), [](const Artist& a) { return !a.userId.has_value(); }));
}

TEST(CatalogueTest, NamesCoverTheScriptsTheAppMustKeep) {
    EXPECT_TRUE(anyName([](const std::string& n) { return contains(n, "の"); }));  // Japanese
    EXPECT_TRUE(anyName([](const std::string& n) { return contains(n, "별"); }));  // Korean
    EXPECT_TRUE(anyName([](const std::string& n) { return contains(n, "é"); }));   // accented Latin
    EXPECT_TRUE(anyName([](const std::string& n) { return contains(n, "🌙"); }));   // emoji
    EXPECT_TRUE(anyName([](const std::string& n) { return contains(n, "夏"); }));  // Chinese
    const Playlist* summer = catalogue().playlist(demo::kSummerSoundsPlaylist);
    ASSERT_NE(summer, nullptr);
    EXPECT_TRUE(contains(summer->description, "\"") && contains(summer->description, "\n"));
}

TEST(CatalogueTest, RefusesRecordsThatPointAtNothing) {
    CatalogueData data;
    demo::addPeople(data);
    demo::addMusic(data);
    demo::addVideos(data);
    demo::addPlaylists(data);
    demo::addHome(data);
    CatalogueData broken = data;
    broken.songs.front().albumId = 42;
    EXPECT_THROW(Catalogue{std::move(broken)}, std::logic_error);
    CatalogueData duplicated = data;
    duplicated.songs.push_back(duplicated.songs.front());
    EXPECT_THROW(Catalogue{std::move(duplicated)}, std::logic_error);
    EXPECT_NO_THROW(Catalogue{std::move(data)});
}
