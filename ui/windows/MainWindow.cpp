#include "ui/windows/MainWindow.h"

#include "browse/Account.h"
#include "browse/CatalogueFeeds.h"

#include "anim/ProgramAnimations.h"
#include "ui/pages/AlbumPage.h"
#include "ui/pages/AllArtistsPage.h"
#include "ui/pages/AllMvsPage.h"
#include "ui/pages/ArtistMvsPage.h"
#include "ui/pages/ArtistPage.h"
#include "ui/pages/ChartsPage.h"
#include "ui/pages/DiscoverPage.h"
#include "ui/pages/HomePage.h"
#include "ui/pages/LibraryPage.h"
#include "ui/pages/ListenerSongsPage.h"
#include "ui/pages/LocalMusicPage.h"
#include "ui/pages/LoginPage.h"
#include "ui/pages/Page.h"
#include "ui/pages/PlaylistPage.h"
#include "ui/pages/SearchPage.h"
#include "ui/pages/SettingsPage.h"
#include "ui/widgets/BackdropPanel.h"
#include "ui/widgets/EdgeFollower.h"
#include "ui/widgets/FlatButton.h"
#include "ui/widgets/PaneScroller.h"
#include "ui/widgets/ScrollPane.h"
#include "ui/widgets/SlimScrollBar.h"
#include "ui/widgets/Toolbar.h"
#include "ui/windows/MessageBoxWindow.h"
#include "ui/windows/NowPlayingView.h"
#include "ui/windows/ProgramWindow.h"
#include "ui/windows/WindowDrag.h"
#include "ui/windows/WindowEdges.h"

#include <QCloseEvent>
#include <QPainter>
#include <QScreen>
#include <QStackedWidget>
#include <QWheelEvent>
#include <array>
#include <functional>

namespace {

constexpr int kWheelStep = 40;       // pixels per wheel notch
constexpr int kAnglePerNotch = 120;  // a notch in eighths of a degree

constexpr const char* kLoggedOutTitle = "用户未登录~";
constexpr const char* kLoggedOutContent =
    "Mivra酱检测到您还没有登录您的网易云音乐账号哎...请单击Mivra音乐右上方 [登录] "
    "按钮来登录您的网易云音乐账号，登录成功后即可查看您的音乐库啦！";

// The page that shows each place, in the order of `Place`.
constexpr std::array kPlacePages{Pages::kHome,   Pages::kDiscover,     Pages::kCharts,     Pages::kMusicLibrary,
                                 Pages::kAllMvs, Pages::kArtist,       Pages::kPlaylist,   Pages::kSearch,
                                 Pages::kLogin,  Pages::kSettings,     Pages::kAllArtists, Pages::kArtistMvs,
                                 Pages::kAlbum,  Pages::kListenerSongs};
static_assert(kPlacePages.size() == size_t(Place::ListenerSongs) + 1);

int pageOf(Place place) { return kPlacePages[size_t(place)]; }

// The place a page stands for; the pages no place names count as home.
Place placeOf(int index) {
    for (size_t place = 0; place < kPlacePages.size(); ++place)
        if (kPlacePages[place] == index) return Place(place);
    return Place::Home;
}

// Makes a page from its index and the scrollbar of its pane.
using PageFactory = std::function<Page*(QScrollBar*)>;

PageFactory plainPage(int index) {
    return [index](QScrollBar* scrollBar) { return new Page(index, scrollBar); };
}

}  // namespace

MainWindow::MainWindow() {
    setObjectName("MainWindow");
    setWindowTitle("Mivra Music");
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    // Every control is made for the designed size; the follower made at the
    // end keeps them to the edges as the window changes size.
    resize(kDesignedSize);
    setFont(Theme::font(14));
    // The program's other windows open as this one's dialog windows.
    ProgramWindow::set(this);

    toolbar_ = new Toolbar(this);
    connect(toolbar_->minimiseButton(), &QAbstractButton::clicked, this, &QWidget::showMinimized);
    connect(toolbar_->maximiseButton(), &QAbstractButton::clicked, this, [this] { toggleMaximised(this); });
    connect(toolbar_->closeButton(), &QAbstractButton::clicked, this, &MainWindow::closeRequested);
    for (ToolbarPage page : {ToolbarPage::Home, ToolbarPage::Discover, ToolbarPage::Charts, ToolbarPage::Library})
        connect(toolbar_->pageButton(page), &QAbstractButton::clicked, this, [this, page] { runToolbarAction(page); });

    auto* separator = new QWidget(this);
    separator->setObjectName("分组框_工具栏分割");
    separator->setGeometry(21, 108, 1068, 1);
    separator->setStyleSheet(QString("background: %1;").arg(QColor::fromRgba(Theme::kHairline).name()));

    pageArea_ = new QStackedWidget(this);
    pageArea_->setObjectName("选择夹_主体");
    pageArea_->setGeometry(kPageAreaRect);
    scroller_ = std::make_unique<PaneScroller>(ProgramAnimations::scrollPanes());
    createPages();
    connect(pageArea_, &QStackedWidget::currentChanged, this, &MainWindow::showScrollBarOf);
    showScrollBarOf(currentPage());
    connect(&router_, &Router::opened, this, &MainWindow::openDestination);
    connect(&router_, &Router::returned, this, [this](Place place) { showPage(pageOf(place)); });

    playBar_ = new BackdropPanel(QColor::fromRgba(Theme::kPanel), 18, this);
    playBar_->setObjectName("滤镜_播放栏");
    playBar_->setGeometry(21, 676, 1068, 83);

    nowPlaying_ = new NowPlayingView(this);
    nowPlaying_->setGeometry(21, kNowPlayingParkedTop, 1068, 655);

    followSize();
}

