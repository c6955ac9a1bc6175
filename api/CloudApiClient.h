#pragma once
// The program's only way to the music catalogue and the account: one method
// per request. Each method describes its request (a ServiceCall: route,
// query values, cookie), hands it to the transport of the way the service is
// reached (the gateway of the companion or a relay, or the service's own web
// API) and reads the answer into a record. Nothing is validated: a failed
// exchange or a missing field gives empty texts and empty lists, never an
// error. The requests whose records a page shows take an optional `status`,
// which receives whether the request got a readable answer, so "nothing
// listed" and "could not ask" differ.
//
// The clock and the gateway hosts are fixed at construction; the transport
// and the song quality may be replaced while requests run (each request uses
// the ones current when it starts), so one instance may be used from any
// number of threads at once. The account cookie and the service cookie are
// passed in by the caller, which owns them.
#include "api/CloudRecords.h"
#include "api/PackedItem.h"
#include "api/RequestTimestamp.h"
#include "api/ServiceHosts.h"
#include "api/ServiceStatus.h"
#include "api/ServiceTransport.h"
#include "data/JsonDocument.h"

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

class CloudApiClient {
public:
    // Through the gateway at `hosts`.
    explicit CloudApiClient(ServiceHosts hosts, LocalClock clock = systemLocalMilliseconds);
    // Through `transport`; `hosts` are still where MV pages are played.
    CloudApiClient(std::shared_ptr<const ServiceTransport> transport, ServiceHosts hosts,
                   LocalClock clock = systemLocalMilliseconds);

    const ServiceHosts& hosts() const { return hosts_; }
    // Requests that start from now on go through `transport`.
    void useTransport(std::shared_ptr<const ServiceTransport> transport);
    // The song quality song URLs ask for: standard, higher, exhigh (the
    // default) or lossless.
    void setSongLevel(std::string level);
    // The request timestamp of this moment by the client's clock.
    std::string requestTimestamp(TimestampForm form) const;

    // Songs.
    SongDetail fetchSongDetail(const std::string& id) const;
    // One request for all ids, in order; no ids ask for "ids=" alone.
    SongNameList fetchSongNames(const std::vector<std::string>& ids) const;
    // The stream URL, or "null" when the answer names none or only a trial
    // clip (an entry whose "freeTrialInfo" is not null).
    std::string fetchSongUrl(const std::string& id) const;
    // The same request, with the loudness gain and peak that come with the URL.
    SongStream fetchSongStream(const std::string& id) const;
    // The lyric cut out of the raw answer, its JSON string escapes undone.
    std::string fetchRawLyric(const std::string& id) const;
    // The lyric answer; the caller reads "lrc.lyric" and "tlyric.lyric".
    JsonDocument fetchLyric(const std::string& id) const;
    // The lyric answer that also carries word-timed lyrics where the service has them.
    SongLyrics fetchSongLyrics(const std::string& id) const;
    // True when the availability answer contains "ok".
    bool checkSong(const std::string& id, const std::string& serviceCookie) const;

    // Search; the keyword is sent URL-encoded as UTF-8.
    std::vector<SongItem> searchSongs(std::string_view keyword, ServiceStatus* status = nullptr) const;
    std::vector<CoverItem> searchArtists(std::string_view keyword, int limit, ServiceStatus* status = nullptr) const;
    // The album's artist is the subtitle.
    std::vector<CoverItem> searchAlbums(std::string_view keyword, ServiceStatus* status = nullptr) const;
    std::vector<CoverItem> searchPlaylists(std::string_view keyword, ServiceStatus* status = nullptr) const;

