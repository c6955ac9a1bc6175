#pragma once
// The album page: one album's cover, name, artist, release facts and
// description over its songs, laid out like the playlist page. A click on
// the artist opens the artist page; activating a song plays it, "播放"
// plays the first and "···" queues the songs. Every album list of the
// program opens it; its back button returns to the page that did.
//
// An album whose request fails shows the "专辑信息获取失败" notice and
// leaves the page for the one that opened it.
#include "api/CloudRecords.h"
#include "ui/lists/LatestLoad.h"
#include "ui/pages/SongListPage.h"

#include <QString>
#include <string>

class QPushButton;

class AlbumPage : public SongListPage {
public:
    AlbumPage(Navigation& navigation, QScrollBar* scrollBar);

    // Loads the album in the navigation state's `selectedAlbumId`.
    void loadSelected() override;
    void showFeeds(CatalogueFeeds& feeds) override;

    const std::string& albumId() const { return albumId_; }
    QPushButton* artistButton() const { return artist_; }
    // The album's request, for callers that wait for it.
    const BackgroundTask::Handle& load() const { return loadTask_; }

    // "发行时间：YYYY-MM-DD" (the service's dates are Beijing time) and the
    // company, joined by " · "; either part is left out when unknown.
    static QString factsLine(const std::string& publishTimeMs, const std::string& company);

private:
    void show(const AlbumDetail& album);
    void showFailure();
    void showCover(const std::string& url);
    void openArtist();

    QPushButton* artist_;
    QLabel* facts_;
    std::string albumId_;   // the album shown
    std::string artistId_;  // its artist
    BackgroundTask::Handle loadTask_;
    LatestLoad coverLoad_{this};
};
