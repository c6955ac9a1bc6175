#pragma once
// What the pages may ask of the main window: the router they send the user
// on with, the toolbar's page actions, the account, and what the pages load
// and draw their lists with. Pages know the window only by this.
#include <string>
#include <vector>

class CatalogueFeeds;
class Router;
class PicturePipeline;
struct TypefaceChoice;

// The ids of a filled list, index-aligned with its items.
using ItemIds = std::vector<std::string>;

// The four page buttons of the toolbar.
enum class ToolbarPage { Home, Discover, Charts, Library };

class Navigation {
public:
    virtual ~Navigation() = default;

    // Shows a page of the page area (`Pages::`); nothing else changes.
    virtual void showPage(int index) = 0;
    virtual int currentPage() const = 0;
    // What a click on that toolbar button does (the notice while logged out, the page).
    virtual void runToolbarAction(ToolbarPage page) = 0;
    // Where the pages send the user (other pages, back) and the songs and
    // MVs to play.
    virtual Router& router() = 0;
    // The account: the cookie the pages' requests carry (empty when none is
    // held) and the logged-in user's id (empty while logged out), both read
    // from the account itself.
    virtual const std::string& accountCookie() const = 0;
    virtual const std::string& loggedInUserId() const = 0;
    // The lists of the catalogue pages, bound to the service client; nullptr
    // until the client is set.
    virtual CatalogueFeeds* feeds() const = 0;
    // Where every list gets its pictures; nullptr until set (no pictures).
    virtual PicturePipeline* pictures() const = 0;
    // The typeface every list draws its items in.
    virtual const TypefaceChoice& listTypeface() const = 0;
};
