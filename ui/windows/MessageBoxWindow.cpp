#include "ui/windows/MessageBoxWindow.h"

#include "ui/windows/ProgramWindow.h"
#include "ui/windows/WindowDrag.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QThread>
#include <utility>

namespace {

std::function<bool(const QUrl&)>& urlOpener() {
    static std::function<bool(const QUrl&)> opener = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    return opener;
}

const Notice kNoBrowser{
    .title = "浏览器打不开啦",
    .content = "Mivra酱没能打开您的浏览器来播放这个MV，请确认系统里设置了默认浏览器后再试一次吧！",
    .confirmCaption = "知道了",
};

Notice noFileManager(const std::string& folder) {
    return {.title = "文件夹打不开啦",
            .content = "Mivra酱没能为您打开文件夹，歌曲保存在：" + folder,
            .confirmCaption = "知道了"};
}

std::function<void()>& mvHostCloser() {
    static std::function<void()> closer = [] {};
    return closer;
}

// Opens only a web address: a file path or anything else is never handed
// to the desktop. False when the desktop could not open it.
bool openWebUrl(const std::string& text) {
    // Tolerant, so an address holding "%26" is not encoded a second time.
    QUrl url = QUrl::fromEncoded(QByteArray::fromStdString(text), QUrl::TolerantMode);
    QString scheme = url.scheme().toLower();
    if (url.isValid() && (scheme == "http" || scheme == "https") && !url.host().isEmpty()) return urlOpener()(url);
    return true;
}

class NoticeDialog;

// The dialog while a notice is open.
QPointer<NoticeDialog>& openDialog() {
    static QPointer<NoticeDialog> dialog;
    return dialog;
}

class NoticeDialog : public QWidget {
public:
    NoticeDialog() {
        setObjectName("MessageBoxWindow");
        setWindowTitle("Mivra音乐");
        setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
        ProgramWindow::adopt(this);
        setAttribute(Qt::WA_TranslucentBackground);
        setAttribute(Qt::WA_DeleteOnClose);
        setFixedSize(432, 285);

        title_ = new QLabel("提示框标题", this);
        title_->setObjectName("标签_提示框标题");
        title_->setGeometry(40, 35, 376, 54);
        title_->setStyleSheet("font-family: '微软雅黑'; font-size: 20px; font-weight: bold; color: #2d2d2d;");
        makeWindowDragHandle(title_, this);

        content_ = new QLabel("提示框内容", this);
        content_->setObjectName("标签_内容");
        content_->setGeometry(43, 95, 362, 99);
        content_->setWordWrap(true);
        content_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        content_->setStyleSheet("font-family: '微软雅黑'; font-size: 14px; color: #555555;");

        cancel_ = new QPushButton(this);
        cancel_->setObjectName("按钮_取消");
        cancel_->setGeometry(170, 195, 110, 50);
        confirm_ = new QPushButton(this);
        confirm_->setObjectName("按钮_确定");
        confirm_->setGeometry(285, 195, 110, 50);
        const char* buttonStyle =
            "QPushButton { border-radius: 10px; font-family: '微软雅黑'; font-size: 14px; %1 }"
            "QPushButton:hover { %2 }";
        cancel_->setStyleSheet(
            QString(buttonStyle).arg("background: #f0f0f0; color: #2d2d2d;").arg("background: #e2e2e2;"));
        confirm_->setStyleSheet(
            QString(buttonStyle).arg("background: #f48fb1; color: white;").arg("background: #ec7aa2;"));
        connect(confirm_, &QPushButton::clicked, this, &NoticeDialog::confirm);
        connect(cancel_, &QPushButton::clicked, this, &NoticeDialog::cancel);
    }

    void fill(const Notice& notice) {
        // A prompt about an MV that another notice replaces takes its MV
        // host window with it.
        if (!webUrl_.empty()) mvHostCloser()();
        cancel_->setVisible(!notice.cancelCaption.empty());
        confirm_->setText(QString::fromStdString(notice.confirmCaption));
        cancel_->setText(QString::fromStdString(notice.cancelCaption));
        title_->setText(QString::fromStdString(notice.title));
        content_->setText(QString::fromStdString(notice.content));
        webUrl_ = notice.webUrl;
        folder_ = notice.folder;
        onConfirm_ = notice.onConfirm;
        ProgramWindow::centre(this);
        show();
        raise();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QColor(0xE6, 0xE6, 0xE6));
        painter.setBrush(Qt::white);
        painter.drawRoundedRect(rect().adjusted(1, 1, -1, -1), 16, 16);
    }

    // However the dialog closes, an MV prompt's host window closes with it,
    // and the next notice gets a dialog of its own (this one is deleted
    // once control returns to the event loop).
    void closeEvent(QCloseEvent* event) override {
        if (!webUrl_.empty()) mvHostCloser()();
        webUrl_.clear();
        onConfirm_ = nullptr;
        if (openDialog() == this) openDialog() = nullptr;
        QWidget::closeEvent(event);
    }

private:
    // What was to be opened and could not be gets a notice of its own once
    // this one has closed.
    void confirm() {
        const std::string folder = folder_;
        const bool opened = webUrl_.empty() || openWebUrl(webUrl_);
        const bool folderOpened = folder.empty() || urlOpener()(QUrl::fromLocalFile(QString::fromStdString(folder)));
        const std::function<void()> confirmed = std::exchange(onConfirm_, nullptr);
        closeDialog();
        if (!opened) MessageBoxWindow::show(kNoBrowser);
        if (!folderOpened) MessageBoxWindow::show(noFileManager(folder));
        if (confirmed) confirmed();
    }

    void cancel() { closeDialog(); }

    void closeDialog() { close(); }

    QLabel* title_;
    QLabel* content_;
    QPushButton* cancel_;
    QPushButton* confirm_;
    std::string webUrl_;
    std::string folder_;
    std::function<void()> onConfirm_;
};

void showOnUiThread(const Notice& notice) {
    QPointer<NoticeDialog>& dialog = openDialog();
    if (!dialog) dialog = new NoticeDialog;
    dialog->fill(notice);
}

}  // namespace

namespace MessageBoxWindow {

void show(const Notice& notice) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return;
    if (QThread::currentThread() == app->thread()) {
        showOnUiThread(notice);
        return;
    }
    QMetaObject::invokeMethod(
        app, [notice] { showOnUiThread(notice); }, Qt::QueuedConnection);
}

QWidget* dialog() { return openDialog().data(); }

void setUrlOpener(std::function<bool(const QUrl&)> opener) { urlOpener() = std::move(opener); }

void setMvHostCloser(std::function<void()> closer) {
    mvHostCloser() = closer ? std::move(closer) : [] {};
}

}  // namespace MessageBoxWindow
