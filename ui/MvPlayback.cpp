#include "ui/MvPlayback.h"

#include "browse/MvAddress.h"
#include "net/HttpUrl.h"
#include "ui/widgets/Theme.h"
#include "ui/windows/MessageBoxWindow.h"
#include "ui/windows/ProgramWindow.h"

#include <QPainter>
#include <QWidget>

namespace {

const Notice kMvFailed{
    .title = "MV播放失败啦",
    .content = "Mivra酱没能获取到这个MV的播放地址，请稍后再试一次吧！",
    .confirmCaption = "接受事实",
};

Notice browserPrompt(const std::string& url) {
    return {
        .title = "即将使用浏览器打开",
        .content =
            "很遗憾...由于多方面的限制，Mivra酱无法使用内置的视频播放器为您播放MV，只能使用您的浏览器为您"
            "播放，您是否允许Mivra酱打开您的浏览器呢？",
        .confirmCaption = "允许",
        .cancelCaption = "不允许",
        .webUrl = url,
    };
}

// The window that stands for the MV while the prompt asks; it holds nothing.
class MvHostWindow : public QWidget {
public:
    MvHostWindow() {
        setObjectName("MvHostWindow");
        setWindowTitle("Mivra音乐 MV播放器");
        setAttribute(Qt::WA_DeleteOnClose);
        setFixedSize(255, 231);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), QColor::fromRgba(Theme::kWindow));
    }
};

}  // namespace

MvPlayback::MvPlayback(MvAddress& address, ServiceHosts hosts) : address_(address), hosts_(std::move(hosts)) {
    connect(&address_.feed(), &FeedSignals::requestEnded, this, [this] {
        const std::vector<std::string>& found = address_.feed().items();
        offer(found.empty() ? std::string() : found.front(), throughWebPlayer_);
    });
    MessageBoxWindow::setMvHostCloser([this] {
        // Closing deletes the window later; a new MV must not reuse it.
        if (QWidget* host = host_.data()) {
            host_ = nullptr;
            host->close();
        }
    });
}

MvPlayback::~MvPlayback() {
    MessageBoxWindow::setMvHostCloser({});
    delete host_.data();
}

void MvPlayback::play(const std::string& mvId) { request(mvId, false); }

void MvPlayback::playInWebPlayer(const std::string& mvId) { request(mvId, true); }

void MvPlayback::request(const std::string& mvId, bool throughWebPlayer) {
    throughWebPlayer_ = throughWebPlayer;
    address_.load(mvId);
}

void MvPlayback::offer(const std::string& streamUrl, bool throughWebPlayer) {
    if (!splitHttpUrl(streamUrl)) {
        MessageBoxWindow::show(kMvFailed);
        return;
    }
    pendingMvUrl_ = throughWebPlayer && hosts_ ? hosts_->webPlayerUrl(streamUrl) : streamUrl;
    // The prompt first: a prompt it replaces takes the old host window away.
    MessageBoxWindow::show(browserPrompt(pendingMvUrl_));
    openHostWindow();
}

void MvPlayback::openHostWindow() {
    if (!host_) {
        host_ = new MvHostWindow;
        ProgramWindow::adopt(host_);
        ProgramWindow::centre(host_);
    }
    host_->show();
    // The prompt stays in front of the window it asks about.
    if (QWidget* prompt = MessageBoxWindow::dialog()) {
        prompt->raise();
        prompt->activateWindow();
    }
}
