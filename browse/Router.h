#pragma once
// Typed navigation between the pages, without a window: pages say where the
// user goes (a playlist, an artist, an album, back) and what is to be played
// or queued; the window shows the place and the player plays. The router
// keeps, for each place, where its back button leads, so a page never reads
// another page's state back.
//
// Thread: UI thread only.
#include <QObject>
#include <map>
#include <string>
#include <vector>

// Every place the user can be taken to.
enum class Place {
    Home,
    Discover,
    Charts,
    Library,
    AllMvs,
    Artist,
    Playlist,
    Search,
    Login,
    Settings,
    AllArtists,
    ArtistMvs,
    Album,
    ListenerSongs,  // the listener's song lists, named by the destination's id
};

// A place opened for one thing: the playlist, artist or album id; the
// keyword of the all-artists page; the artist of the artist-MV page; the
// category of the discover page; the list of the listener's song page. Empty where the place shows no one thing.
struct Destination {
    Place place = Place::Home;
    std::string id;
    bool operator==(const Destination&) const = default;
};

Q_DECLARE_METATYPE(Destination)

class Router : public QObject {
    Q_OBJECT
public:
    // Opens the page of one thing; going back from it leads to `from`.
    void openPlaylist(const std::string& id, Place from) { open({Place::Playlist, id}, from); }
    void openArtist(const std::string& id, Place from) { open({Place::Artist, id}, from); }
    void openAlbum(const std::string& id, Place from) { open({Place::Album, id}, from); }
    void openArtistMvs(const std::string& artistId, Place from) { open({Place::ArtistMvs, artistId}, from); }
    void openAllArtists(const std::string& keyword, Place from) { open({Place::AllArtists, keyword}, from); }
    void open(const Destination& destination, Place from);

    // Goes back from the place shown to where it was opened from. A place
    // nothing opened (a toolbar page) goes back to the home page.
    void back();
    // Goes back from `place`, but only while it is the place shown: a
    // failure that arrives after the user has moved on moves nobody.
    void backFrom(Place place);

    // The window reports every place it shows, however it got there (the
    // toolbar, the router, a page of its own accord).
    void arrived(Place place) { current_ = place; }
    Place current() const { return current_; }
    // Where going back from `place` leads.
    Place backTarget(Place place) const;

    // Hands a song to the play flow; returns without waiting for the play.
    void play(const std::string& songId) { emit playRequested(songId); }
    // Hands a whole list to the play flow: the queue becomes `songIds` and
    // the song at `index` (from 0) plays.
    void playList(const std::vector<std::string>& songIds, int index) { emit playListRequested(songIds, index); }
    // Asks for songs to be added to the end of the play queue, in order.
    void queue(const std::vector<std::string>& songIds) { emit queueRequested(songIds); }
    // Hands an MV to the MV flow.
    void playMv(const std::string& mvId) { emit mvRequested(mvId); }

signals:
    // Show the destination's page and load what it names.
    void opened(const Destination& destination);
    // Show the page of `place` again as it was left; nothing loads.
    void returned(Place place);
    void playRequested(const std::string& songId);
    void playListRequested(const std::vector<std::string>& songIds, int index);
    void queueRequested(const std::vector<std::string>& songIds);
    void mvRequested(const std::string& mvId);

private:
    Place current_ = Place::Home;
    std::map<Place, Place> backTargets_;
};
