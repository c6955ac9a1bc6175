#include "app/ListenerParts.h"

#include "browse/Account.h"
#include "player/Player.h"
#include "ui/lists/TrackList.h"
#include "ui/pages/HomePage.h"
#include "ui/pages/LibraryPage.h"
#include "ui/pages/ListenerShortcuts.h"
#include "ui/pages/ListenerSongsPage.h"
#include "ui/pages/PageTable.h"
#include "ui/widgets/PlayBar.h"
#include "ui/windows/AccountNotices.h"
#include "ui/windows/MainWindow.h"

#include <QAbstractButton>

namespace {

// Right of the library's heading, left of its refresh button.
constexpr QPoint kLibraryShortcutsAt(500, 18);

}  // namespace

ListenerParts::ListenerParts(const CloudApiClient& api, Player& player, const std::string& folder)
    : player_(player), liked_(api), keeper_(player, folder) {}

void ListenerParts::show(MainWindow& window, PlayBar& bar, const Account& account) {
    bar.showListening(liked_);

    auto& songsPage = static_cast<ListenerSongsPage&>(*window.page(Pages::kListenerSongs));
    songsPage.setHistory([this] { return keeper_.history().songs(); });
    using List = ListenerSongsPage::List;

    auto* shortcuts = new ListenerShortcuts(window.page(Pages::kMusicLibrary)->content());
    shortcuts->move(kLibraryShortcutsAt);
    Router& router = window.router();
    const auto go = [&router, &account](List list, Place from) {
        ListenerSongsPage::go(router, list, account.loggedIn(), from);
    };
    QObject::connect(shortcuts, &ListenerShortcuts::dailyClicked, &songsPage,
                     [go] { go(List::Daily, Place::Library); });
    QObject::connect(shortcuts, &ListenerShortcuts::playedHereClicked, &songsPage,
                     [go] { go(List::PlayedHere, Place::Library); });
    QObject::connect(shortcuts, &ListenerShortcuts::weekRecordClicked, &songsPage,
                     [go] { go(List::WeekRecord, Place::Library); });
    QObject::connect(shortcuts, &ListenerShortcuts::fmClicked, &player_, [this, &account] {
        if (!account.loggedIn()) {
            MessageBoxWindow::show(kLoginNeededNotice);
            return;
        }
        player_.startFm(account.cookie());
    });

    // The home page's daily-songs strip leads to the daily songs.
    if (auto* enter = window.page(Pages::kHome)->findChild<QAbstractButton*>("按钮_进入"))
        QObject::connect(enter, &QAbstractButton::clicked, &songsPage, [go] { go(List::Daily, Place::Home); });

    // Every song list's rows carry hearts.
    for (TrackList* list : window.findChildren<TrackList*>()) {
        list->showHearts([this](const std::string& songId) { return liked_.contains(songId); });
        QObject::connect(list, &TrackList::heartClicked, &liked_, [this](const std::string& songId) {
            if (!liked_.toggle(songId)) MessageBoxWindow::show(kLoginNeededNotice);
        });
        QObject::connect(&liked_, &LikedSongs::changed, list, qOverload<>(&QWidget::update));
    }

    const auto followAccount = [this, &account] { liked_.useAccount(account.userId(), account.cookie()); };
    QObject::connect(&account, &Account::loaded, &liked_, followAccount);
    QObject::connect(&account, &Account::accountChanged, &liked_, followAccount);
    followAccount();
}