// The toolbar, separator, page area and play bar stretch with the window,
// the scrollbars keep to its right edge and the play bar to its bottom.
// The now-playing view is placed by the window itself: parked, it waits
// below the bottom edge, wherever that is.
void MainWindow::followSize() {
    auto* follower = new EdgeFollower(this, {}, {});
    follower->leave(nowPlaying_);
    WindowEdges::install(this);
    if (const QScreen* screen = this->screen()) fitInto(screen->availableGeometry().size());
}

void MainWindow::fitInto(QSize available) {
    setMinimumSize(kSmallestSize.boundedTo(available));
    resize(kDesignedSize.boundedTo(available));
}

int MainWindow::nowPlayingParkedTop(int windowHeight) {
    return windowHeight + kNowPlayingParkedTop - kDesignedSize.height();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const bool parked = nowPlaying_->y() == nowPlayingParkedTop(event->oldSize().height()) ||
                        nowPlaying_->y() >= event->oldSize().height();
    nowPlaying_->setGeometry(21, parked ? nowPlayingParkedTop(height()) : nowPlaying_->y(), width() - 42,
                             height() - (kDesignedSize.height() - 655));
}

void MainWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) toolbar_->showMaximised(isMaximized());
}

MainWindow::~MainWindow() = default;

// One line per page, in page order. A page with content of its own is made
// by its class here, e.g. `[this](QScrollBar* bar) { return new HomePage(*this, bar); }`.
void MainWindow::createPages() {
    const PageFactory factories[Pages::kCount] = {
        [this](QScrollBar* bar) { return new HomePage(*this, bar); },
        [this](QScrollBar* bar) { return new DiscoverPage(*this, bar); },
        [this](QScrollBar* bar) { return new ChartsPage(*this, bar); },
        [this](QScrollBar*) { return new LocalMusicPage(*this); },
        [this](QScrollBar* bar) { return new AllMvsPage(*this, bar); },
        [this](QScrollBar* bar) { return new ArtistPage(*this, bar); },
        plainPage(Pages::kNewAlbums),
        [this](QScrollBar* bar) { return new PlaylistPage(*this, bar); },
        [this](QScrollBar* bar) { return new SearchPage(*this, toolbar()->searchBox(), bar); },
        [this](QScrollBar*) { return new LoginPage(*this); },
        [](QScrollBar*) { return new SettingsPage; },
        [this](QScrollBar* bar) { return new LibraryPage(*this, bar); },
        [this](QScrollBar* bar) { return new AllArtistsPage(*this, bar); },
        [this](QScrollBar* bar) { return new ArtistMvsPage(*this, bar); },
        [this](QScrollBar* bar) { return new AlbumPage(*this, bar); },
        [this](QScrollBar* bar) { return new ListenerSongsPage(*this, bar); },
    };
    for (int index = 0; index < Pages::kCount; ++index) {
        const PageLayout& layout = pageLayout(index);
        if (layout.pane) {
            auto* scrollBar = new SlimScrollBar(this);
            scrollBar->setObjectName(QString::fromUtf8(layout.pane->scrollBarName));
            scrollBar->setGeometry(kScrollBarRect);
            scrollBar->installEventFilter(this);
            scrollBars_[size_t(index)] = scrollBar;
        }
        addPage(factories[index](scrollBars_[size_t(index)]));
    }
}

void MainWindow::addPage(Page* page) {
    pages_.at(size_t(page->index())) = page;
    pageArea_->addWidget(page);
    if (page->scrollPane()) scroller_->addPane(page->scrollPane());
}

