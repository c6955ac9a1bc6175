#pragma once
// What the pages may ask of the main window: changing pages, going back,
// the toolbar's page actions, the shared navigation state, and what the
// pages load and draw their lists with. Pages know the window only by this.
#include <string>
#include <vector>

class CatalogueFeeds;
class CloudApiClient;
class Page;
class PicturePipeline;
struct TypefaceChoice;

// The ids of a filled list, index-aligned with its items.
using ItemIds = std::vector<std::string>;

// The four page buttons of the toolbar.
enum class ToolbarPage { Home, Discover, Charts, Library };

// Shared state of the pages, read and written on the UI thread only; a
// background task that needs a value gets a copy when it starts.
struct NavigationState {
    // Where the artist and playlist pages go back to; whoever opens them sets it.
    int returnPage = 0;
    // Where the album page goes back to. It has its own, so an artist opened
    // from an album and then left still finds its way back to the album and
    // from there to where the album was opened.
    int albumReturnPage = 0;
    std::string selectedArtistId;    // the artist the artist page loads
    std::string selectedPlaylistId;  // the playlist the playlist page loads
    std::string selectedAlbumId;     // the album the album page loads
    std::string songIdToPlay;        // the song handed to the play flow
};

class Navigation {
public:
    virtual ~Navigation() = default;

    // Shows a page of the page area (`Pages::`); nothing else changes.
    virtual void showPage(int index) = 0;
    virtual int currentPage() const = 0;
    // Shows the page in `returnPage`.
    virtual void goBack() = 0;
    // What a click on that toolbar button does (colours, shared ids, page).
    virtual void runToolbarAction(ToolbarPage page) = 0;
    virtual NavigationState& state() = 0;
    // Hands a song to the play flow: `songIdToPlay` takes its id, then
    // whoever plays songs is told. Returns without waiting for the play.
    virtual void requestPlay(const std::string& songId) = 0;
    // Hands an MV to the MV flow, which asks for its address and offers to
    // open it in the browser. Returns at once.
    virtual void playMv(const std::string& mvId) = 0;
    // Asks for songs to be added to the end of the play queue, in order;
    // songs already queued keep their place.
    virtual void requestQueue(const ItemIds& songIds) = 0;
    // The account: the cookie the pages' requests carry (empty when none is
    // held) and the logged-in user's id (empty while logged out).
    virtual const std::string& accountCookie() const = 0;
    virtual const std::string& loggedInUserId() const = 0;
    // The service client the pages load their lists with; nullptr until set.
    virtual const CloudApiClient* catalogue() const = 0;
    // The lists of the catalogue pages, bound to the service client; nullptr
    // until the client is set.
    virtual CatalogueFeeds* feeds() const = 0;
    // Where every list gets its pictures; nullptr until set (no pictures).
    virtual PicturePipeline* pictures() const = 0;
    // The typeface every list draws its items in.
    virtual const TypefaceChoice& listTypeface() const = 0;
    // A page of the page area (`Pages::`).
    virtual Page* page(int index) const = 0;
};
