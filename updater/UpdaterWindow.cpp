#include "updater/UpdaterWindow.h"

#include "maintenance/UpdateLog.h"
#include "ui/pictures/Artwork.h"
#include "ui/widgets/FlatButton.h"
#include "ui/widgets/SlimScrollBar.h"
#include "ui/widgets/Theme.h"
#include "ui/windows/MessageBoxWindow.h"
#include "ui/windows/WindowDrag.h"

#include <QDesktopServices>
#include <QLabel>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QScrollArea>

namespace {

const Notice kNoDownloadPage{
    .title = "暂时无法下载",
    .content = "Mivra酱没有找到新版本的下载地址，请稍后再试一次吧！",
    .confirmCaption = "知道了",
};

const Notice kNoProgram{
    .title = "启动失败啦",
    .content = "Mivra酱没能重新启动Mivra音乐，请手动打开它吧！",
    .confirmCaption = "知道了",
};

// Only http and https pages go to the browser.
bool isWebPage(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == "http" || scheme == "https") && !url.host().isEmpty();
}

// The entries as plain text: each title, then its lines.
QString logText(const std::string& updateLogText) {
    QStringList parts;
    for (const UpdateLogEntry& entry : parseUpdateLog(updateLogText)) {
        QString content = QString::fromStdString(entry.content);
        content.replace("\r\n", "\n").replace('\r', '\n');
        parts << QString::fromStdString(entry.title) + "\n" + content;
    }
    return parts.isEmpty() ? QString("Mivra酱暂时没有拿到这次更新的内容。") : parts.join("\n\n");
}

QPushButton* actionButton(const QString& caption, const QColor& background, const QColor& text, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setFont(Theme::font(Theme::kDefaultTypeface, 15));
    button->setCursor(Qt::PointingHandCursor);
    button->setStyleSheet(QString("QPushButton { background: %1; color: %2; border: none; border-radius: 18px; }"
                                  "QPushButton:hover { background: %3; }")
                              .arg(background.name(), text.name(), background.darker(108).name()));
    return button;
}

}  // namespace

UpdaterWindow::Outside UpdaterWindow::desktop() {
    return {[](const QUrl& url) { QDesktopServices::openUrl(url); },
            [](const QString& program) { return QProcess::startDetached(program, {}); }};
}

UpdaterWindow::UpdaterWindow(RemoteConfig announced, AppSettings settings, Outside outside)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      announced_(std::move(announced)),
      settings_(std::move(settings)),
      outside_(std::move(outside)) {
    setObjectName("UpdaterWindow");
    setWindowTitle("Mivra音乐更新");
    setFixedSize(408, 508);
    createControls();
}

void UpdaterWindow::createControls() {
    auto* title = new QLabel("发现新版本", this);
    title->setObjectName("标签_标题");
    title->setGeometry(40, 35, 260, 54);
    title->setFont(Theme::font(Theme::kDefaultTypeface, 26, QFont::Bold));
    title->setStyleSheet(QString("color: %1;").arg(QColor::fromRgba(Theme::kCaption).name()));
    makeWindowDragHandle(title, this);

    auto* close = new FlatButton(Artwork::render(Artwork::Picture::Close, {40, 40}, devicePixelRatioF()), this);
    close->setObjectName("工具栏_关闭");
    close->setGeometry(328, 40, 40, 40);
    close->setHoverColor(QColor(0xFD, 0xE4, 0xEC));
    connect(close, &QAbstractButton::clicked, this, &QWidget::close);

    auto* version = new QLabel("新版本：" + QString::fromStdString(announced_.version), this);
    version->setObjectName("标签_版本");
    version->setGeometry(40, 90, 328, 24);
    version->setFont(Theme::font(Theme::kDefaultTypeface, 15));
    version->setStyleSheet(QString("color: %1;").arg(QColor::fromRgba(Theme::kAccent).name()));

    auto* log = new QLabel(logText(announced_.updateLogText));
    log->setObjectName("标签_更新日志");
    log->setWordWrap(true);
    log->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    log->setFont(Theme::font(Theme::kDefaultTypeface, 13));
    log->setStyleSheet("color: rgba(0, 0, 0, 170); background: transparent;");
    log->setContentsMargins(0, 0, 8, 0);
    auto* scroll = new QScrollArea(this);
    scroll->setGeometry(40, 126, 336, 290);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setStyleSheet(
        "QScrollArea { background: transparent; border: none; } QScrollArea > QWidget > QWidget { background: "
        "transparent; }");
    scroll->setVerticalScrollBar(new SlimScrollBar);
    scroll->setWidgetResizable(true);
    scroll->setWidget(log);

    auto* download = actionButton("前往下载", QColor::fromRgba(Theme::kAccent), Qt::white, this);
    download->setObjectName("按钮_前往下载");
    download->setGeometry(212, 436, 156, 36);
    connect(download, &QPushButton::clicked, this, &UpdaterWindow::openDownloadPage);
    auto* later = actionButton("暂不更新", QColor(0xF2, 0xF3, 0xF5), QColor::fromRgba(Theme::kCaption), this);
    later->setObjectName("按钮_暂不更新");
    later->setGeometry(40, 436, 156, 36);
    connect(later, &QPushButton::clicked, this, &UpdaterWindow::skipThisVersion);
}

void UpdaterWindow::openDownloadPage() {
    const QUrl page = QUrl::fromEncoded(QByteArray::fromStdString(announced_.downloadUrl), QUrl::TolerantMode);
    if (isWebPage(page)) {
        outside_.openUrl(page);
    } else {
        MessageBoxWindow::show(kNoDownloadPage);
    }
}

void UpdaterWindow::skipThisVersion() {
    if (!announced_.version.empty()) settings_.write("Data", "SkipVer", announced_.version);
    const QString program = QString::fromStdString(settings_.read("Setting", "Path"));
    if (program.isEmpty() || !outside_.startProgram(program)) {
        MessageBoxWindow::show(kNoProgram);
        return;
    }
    close();
}

void UpdaterWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgba(Theme::kWindow));
    painter.setPen(QColor(0xDF, 0xE1, 0xE6));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