namespace {

// The toolbar button that stands for a page, if one does.
std::optional<ToolbarPage> toolbarPageOf(int index) {
    switch (index) {
        case Pages::kHome: return ToolbarPage::Home;
        case Pages::kDiscover: return ToolbarPage::Discover;
        case Pages::kCharts: return ToolbarPage::Charts;
        case Pages::kMusicLibrary: return ToolbarPage::Library;
        default: return std::nullopt;
    }
}

}  // namespace

// The toolbar always marks the page shown, however it was reached.
void MainWindow::showPage(int index) {
    if (index < 0 || index >= Pages::kCount) return;
    pageArea_->setCurrentIndex(index);
    toolbar_->markChosenPage(toolbarPageOf(index));
    router_.arrived(placeOf(index));
}

void MainWindow::openDestination(const Destination& destination) {
    const int index = pageOf(destination.place);
    showPage(index);
    page(index)->open(destination);
}

void MainWindow::setCatalogue(const CloudApiClient* catalogue) {
    feeds_ = catalogue ? std::make_unique<CatalogueFeeds>(*catalogue) : nullptr;
    if (!feeds_) return;
    for (int i = 0; i < Pages::kCount; ++i) page(i)->showFeeds(*feeds_);
}

void MainWindow::setAccount(Account* account) {
    account_ = account;
    if (!account) return;
    for (int i = 0; i < Pages::kCount; ++i) page(i)->followAccount(*account);
}

const std::string& MainWindow::loggedInUserId() const {
    static const std::string nobody;
    return account_ ? account_->userId() : nobody;
}

const std::string& MainWindow::accountCookie() const {
    static const std::string none;
    return account_ ? account_->cookie() : none;
}

int MainWindow::currentPage() const { return pageArea_->currentIndex(); }

void MainWindow::enterStartPage() {
    showPage(Pages::kHome);
    page(Pages::kHome)->scrollPane()->setMaximum(1800);
    page(Pages::kArtist)->scrollPane()->setMaximum(800);
    page(Pages::kSearch)->scrollPane()->setMaximum(940);
}

void MainWindow::runToolbarAction(ToolbarPage page) {
    switch (page) {
        case ToolbarPage::Home: showPage(Pages::kHome); return;
        case ToolbarPage::Discover: showPage(Pages::kDiscover); return;
        case ToolbarPage::Charts: showPage(Pages::kCharts); return;
        case ToolbarPage::Library:
            if (loggedInUserId().empty()) {
                MessageBoxWindow::show(
                    {.title = kLoggedOutTitle, .content = kLoggedOutContent, .confirmCaption = "知道了"});
                return;
            }
            showPage(Pages::kMusicLibrary);
            return;
    }
}

// Only the current page's scrollbar shows. The login page shows none, and
// the pages without a pane (3, 6 and the settings page) leave the bars as
// they were, so the settings page keeps the bar of the page before it.
void MainWindow::showScrollBarOf(int pageIndex) {
    if (pageIndex < 0) return;
    const bool hideAll = pageIndex == Pages::kLogin;
    if (!hideAll && !scrollBars_[size_t(pageIndex)]) return;
    for (int i = 0; i < Pages::kCount; ++i) {
        if (scrollBars_[size_t(i)]) scrollBars_[size_t(i)]->setVisible(!hideAll && i == pageIndex);
    }
}

void MainWindow::onWheel(int notches) {
    if (nowPlaying_->y() == kNowPlayingShownTop) return;
    Page* current = page(currentPage());
    if (!current->scrollPane()) return;
    scroller_->scrollBy(current->scrollPane()->key(), -notches * kWheelStep);
}

void MainWindow::wheelEvent(QWheelEvent* event) {
    event->accept();
    // Fine-grained wheels and touchpads send parts of a notch; they add up.
    wheelAngle_ += event->angleDelta().y();
    const int notches = wheelAngle_ / kAnglePerNotch;
    if (notches == 0) return;
    wheelAngle_ -= notches * kAnglePerNotch;
    onWheel(notches);
}

// The wheel over a scrollbar scrolls like anywhere else in the window.
bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Wheel) {
        wheelEvent(static_cast<QWheelEvent*>(event));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    emit closeRequested();
}

void MainWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgba(Theme::kWindow));
    // A frameless window still needs an edge against a light desktop.
    painter.setPen(QColor(0xDF, 0xE1, 0xE6));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void MainWindow::lockPlayStarters(bool locked) {
    for (Page* page : pages_)
        if (page) page->lockPlayStarters(locked);
}
