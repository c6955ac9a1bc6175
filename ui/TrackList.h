#pragma once
// A list of songs: each row shows the note picture, the song's name and its
// artist, and stands for the song's id. Songs arrive a page at a time: a
// load replaces what the list showed with its first page, and later pages
// are appended when asked for. Rows and ids change together on the UI
// thread, so row i always stands for the song it shows. The playlist and
// album pages list their songs in it.
#include "api/CloudRecords.h"
#include "api/ServiceStatus.h"
#include "base/BackgroundTask.h"
#include "ui/IconList.h"
#include "ui/Navigation.h"
#include "ui/Theme.h"

#include <QImage>
#include <cstdint>
#include <functional>
#include <vector>

class TrackList : public IconList {
    Q_OBJECT
public:
    static constexpr int kPageSize = 200;
    static constexpr int kRowHeight = 75;

    // Up to `limit` songs from position `offset` on; may set `status`
    // (Answered before the call) when the request failed. Runs on a
    // background task; whatever it uses must outlive the list.
    using PageFetcher = std::function<std::vector<SongItem>(int offset, int limit, ServiceStatus* status)>;

    explicit TrackList(QWidget* parent = nullptr);

    // Empties the list and its ids and loads the first page, superseding a
    // load still running (what it still delivers is dropped). The list is
    // disabled until the first page is in.
    void load(const TypefaceChoice& typeface, PageFetcher fetch);
    // Empties the list and shows `songs`, all of them at once: for lists
    // whose songs come in one answer. Supersedes a load still running.
    void showSongs(const TypefaceChoice& typeface, const std::vector<SongItem>& songs);
    // Loads the next page, if the last page came full (more songs may
    // follow) and no page is on its way. Returns whether one was asked for.
    bool loadMore();

    // The ids of the songs, index-aligned with the rows.
    const ItemIds& songIds() const { return songIds_; }
    bool isLoading() const { return pageTask_ != nullptr; }
    // While a song loads the rows do not start another play.
    void setPlayLocked(bool locked);

signals:
    // Rows were added; the list now holds `rowCount` of them.
    void rowsAdded(int rowCount);
    // A page of the newest load is in (after its rows), or its request failed.
    void pageLoaded(ServiceStatus status);

private:
    // Drops what the list showed and what older loads still deliver.
    void startOver(const TypefaceChoice& typeface);
    void fetchPage(int offset);
    void addRows(const std::vector<SongItem>& songs);
    void updateEnabled();

    PageFetcher fetch_;
    ItemIds songIds_;
    std::uint64_t generation_ = 0;  // bumped by every load; pages of an older one are dropped
    BackgroundTask::Handle pageTask_;  // the page on its way, if any
    bool morePagesMayFollow_ = false;
    bool playLocked_ = false;
    QImage notePicture_;  // every row's picture, shaped once
    TaskOwner tasks_;  // last: its tasks stop before anything above goes
};
