#include "ui/widgets/ServiceFailureLine.h"

#include "ui/widgets/Theme.h"

#include <QMouseEvent>
#include <QUrl>
#include <algorithm>

namespace {

// The accent on the page's own background: noticeable, not alarming.
constexpr QRgb kLineText = Theme::kAccent;
constexpr QRgb kLineBackground = Theme::kWindow;
constexpr int kLinePixelSize = 15;

std::string& localCompanion() {
    static std::string origin;
    return origin;
}

}  // namespace

void ServiceFailureLine::setLocalCompanion(const std::string& origin) { localCompanion() = origin; }

QString ServiceFailureLine::textFor(const std::string& companion) {
    if (companion.empty()) return QString::fromUtf8(kText);
    const QUrl origin(QString::fromStdString(companion));
    return QString("Mivra酱连不上本机的演示服务器了，请运行 mivra-server --port %1 启动它后点这里重试")
        .arg(origin.port(80));
}

ServiceFailureLine::ServiceFailureLine(QWidget* parent, QRect geometry)
    : QLabel(QString::fromUtf8(kText), parent), widest_(geometry.width()) {
    setObjectName("标签_连接失败");
    setGeometry(geometry);
    setFont(Theme::font(kLinePixelSize));
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor::fromRgba(kLineBackground));
    colours.setColor(QPalette::WindowText, QColor::fromRgba(kLineText));
    setPalette(colours);
    setCursor(Qt::PointingHandCursor);
    // As wide as its text: it covers no more of the page than it must.
    resize(std::min(geometry.width(), sizeHint().width()), geometry.height());
    hide();
}

void ServiceFailureLine::loadStarted(const void* part) {
    std::erase_if(failed_, [part](const FailedPart& entry) { return entry.part == part; });
    setVisible(!failed_.empty());
}

void ServiceFailureLine::report(const void* part, ServiceStatus status, std::function<void()> reload) {
    loadStarted(part);
    if (status == ServiceStatus::Failed) {
        failed_.push_back({part, std::move(reload)});
        showFailure();
    }
}

// Says what could not be reached as the service is reached now, as wide as
// the text.
void ServiceFailureLine::showFailure() {
    setText(textFor(localCompanion()));
    resize(std::min(widest_, sizeHint().width()), height());
    show();
    raise();
}

std::function<void(ServiceStatus, int)> ServiceFailureLine::watchFill(const void* part, std::function<void()> reload) {
    loadStarted(part);
    return [this, part, reload = std::move(reload)](ServiceStatus status, int) { report(part, status, reload); };
}

bool ServiceFailureLine::failed(const void* part) const {
    return std::any_of(failed_.begin(), failed_.end(), [part](const FailedPart& entry) { return entry.part == part; });
}

// The reloads report again when they end; until then the line stays hidden.
void ServiceFailureLine::retry() {
    std::vector<FailedPart> reloads = std::move(failed_);
    failed_.clear();
    hide();
    for (FailedPart& entry : reloads) entry.reload();
}

void ServiceFailureLine::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) retry();
    QLabel::mouseReleaseEvent(event);
}

void ServiceFailureLine::follow(FeedSignals& feed) {
    connect(&feed, &FeedSignals::started, this, [this, &feed] { loadStarted(&feed); });
    connect(&feed, &FeedSignals::requestEnded, this,
            [this, &feed](ServiceStatus status) { report(&feed, status, [&feed] { feed.retry(); }); });
    // A feed that goes away can no longer be asked again.
    connect(&feed, &QObject::destroyed, this, [this, part = static_cast<const void*>(&feed)] { loadStarted(part); });
}
