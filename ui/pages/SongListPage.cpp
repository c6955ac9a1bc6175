#include "ui/pages/SongListPage.h"

#include "ui/lists/ItemEvents.h"
#include "ui/lists/ListHeight.h"
#include "ui/lists/TrackList.h"
#include "ui/pages/PageControls.h"
#include "ui/widgets/FlatButton.h"
#include "ui/widgets/PictureBox.h"
#include "ui/widgets/ScrollPane.h"
#include "ui/widgets/ServiceFailureLine.h"

#include <QLabel>
#include <QPushButton>

namespace {

constexpr int kListTop = 380;
// The slide box holds the songs' rows and this much more: the header above
// the list and a margin below it.
constexpr int kSlideBoxExtra = 400;

// A round-ended button of the header: `ground` behind its caption, a shade
// darker under the mouse.
QPushButton* makeHeaderButton(QWidget* parent, const char* name, const char* caption, QRect geometry, QColor ground,
                              QColor text) {
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setObjectName(QString::fromUtf8(name));
    button->setGeometry(geometry);
    button->setFont(Theme::font(16, QFont::Medium));
    button->setCursor(Qt::PointingHandCursor);
    button->setFocusPolicy(Qt::NoFocus);
    button->setStyleSheet(QString("QPushButton { background: %1; color: %2; border: none; border-radius: 20px; }"
                                  "QPushButton:hover { background: %3; }"
                                  "QPushButton:pressed, QPushButton:disabled { background: %4; }")
                              .arg(ground.name(), text.name(), ground.darker(108).name(), ground.lighter(104).name()));
    return button;
}

}  // namespace

SongListPage::SongListPage(int index, QScrollBar* scrollBar, Navigation& navigation, const SongListPageNames& names,
                           OperationMenu::Offers offers)
    : Page(index, scrollBar), navigation_(navigation) {
    QWidget* box = content();
    cover_ = new PictureBox(box);
    cover_->setObjectName(QString::fromUtf8(names.cover));
    cover_->setGeometry({QPoint(0, 20), kCoverSize});
    cover_->setRounding(20);
    name_ = makeTextLine(box, names.name, {340, 45, 600, 60}, Theme::font(30, QFont::Bold), Theme::kCaption);
    description_ = makeTextLine(box, names.description, {344, 176, 600, 75}, Theme::font(14), Theme::kSecondText);
    description_->setWordWrap(true);
    play_ = makeHeaderButton(box, names.play, "播放", {344, 275, 100, 40}, QColor::fromRgba(Theme::kAccent), Qt::white);
    QPushButton* operations =
        makeHeaderButton(box, names.operations, "···", {460, 275, 40, 40}, QColor::fromRgba(Theme::kInputBackground),
                         QColor::fromRgba(Theme::kCaption));
    back_ = makeLabelButton(box, names.back, "‹", {900, 35, 35, 35});
    back_->setFont(Theme::font(24));
    tracks_ = new TrackList(box);
    tracks_->setObjectName(QString::fromUtf8(names.tracks));
    tracks_->setGeometry(0, kListTop, 950, 550);
    menu_ = new OperationMenu(box, offers);
    filterLine_ = makeTextLine(box, names.filter, {520, 280, 420, 30}, Theme::font(14), Theme::kSecondText);
    filterLine_->hide();
    addFailureLine({0, kListTop, 950, 30});

    // A song plays with its whole list queued around it.
    connect(tracks_, &IconList::itemActivated, this,
            [this](int row) { navigation_.router().playList(tracks_->songIds(), row); });
    connect(tracks_, &TrackList::rowsAdded, this, &SongListPage::fitTracks);
    connect(tracks_, &TrackList::filterChanged, this, &SongListPage::showFilter);
    connect(play_, &QAbstractButton::clicked, this, &SongListPage::playFirst);
    connect(operations, &QAbstractButton::clicked, this,
            [this] { menu_->popUpAtPointer(navigation_.listTypeface().typeface); });
    connect(menu_->addToQueueItem(), &QAction::triggered, this, &SongListPage::addAllToQueue);
}

const ItemIds& SongListPage::songIds() const { return tracks_->songIds(); }

int SongListPage::slideBoxHeight(std::int64_t songCount) {
    return clampListHeight(songCount * TrackList::kRowHeight + kSlideBoxExtra);
}

void SongListPage::fitTracks(int songCount) {
    tracks_->resize(tracks_->width(), clampListHeight(std::int64_t(songCount) * TrackList::kRowHeight));
    scrollPane()->fitContent(slideBoxHeight(songCount));
}

// The rows left by the filter, from the top, and the filter said above them.
void SongListPage::showFilter(const QString& filter, int rowCount) {
    filterLine_->setVisible(!filter.isEmpty());
    filterLine_->setText(TrackList::filterCaption(filter, rowCount));
    scrollPane()->reset();
    fitTracks(rowCount);
}

void SongListPage::followNavigation() {
    tracks_->setTypeface(navigation_.listTypeface());
    tracks_->setPictures(navigation_.pictures());
}

void SongListPage::playFirst() {
    if (!tracks_->songIds().empty()) navigation_.router().playList(tracks_->songIds(), 0);
}

void SongListPage::lockPlayStarters(bool locked) {
    tracks_->setPlayLocked(locked);
    play_->setEnabled(!locked);
}

void SongListPage::addAllToQueue() { navigation_.router().queue(tracks_->songIds()); }
