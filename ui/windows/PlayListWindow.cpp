#include "ui/windows/PlayListWindow.h"

#include "browse/SongNames.h"
#include "player/Player.h"
#include "ui/lists/IconList.h"
#include "ui/lists/IconListFill.h"
#include "ui/pictures/Artwork.h"
#include "ui/widgets/FlatButton.h"
#include "ui/widgets/SlimScrollBar.h"
#include "ui/windows/MessageBoxWindow.h"
#include "ui/windows/WindowDrag.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>

namespace {

constexpr QRect kListArea(40, 104, 560, 376);
// Where a row's texts end: clear of the scrollbar at the area's right edge.
constexpr int kTextRight = kListArea.width() - 32;

// One song a row: the note picture, the title over the first artist. The
// row is as wide as the whole list area, so there is one column whether or
// not the scrollbar takes its share; the texts end clear of the scrollbar.
IconTemplate rowTemplate(const TypefaceChoice& type) {
    const int textWidth = kTextRight - 72;
    IconTemplate t;
    t.cellSize = {kListArea.width(), PlayListWindow::kRowHeight};
    t.pictureRect = {9, 8, 50, 50};
    t.rounding = 15;
    t.mainText = IconTextElement{
        {72, 9, textWidth, 22}, type.font(17), QColor::fromRgba(Theme::kCaption), Qt::AlignLeft | Qt::AlignTop, false};
    t.secondText = secondLine({72, 34, textWidth, 20}, type.font(13));
    return t;
}

const Notice kClearQuestion{
    .title = "清空播放列表",
    .content = "Mivra酱要把播放列表里的歌曲全部清空吗？正在播放的歌曲也会停下来哦。",
    .confirmCaption = "清空",
    .cancelCaption = "取消",
};

}  // namespace

PlayListWindow::PlayListWindow(Player& player, const SongNames& names, TypefaceChoice typeface)
    : player_(player), names_(names), typeface_(std::move(typeface)) {
    setObjectName("PlayListWindow");
    setWindowTitle("Mivra Loading...");
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setFixedSize(650, 520);
    createControls();

    connect(&player_, &Player::queueChanged, this, &PlayListWindow::reload);
    connect(&player_, &Player::songChanged, this, &PlayListWindow::followSong);
    // A chosen song loading is not to be chosen over again.
    connect(&player_, &Player::loadingChanged, list_, [this](bool loading) { list_->setEnabled(!loading); });
    reload();
}

void PlayListWindow::createControls() {
    auto* title = new QLabel("播放列表", this);
    title->setObjectName("标签_播放列表");
    title->setGeometry(40, 35, 112, 54);
    title->setFont(Theme::font(Theme::kDefaultTypeface, 26, QFont::Bold));
    title->setStyleSheet(QString("color: %1;").arg(QColor::fromRgba(Theme::kCaption).name()));
    makeWindowDragHandle(title, this);

    const qreal dpr = devicePixelRatioF();
    auto* clear = new FlatButton(Artwork::render(Artwork::Picture::Clear, {40, 40}, dpr), this);
    clear->setObjectName("工具栏_清空");
    clear->setGeometry(520, 40, 40, 40);
    clear->setToolTip("清空播放列表");
    connect(clear, &QAbstractButton::clicked, this, &PlayListWindow::askToClear);
    auto* close = new FlatButton(Artwork::render(Artwork::Picture::Close, {40, 40}, dpr), this);
    close->setObjectName("工具栏_关闭");
    close->setGeometry(567, 40, 40, 40);
    close->setHoverColor(QColor(0xFD, 0xE4, 0xEC));
    connect(close, &QAbstractButton::clicked, this, &QWidget::close);

    scrollArea_ = new QScrollArea(this);
    scrollArea_->setGeometry(kListArea);
    scrollArea_->setFrameShape(QFrame::NoFrame);
    scrollArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scrollArea_->setStyleSheet(
        "QScrollArea { background: transparent; border: none; } QScrollArea > QWidget > QWidget { background: "
        "transparent; }");
    scrollArea_->setVerticalScrollBar(new SlimScrollBar);
    list_ = new IconList;
    list_->setObjectName("图标列表框播放列表");
    // As wide as the area shows and as high as its rows (or the area).
    scrollArea_->setWidgetResizable(true);
    scrollArea_->setWidget(list_);
    connect(list_, &IconList::itemActivated, this, &PlayListWindow::playChosen);
    createRowMenu();
}

