#include "PageTestSupport.h"

#include "net/HttpClient.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <QTest>
#include <chrono>
#include <thread>

PageWindow::PageWindow(const std::string& origin)
    : client(ServiceHosts::allAt(origin)),
      pictures([this](const std::string& url) { return client.fetchPicture(url); }, nullptr) {
    window.setCatalogue(&client);
    window.setPictures(&pictures);
    window.enterStartPage();
    window.show();
}

QStringList itemTexts(const IconList& list, IconText element) {
    QStringList result;
    for (int i = 0; i < list.itemCount(); ++i) result << list.itemText(i, element);
    return result;
}

QStringList names(const std::vector<CoverItem>& items) {
    QStringList result;
    for (const CoverItem& item : items) result << QString::fromStdString(item.name);
    return result;
}

QStringList names(const std::vector<SongItem>& songs) {
    QStringList result;
    for (const SongItem& song : songs) result << QString::fromStdString(song.name);
    return result;
}

QStringList artistsOf(const std::vector<SongItem>& songs) {
    QStringList result;
    for (const SongItem& song : songs) result << QString::fromStdString(song.artists);
    return result;
}

ItemIds ids(const std::vector<CoverItem>& items) {
    ItemIds result;
    for (const CoverItem& item : items) result.push_back(item.id);
    return result;
}

ItemIds ids(const std::vector<SongItem>& songs) {
    ItemIds result;
    for (const SongItem& song : songs) result.push_back(song.id);
    return result;
}

void clickItem(IconList* list, int index) {
    QTest::mouseClick(list, Qt::LeftButton, {}, list->itemRect(index).center());
}

void doubleClickItem(IconList* list, int index) {
    QTest::mouseDClick(list, Qt::LeftButton, {}, list->itemRect(index).center());
}

// A port the system hands out and takes back at once.
std::string unreachableOrigin() {
    const int probe = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(probe, reinterpret_cast<sockaddr*>(&address), length);
    getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
    close(probe);
    return "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port));
}

DemoLogin logInToDemoAccount(const CloudApiClient& client) {
    DemoLogin account;
    const std::string key = client.qrCreateKey();
    HttpRequest scan;
    scan.url = client.qrCreateUrl(key);
    HttpClient::fetchService(scan);
    for (int poll = 0; poll < 5 && account.cookie.empty(); ++poll) {
        const QrPollResult result = client.qrPoll(key);
        if (result.state == QrLoginState::LoggedIn) account.cookie = result.cookie;
    }
    account.profile = client.fetchAccount(account.cookie);
    return account;
}

std::unique_ptr<Account> showAccount(MainWindow& window, const CloudApiClient& client, const std::string& folder,
                                     std::string cookie, const AccountProfile& profile) {
    auto account = std::make_unique<Account>(client, AppSettings(folder + "/config.ini"), std::move(cookie));
    account->restore(profile);
    window.setAccount(account.get());
    return account;
}

DelayingRelay::DelayingRelay(std::string companionOrigin) : companion_(std::move(companionOrigin)) {
    server_.setHandler([this](const RecordedRequest& request) { return relay(request); });
}

void DelayingRelay::setDelay(DelayRule rule) {
    std::lock_guard lock(mutex_);
    delay_ = std::move(rule);
}

CannedReply DelayingRelay::relay(const RecordedRequest& request) {
    DelayRule delay;
    {
        std::lock_guard lock(mutex_);
        delay = delay_;
    }
    if (delay) std::this_thread::sleep_for(std::chrono::milliseconds(delay(request.target)));
    HttpRequest passOn;
    passOn.url = companion_ + request.target;
    const HttpResponse answer = HttpClient::fetchPicture(passOn);
    return {answer.statusCode ? answer.statusCode : 502, answer.bodyBytes, "application/octet-stream", {}};
}
