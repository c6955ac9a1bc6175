#include "app/ListeningExtras.h"

#include "app/KeyboardControl.h"
#include "app/ScrobbleFeed.h"
#include "local/LocalLibrary.h"
#include "local/MusicFolders.h"
#include "player/Player.h"
#include "scrobble/Scrobbler.h"
#include "ui/pages/LocalMusicPage.h"
#include "ui/pages/SearchPage.h"
#include "ui/pages/SettingsPage.h"
#include "ui/windows/LocalFoldersWindow.h"
#include "ui/windows/MainWindow.h"
#include "ui/windows/ProgramWindow.h"
#include "ui/windows/ScrobbleSettingsWindow.h"
#include "ui/windows/ShortcutWindow.h"

namespace {

// Opens `window` as a dialog window centred over the main window, or raises
// it when open.
template <typename Window, typename Make>
Window* openOver(QPointer<Window>& window, Make make) {
    if (!window) {
        window = make();
        window->adjustSize();
        ProgramWindow::adopt(window);
        ProgramWindow::centre(window);
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

}  // namespace

ListeningExtras::ListeningExtras(MainWindow& window, Player& player, SettingsPage& settingsPage, AppSettings settings,
                                 const std::string& dataFolder)
    : window_(window), settings_(std::move(settings)) {
    library_ = std::make_unique<LocalLibrary>(dataFolder + "local/index.sqlite");
    player.playLocalSongsFrom(library_->indexPath());
    auto& localPage = static_cast<LocalMusicPage&>(*window.page(LocalMusicPage::kIndex));
    localPage.showLibrary(library_.get());
    connect(&localPage, &LocalMusicPage::foldersRequested, this, &ListeningExtras::openLocalFolders);
    connect(&settingsPage, &SettingsPage::localMusicRequested, this,
            [&window] { window.showPage(LocalMusicPage::kIndex); });
    static_cast<SearchPage&>(*window.page(Pages::kSearch))
        .searchLocalSongsWith([library = library_.get()](const std::string& keyword) {
            std::vector<SongItem> matches;
            for (const LocalSong& song : library->search(keyword))
                matches.push_back({song.songId, song.title, song.artists});
            return matches;
        });
    // The quick rescan at start: unchanged files are not read again.
    library_->setFolders(readMusicFolders(settings_));

    scrobbler_ =
        std::make_unique<Scrobbler>(settings_, dataFolder + "scrobble/queue.json", ScrobbleOrigins::fromEnvironment());
    feed_ = std::make_unique<ScrobbleFeed>(player, *scrobbler_);
    scrobbler_->flush();  // what waited from an earlier run
    connect(&settingsPage, &SettingsPage::scrobbleSettingsRequested, this, &ListeningExtras::openScrobbleSettings);

    keyboard_ = std::make_unique<KeyboardControl>(window, player, settings_);
    connect(&settingsPage, &SettingsPage::shortcutsRequested, this, &ListeningExtras::openShortcuts);
}

ListeningExtras::~ListeningExtras() {
    delete shortcuts_.data();
    delete folders_.data();
    delete scrobbleSettings_.data();
}

void ListeningExtras::openShortcuts() {
    const bool fresh = !shortcuts_;
    openOver(shortcuts_, [this] { return new ShortcutWindow(settings_, &window_); });
    if (fresh) keyboard_->attach(*shortcuts_);
}

void ListeningExtras::openLocalFolders() {
    const bool fresh = !folders_;
    openOver(folders_, [this] { return new LocalFoldersWindow(settings_, &window_); });
    if (fresh)
        connect(folders_, &LocalFoldersWindow::foldersChanged, library_.get(),
                [library = library_.get()](const std::vector<std::string>& folders) { library->setFolders(folders); });
}

void ListeningExtras::openScrobbleSettings() {
    const bool fresh = !scrobbleSettings_;
    openOver(scrobbleSettings_,
             [this] { return new ScrobbleSettingsWindow(settings_, ScrobbleOrigins::fromEnvironment(), &window_); });
    if (fresh)
        connect(scrobbleSettings_, &ScrobbleSettingsWindow::accountChanged, scrobbler_.get(),
                &Scrobbler::accountChanged);
}

ShortcutWindow* ListeningExtras::shortcutWindow() const { return shortcuts_; }

LocalFoldersWindow* ListeningExtras::foldersWindow() const { return folders_; }