void PlayListWindow::createRowMenu() {
    rowMenu_ = new QMenu(this);
    rowMenu_->setObjectName("PlayListRowMenu");
    rowMenu_->setFont(Theme::font(14));
    rowMenu_->setStyleSheet("QMenu::item { min-width: 120px; min-height: 36px; padding: 0 12px; }");
    const auto add = [this](const char* caption, auto act) {
        connect(rowMenu_->addAction(QString::fromUtf8(caption)), &QAction::triggered, this, [this, act] {
            if (menuRow_ >= 0 && menuRow_ < static_cast<int>(rowIds_.size())) act(menuRow_ + 1);
        });
    };
    add("下一首播放", [this](int position) { player_.playQueuedNext(position); });
    add("上移", [this](int position) { player_.moveQueued(position, position - 1); });
    add("下移", [this](int position) { player_.moveQueued(position, position + 1); });
    add("从播放列表中删除", [this](int position) { player_.removeQueued(position); });

    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list_, &QWidget::customContextMenuRequested, this, [this](QPoint at) {
        const int row = list_->itemAt(at);
        if (row >= 0) rowMenu(row)->popup(list_->mapToGlobal(at));
    });
    list_->installEventFilter(this);
}

QMenu* PlayListWindow::rowMenu(int row) {
    menuRow_ = row;
    const QList<QAction*> items = rowMenu_->actions();
    const int last = static_cast<int>(rowIds_.size()) - 1;
    const bool current = row == list_->markedItem();
    items[0]->setEnabled(!current);
    items[1]->setEnabled(row > 0);
    items[2]->setEnabled(row < last);
    return rowMenu_;
}

// Delete takes the row chosen out of the queue.
bool PlayListWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete && list_->currentItem() >= 0) {
        player_.removeQueued(list_->currentItem() + 1);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void PlayListWindow::reload() {
    keepShownNames();
    rowIds_ = player_.queue().ids();
    IconListFill fill;
    fill.itemTemplate = rowTemplate(typeface_);
    if (rowIds_.size() == 1) {
        fill.fetchRecords = [row = CoverItem{"", player_.title(), rowIds_.front(), player_.artists()}](ServiceStatus*) {
            return std::vector<CoverItem>{row};
        };
    } else {
        fill.fetchRecords = [&names = names_, ids = rowIds_, named = namedRows_](ServiceStatus*) {
            return names.rowsFor(ids, named);
        };
    }
    fill.fixedPicture = Artwork::render(Artwork::Picture::SongNote, {50, 50}, list_->devicePixelRatioF());
    fill.clearCurrentItem = true;
    fill.itemIds = &shownIds_;
    fill.onItemsInserted = [this](int rows) {
        list_->setMinimumHeight(rows * kRowHeight);
        markPlaying();
    };
    fillIconList(list_, std::move(fill));
}

void PlayListWindow::playChosen(int row) {
    if (row >= 0 && row < static_cast<int>(rowIds_.size())) player_.playQueued(row + 1);
}

// Rows that got a title keep it; a row left empty by a failed request is
// asked for again.
void PlayListWindow::keepShownNames() {
    for (size_t i = 0; i < shownIds_.size() && static_cast<int>(i) < list_->itemCount(); ++i) {
        const int row = static_cast<int>(i);
        const std::string title = list_->itemText(row, IconText::Main).toStdString();
        if (!title.empty())
            namedRows_[shownIds_[i]] = {"", title, shownIds_[i], list_->itemText(row, IconText::Second).toStdString()};
    }
}

void PlayListWindow::askToClear() {
    if (player_.queue().size() == 0) {
        clearQueue();
        return;
    }
    Notice question = kClearQuestion;
    question.onConfirm = [window = QPointer<PlayListWindow>(this)] {
        if (window) window->clearQueue();
    };
    MessageBoxWindow::show(question);
}

void PlayListWindow::clearQueue() {
    player_.clearQueue();
    close();
}

// A new song is shown: its row is marked. A single row shows the play bar's
// texts, so it is read again.
void PlayListWindow::followSong() {
    if (rowIds_.size() == 1)
        reload();
    else
        markPlaying();
}

// The song playing is marked and the songs before it are faded: they have
// played, the ones after it are to come.
void PlayListWindow::markPlaying() {
    const auto playing = std::find(rowIds_.begin(), rowIds_.end(), player_.currentSongId());
    const int row = playing == rowIds_.end() ? -1 : static_cast<int>(playing - rowIds_.begin());
    if (row >= list_->itemCount()) return;
    list_->setMarkedItem(row);
    list_->setFadedBefore(std::max(row, 0));
    if (row >= 0) keepInView(list_->itemRect(row));
}

// Scrolls the least that shows the whole of `rect`.
void PlayListWindow::keepInView(const QRect& rect) {
    QScrollBar* scrollBar = scrollArea_->verticalScrollBar();
    const int shownHeight = scrollArea_->viewport()->height();
    if (rect.top() < scrollBar->value())
        scrollBar->setValue(rect.top());
    else if (rect.top() + rect.height() > scrollBar->value() + shownHeight)
        scrollBar->setValue(rect.top() + rect.height() - shownHeight);
}

// Square like the main window it opens over, so it looks the same with or
// without a compositor; the edge sets it off against the main window.
void PlayListWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgba(Theme::kWindow));
    painter.setPen(QColor(0xDF, 0xE1, 0xE6));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
