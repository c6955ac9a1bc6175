#include "ui/windows/UpdateLogWindow.h"

#include "maintenance/UpdateLog.h"
#include "ui/pictures/Artwork.h"
#include "ui/widgets/FlatButton.h"
#include "ui/widgets/SlimScrollBar.h"
#include "ui/widgets/Theme.h"
#include "ui/windows/WindowDrag.h"

#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr QRect kListArea(-10, 80, 378, 400);
constexpr int kTextLeft = 50;
constexpr int kTextWidth = 350;

QLabel* textLabel(const std::string& text, int pixelSize, int opacity, QWidget* parent) {
    auto* label = new QLabel(QString::fromStdString(text), parent);
    label->setFont(Theme::font(Theme::kDefaultTypeface, pixelSize));
    label->setStyleSheet(QString("color: rgba(0, 0, 0, %1);").arg(opacity));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

// One entry: the title, the content wrapped below it, and the separator at
// the item's bottom unless it is the last.
QWidget* logItem(const UpdateLogEntry& entry, bool separated, QWidget* parent) {
    auto* item = new QWidget(parent);
    const int height = updateLogItemHeight(entry.content);
    item->setFixedHeight(height);
    item->setObjectName("更新日志项");

    QLabel* title = textLabel(entry.title, 15, 255, item);
    title->setObjectName("标题");
    title->setGeometry(kTextLeft, 10, kTextWidth, 20);
    // CR LF pairs are line breaks; a lone CR or LF breaks a line too.
    QLabel* content = textLabel(
        QString::fromStdString(entry.content).replace("\r\n", "\n").replace('\r', '\n').toStdString(), 11, 150, item);
    content->setObjectName("内容");
    content->setWordWrap(true);
    content->setGeometry(kTextLeft, 40, kTextWidth, std::max(0, height - 40));
    if (separated) {
        auto* separator = new QWidget(item);
        separator->setObjectName("分隔线");
        separator->setGeometry(kTextLeft, height - 2, kTextWidth, 2);
        separator->setAutoFillBackground(true);
        QPalette palette = separator->palette();
        palette.setColor(QPalette::Window, QColor(0xEE, 0xEE, 0xF0));
        separator->setPalette(palette);
    }
    return item;
}

}  // namespace

UpdateLogWindow::UpdateLogWindow(const std::string& updateLogText, const AppSettings& settings)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint) {
    setObjectName("UpdateLogWindow");
    setWindowTitle("Mivra音乐更新日志");
    setFixedSize(408, 508);
    createControls();
    fill(updateLogText);
    // The program's own spelling: start-up reads anything but "true" as shown.
    settings.write("Data", "UpDateLog", "flase");
}

void UpdateLogWindow::createControls() {
    auto* title = new QLabel("Mivra音乐更新日志", this);
    title->setObjectName("标签_提示框标题");
    title->setGeometry(40, 35, 200, 54);
    title->setFont(Theme::font(Theme::kDefaultTypeface, 20, QFont::Bold));
    title->setStyleSheet(QString("color: %1;").arg(QColor::fromRgba(Theme::kCaption).name()));
    makeWindowDragHandle(title, this);

    auto* close = new FlatButton(Artwork::render(Artwork::Picture::Close, {40, 40}, devicePixelRatioF()), this);
    close->setObjectName("工具栏_关闭");
    close->setGeometry(328, 40, 40, 40);
    close->setHoverColor(QColor(0xFD, 0xE4, 0xEC));
    setAttribute(Qt::WA_DeleteOnClose);
    connect(close, &QAbstractButton::clicked, this, &QWidget::close);

    scrollArea_ = new QScrollArea(this);
    scrollArea_->setObjectName("列表框_更新日志");
    scrollArea_->setGeometry(kListArea);
    scrollArea_->setFrameShape(QFrame::NoFrame);
    scrollArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scrollArea_->setStyleSheet(
        "QScrollArea { background: transparent; border: none; } QScrollArea > QWidget > QWidget { background: "
        "transparent; }");
    scrollArea_->setVerticalScrollBar(new SlimScrollBar);
    scrollArea_->setWidgetResizable(true);
    list_ = new QWidget;
    scrollArea_->setWidget(list_);
}

void UpdateLogWindow::fill(const std::string& updateLogText) {
    const std::vector<UpdateLogEntry> entries = parseUpdateLog(updateLogText);
    list_->setUpdatesEnabled(false);
    auto* column = new QVBoxLayout(list_);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    for (size_t i = 0; i < entries.size(); ++i) column->addWidget(logItem(entries[i], i + 1 < entries.size(), list_));
    column->addStretch();
    list_->setUpdatesEnabled(true);
}

void UpdateLogWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgba(Theme::kWindow));
    painter.setPen(QColor(0xDF, 0xE1, 0xE6));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
