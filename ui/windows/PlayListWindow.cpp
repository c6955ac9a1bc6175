#include "ui/windows/PlayListWindow.h"

#include "api/CloudApiClient.h"
#include "player/Player.h"
#include "ui/lists/IconList.h"
#include "ui/lists/IconListFill.h"
#include "ui/pictures/Artwork.h"
#include "ui/widgets/FlatButton.h"
#include "ui/widgets/SlimScrollBar.h"
#include "ui/windows/WindowDrag.h"

#include <QLabel>
#include <QPainter>
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

// The rows of several queued songs from one request; a song the answer
// lacks gets empty texts.
std::vector<CoverItem> namedRows(const CloudApiClient& catalogue, const std::vector<std::string>& ids) {
    if (ids.empty()) return {};
    const SongNameList names = catalogue.fetchSongNames(ids);
    std::vector<CoverItem> rows;
    for (size_t i = 0; i < ids.size(); ++i) {
        const std::string name = i < names.names.size() ? names.names[i] : "";
        const std::string artist = i < names.firstArtists.size() ? names.firstArtists[i] : "";
        rows.push_back({"", name, ids[i], artist});
    }
    return rows;
}

}  // namespace

PlayListWindow::PlayListWindow(Player& player, const CloudApiClient& catalogue, TypefaceChoice typeface)
    : player_(player), catalogue_(catalogue), typeface_(std::move(typeface)) {
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
    connect(clear, &QAbstractButton::clicked, this, &PlayListWindow::clearQueue);
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
}

void PlayListWindow::reload() {
    rowIds_ = player_.queue().ids();
    IconListFill fill;
    fill.itemTemplate = rowTemplate(typeface_);
    if (rowIds_.size() == 1) {
        fill.fetchRecords = [row = CoverItem{"", player_.title(), rowIds_.front(), player_.artists()}](ServiceStatus*) {
            return std::vector<CoverItem>{row};
        };
    } else {
        fill.fetchRecords = [&catalogue = catalogue_, ids = rowIds_](ServiceStatus*) {
            return namedRows(catalogue, ids);
        };
    }
    fill.fixedPicture = Artwork::render(Artwork::Picture::SongNote, {50, 50}, list_->devicePixelRatioF());
    fill.clearCurrentItem = true;
    fill.onItemsInserted = [this](int rows) {
        list_->setMinimumHeight(rows * kRowHeight);
        markPlaying();
    };
    fillIconList(list_, std::move(fill));
}

void PlayListWindow::playChosen(int row) {
    if (row >= 0 && row < static_cast<int>(rowIds_.size())) player_.playQueued(row + 1);
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

void PlayListWindow::markPlaying() {
    const auto playing = std::find(rowIds_.begin(), rowIds_.end(), player_.currentSongId());
    const int row = playing == rowIds_.end() ? -1 : static_cast<int>(playing - rowIds_.begin());
    if (row >= list_->itemCount()) return;
    list_->setMarkedItem(row);
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