    // Playlists, charts and artists.
    std::vector<CoverItem> fetchAllPlaylists(const std::string& cookie, ServiceStatus* status = nullptr) const;
    std::vector<CoverItem> fetchPersonalizedPlaylists(const std::string& cookie, ServiceStatus* status = nullptr) const;
    std::vector<CoverItem> fetchHighQualityPlaylists(ServiceStatus* status = nullptr) const;
    std::vector<CoverItem> fetchCategoryPlaylists(std::string_view category, ServiceStatus* status = nullptr) const;
    std::vector<CoverItem> fetchToplists(ServiceStatus* status = nullptr) const;
    PlaylistDetail fetchPlaylistDetail(const std::string& id, const std::string& cookie,
                                       ServiceStatus* status = nullptr) const;
    std::vector<SongItem> fetchPlaylistTracks(const std::string& id, int limit, int offset, const std::string& cookie,
                                              ServiceStatus* status = nullptr) const;
    ArtistDetail fetchArtistDetail(const std::string& id, ServiceStatus* status = nullptr) const;
    std::vector<CoverItem> fetchArtistAlbums(const std::string& id, int limit, ServiceStatus* status = nullptr) const;
    std::vector<CoverItem> fetchArtistMvs(const std::string& id, int limit, ServiceStatus* status = nullptr) const;
    std::vector<CoverItem> fetchAllArtistMvs(const std::string& id, ServiceStatus* status = nullptr) const;
    // The artist's most popular songs (the service sends up to 50), most popular first.
    std::vector<SongItem> fetchArtistTopSongs(const std::string& id, ServiceStatus* status = nullptr) const;
    AlbumDetail fetchAlbum(const std::string& id, ServiceStatus* status = nullptr) const;
    // The bytes behind a picture URL; empty when the exchange fails.
    std::string fetchPicture(const std::string& url) const;

    // Account.
    std::string qrCreateKey() const;
    std::string qrCreateUrl(const std::string& key) const;
    // A 256-pixel QR code of the login URL; empty where the way of reaching
    // the service has no QR host.
    std::string fetchQrPicture(const std::string& qrUrl) const;
    QrPollResult qrPoll(const std::string& key) const;
    AccountProfile fetchAccount(const std::string& cookie) const;
    // The start-up account check: true when the account answer has a profile.
    bool checkAccount(const std::string& cookie) const;
    std::vector<CoverItem> fetchUserPlaylists(const std::string& userId, const std::string& cookie,
                                              ServiceStatus* status = nullptr) const;
    // True when the service answered with code 200.
    bool subscribePlaylist(SubscribeAction action, const std::string& id, const std::string& cookie) const;

    // What the service keeps for a listener: each request acts with the
    // account cookie, and changes go out fresh (with a timestamp).
    // Today's recommended songs.
    std::vector<SongItem> fetchDailySongs(const std::string& cookie, ServiceStatus* status = nullptr) const;
    // The next few songs of the personal FM stream.
    std::vector<SongItem> fetchPersonalFm(const std::string& cookie, ServiceStatus* status = nullptr) const;
    // Takes the song out of the FM stream; true when the service answered with code 200.
    bool trashFmSong(const std::string& id, const std::string& cookie) const;
    // Likes (or, `like` false, unlikes) the song; true when the service answered with code 200.
    bool likeSong(const std::string& id, bool like, const std::string& cookie) const;
    // The ids of every song the user likes, in the service's order.
    std::vector<std::string> fetchLikedSongIds(const std::string& userId, const std::string& cookie,
                                               ServiceStatus* status = nullptr) const;
    // The songs the user played most this week, as the service records them.
    std::vector<SongItem> fetchPlayRecord(const std::string& userId, const std::string& cookie,
                                          ServiceStatus* status = nullptr) const;

    // Home page and MVs.
    std::vector<PackedItem> fetchBanners(ServiceStatus* status = nullptr) const;
    std::vector<PackedItem> fetchPersonalizedMvs(ServiceStatus* status = nullptr) const;
    std::vector<CoverItem> fetchRecommendedPlaylists(const std::string& cookie, ServiceStatus* status = nullptr) const;
    std::vector<CoverItem> fetchTopArtists(ServiceStatus* status = nullptr) const;
    std::vector<CoverItem> fetchNewestAlbums(ServiceStatus* status = nullptr) const;
    std::vector<CoverItem> fetchFirstMvs(int limit, ServiceStatus* status = nullptr) const;
    std::vector<CoverItem> fetchAllMvs(ServiceStatus* status = nullptr) const;
    // The MV's stream URL; empty when the answer names none.
    std::string fetchMvUrl(const std::string& id) const;

private:
    std::string timestampMs() const { return requestTimestamp(TimestampForm::Milliseconds); }
    std::shared_ptr<const ServiceTransport> transport() const;
    ServiceAnswer send(const ServiceCall& call) const;
    // The answer parsed as JSON; every read is empty when the exchange failed
    // or the body is not JSON. `status` receives judgeServiceAnswer's verdict.
    JsonDocument fetch(const ServiceCall& call, ServiceStatus* status = nullptr) const;

    const ServiceHosts hosts_;
    const LocalClock clock_;
    // Any thread; guarded by mutex_.
    mutable std::mutex mutex_;
    std::shared_ptr<const ServiceTransport> transport_;
    std::string songLevel_ = "exhigh";
};
