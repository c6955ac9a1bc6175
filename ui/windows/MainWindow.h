#pragma once
// The main window: a frameless frame, 1110×780 by design, resizable by its
// edges down to 960×640 and maximisable, with its own toolbar, the page area
// with its pages and their scroll panes, the play bar strip and the parked
// now-playing view. It owns the router, shows the places it
// opens, runs the toolbar's page actions, and scrolls the panes with the wheel.
#include "browse/Router.h"
#include "ui/pages/Navigation.h"
#include "ui/pages/PageTable.h"
#include "ui/widgets/Theme.h"

#include <QWidget>
#include <array>
#include <memory>
#include <string>

class Account;
class CloudApiClient;
class Page;
class PaneScroller;
class NowPlayingView;
class QScrollBar;
class QStackedWidget;
class Toolbar;

class MainWindow : public QWidget, public Navigation {
    Q_OBJECT
public:
    MainWindow();
    ~MainWindow() override;

    void showPage(int index) override;
    int currentPage() const override;
    void runToolbarAction(ToolbarPage page) override;
    Router& router() override { return router_; }
    // While a song loads, the song lists of every page wait.
    void lockPlayStarters(bool locked);

    // The service client the pages' feeds are made on; it must outlive the
    // window. Pages load nothing until it is set.
    void setCatalogue(const CloudApiClient* catalogue);
    CatalogueFeeds* feeds() const override { return feeds_.get(); }
    // The picture pipeline of every list; it must outlive the window.
    void setPictures(PicturePipeline* pictures) { pictures_ = pictures; }
    PicturePipeline* pictures() const override { return pictures_; }

    // Page 0, and the scroll ranges of the panes whose content is fixed
    // before any list is filled (home, artist, search).
    void enterStartPage();

    // The account the pages read the cookie and the user from; it must
    // outlive the window. Logged in means a user id: the library button
    // opens the library then.
    void setAccount(Account* account);
    Account* account() const { return account_; }
    const std::string& loggedInUserId() const override;
    const std::string& accountCookie() const override;

    // The typeface and style the settings choose for list captions.
    void setListTypeface(const TypefaceChoice& choice) { listTypeface_ = choice; }
    const TypefaceChoice& listTypeface() const override { return listTypeface_; }

    // Wheel notches, positive away from the user: 40 pixels each on the
    // pane of the page shown, nothing while the now-playing view is up.
    void onWheel(int notches);

    Toolbar* toolbar() const { return toolbar_; }
    Page* page(int index) const { return pages_.at(size_t(index)); }
    PaneScroller& scroller() const { return *scroller_; }
    QWidget* playBarStrip() const { return playBar_; }
    NowPlayingView* nowPlayingView() const { return nowPlaying_; }

    // The size every control is placed for, and the smallest size.
    static constexpr QSize kDesignedSize{1110, 780};
    static constexpr QSize kSmallestSize{960, 640};
    // Opens at the designed size, or at the size of `available` (a screen's
    // area without its panels) where that is smaller.
    void fitInto(QSize available);

    // The now-playing view's tops when parked below the window (at the
    // designed height) and when up.
    static constexpr int kNowPlayingParkedTop = 900;
    static constexpr int kNowPlayingShownTop = 21;
    // The parked top for a window `windowHeight` pixels high.
    static int nowPlayingParkedTop(int windowHeight);

signals:
    // The user asked to close the program (close button or window close).
    void closeRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent*) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createPages();
    void followSize();
    void addPage(Page* page);
    void showScrollBarOf(int pageIndex);
    void openDestination(const Destination& destination);

    Router router_;
    std::unique_ptr<CatalogueFeeds> feeds_;
    PicturePipeline* pictures_ = nullptr;
    Account* account_ = nullptr;
    TypefaceChoice listTypeface_;
    int wheelAngle_ = 0;  // eighths of a degree not yet turned into notches

    Toolbar* toolbar_;
    QStackedWidget* pageArea_;
    std::array<Page*, Pages::kCount> pages_{};
    std::array<QScrollBar*, Pages::kCount> scrollBars_{};  // nullptr for pages without a pane
    QWidget* playBar_;
    NowPlayingView* nowPlaying_;
    std::unique_ptr<PaneScroller> scroller_;
};
