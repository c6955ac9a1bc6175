#pragma once
// What the page tests share: reading a list's items, clicking them, logging
// in to the companion's demo account, and a relay that holds back chosen
// answers so an older request can answer after a newer one.
#include "api/CloudApiClient.h"
#include "browse/Account.h"
#include "ui/lists/IconList.h"
#include "ui/pages/Navigation.h"
#include "ui/pictures/PicturePipeline.h"
#include "ui/windows/MainWindow.h"

#include "RecordingServer.h"

#include <QStringList>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// A main window on its start page, shown, whose pages load from `origin`
// and take their pictures through a pipeline of their own.
struct PageWindow {
    explicit PageWindow(const std::string& origin);

    const CloudApiClient client;
    PicturePipeline pictures;
    MainWindow window;  // last: its tasks end before the client goes
};

QStringList itemTexts(const IconList& list, IconText element);
QStringList names(const std::vector<CoverItem>& items);
QStringList names(const std::vector<SongItem>& songs);
QStringList artistsOf(const std::vector<SongItem>& songs);
ItemIds ids(const std::vector<CoverItem>& items);
ItemIds ids(const std::vector<SongItem>& songs);

void clickItem(IconList* list, int index);
void doubleClickItem(IconList* list, int index);

// An origin on this machine that nothing listens on.
std::string unreachableOrigin();

// Logs in to the companion's demo account by QR code, scanning the code as
// the phone would; returns the account with its cookie.
struct DemoLogin {
    std::string cookie;
    AccountProfile profile;
};
DemoLogin logInToDemoAccount(const CloudApiClient& client);

// An account holding `cookie` and logged in as `profile` (nobody when its
// user id is empty), shown by `window`; keep it as long as the window.
// Its settings go to a file in `folder`.
std::unique_ptr<Account> showAccount(MainWindow& window, const CloudApiClient& client, const std::string& folder,
                                     std::string cookie, const AccountProfile& profile);

// Passes every request on to the companion and answers with what it said,
// after the delay the test sets for the request's path and query.
class DelayingRelay {
public:
    using DelayRule = std::function<int(const std::string& target)>;  // milliseconds

    explicit DelayingRelay(std::string companionOrigin);
    void setDelay(DelayRule rule);
    std::string origin() const { return server_.url(""); }

private:
    CannedReply relay(const RecordedRequest& request);

    const std::string companion_;
    std::mutex mutex_;
    DelayRule delay_;         // guarded by mutex_
    RecordingServer server_;  // last: it stops answering before the rest goes
};

// A service client whose requests go through a relay. A window's tasks may
// still use it after a test's last step: keep it in the fixture, above the
// window.
struct RelayedCatalogue {
    explicit RelayedCatalogue(const std::string& companionOrigin)
        : relay(companionOrigin), client(ServiceHosts::allAt(relay.origin())) {}

    DelayingRelay relay;
    const CloudApiClient client;
};
