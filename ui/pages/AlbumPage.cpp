#include "ui/pages/AlbumPage.h"

#include "browse/CatalogueFeeds.h"
#include "ui/lists/ItemEvents.h"
#include "ui/lists/TrackList.h"
#include "ui/pages/PageControls.h"
#include "ui/pictures/PicturePipeline.h"
#include "ui/widgets/FlatButton.h"
#include "ui/widgets/PictureBox.h"
#include "ui/windows/MessageBoxWindow.h"

#include <QDateTime>
#include <QLabel>
#include <QPushButton>
#include <QTimeZone>
#include <algorithm>
#include <charconv>

namespace {

const Notice kAlbumFailed{
    .title = "专辑信息获取失败",
    .content =
        "Mivra酱无法为您获取这张专辑的信息！都是因为开发者偷懒还没有写完这一部分的代码！"
        "那只能希望您耐心等待这个功能上线咯！",
    .confirmCaption = "知道了",
};

constexpr int kBeijingOffsetSeconds = 8 * 3600;

// The artist's name as a link: grey text that takes the accent colour under
// the mouse, as wide as the name.
QPushButton* makeArtistLink(QWidget* parent) {
    auto* link = new QPushButton(parent);
    link->setObjectName("专辑详细_艺人");
    link->setGeometry(344, 118, 0, 28);
    link->setFont(Theme::font(16));
    link->setCursor(Qt::PointingHandCursor);
    link->setFocusPolicy(Qt::NoFocus);
    link->setStyleSheet(QString("QPushButton { background: transparent; border: none; color: %1; text-align: left; "
                                "padding: 0; }"
                                "QPushButton:hover { color: %2; }")
                            .arg(QColor::fromRgba(Theme::kSecondText).name(), QColor::fromRgba(Theme::kAccent).name()));
    return link;
}

}  // namespace

AlbumPage::AlbumPage(Navigation& navigation, QScrollBar* scrollBar)
    : SongListPage(Pages::kAlbum, scrollBar, navigation,
                   {.cover = "专辑详细_海报",
                    .name = "专辑详细_专辑名",
                    .description = "专辑详细_描述",
                    .play = "按钮_专辑播放",
                    .operations = "按钮_专辑操作",
                    .back = "按钮_返回专辑",
                    .tracks = "图标列表框专辑详情",
                    .filter = "专辑详细_筛选"},
                   OperationMenu::Offers::Queue) {
    artist_ = makeArtistLink(content());
    facts_ = makeTextLine(content(), "专辑详细_发行", {344, 148, 600, 22}, Theme::font(14), Theme::kSecondText);
    connect(artist_, &QAbstractButton::clicked, this, &AlbumPage::openArtist);
    connect(back_, &QAbstractButton::clicked, this, [this] { navigation_.router().back(); });
}

QString AlbumPage::factsLine(const std::string& publishTimeMs, const std::string& company) {
    QStringList parts;
    std::int64_t ms = 0;
    const char* end = publishTimeMs.data() + publishTimeMs.size();
    const auto [stop, error] = std::from_chars(publishTimeMs.data(), end, ms);
    if (!publishTimeMs.empty() && error == std::errc() && stop == end && ms > 0) {
        const QDateTime time = QDateTime::fromMSecsSinceEpoch(ms, QTimeZone(kBeijingOffsetSeconds));
        parts << "发行时间：" + time.toString("yyyy-MM-dd");
    }
    if (!company.empty()) parts << QString::fromStdString(company);
    return parts.join(" · ");
}

void AlbumPage::open(const Destination& destination) {
    albumId_ = destination.id;
    CatalogueFeeds* feeds = navigation_.feeds();
    if (!feeds) return;
    loadTask_ = feeds->openAlbum(albumId_);
}

// An album the service does not know reads as not found, like one whose
// request failed.
void AlbumPage::showFeeds(CatalogueFeeds& feeds) {
    Feed<AlbumDetail>& album = feeds.album();
    connect(&album, &FeedSignals::started, this, [this] {
        coverLoad_.cancel();
        show({});
        cover_->setPicture({});
    });
    connect(&album, &FeedSignals::requestEnded, this, [this, &album] {
        if (album.items().empty() || !album.items().front().found()) return showFailure();
        show(album.items().front());
        showCover(album.items().front().coverUrl);
    });
}

void AlbumPage::showCover(const std::string& url) {
    PicturePipeline* pictures = navigation_.pictures();
    if (url.empty() || !pictures) return;
    const PictureShape shape{kCoverSize, 0, cover_->devicePixelRatioF()};
    coverLoad_.start([this, pictures, shape, url](const LatestLoad::Deliver& deliver) {
        QImage picture = pictures->load(url, shape);
        deliver([this, picture = std::move(picture)] { cover_->setPicture(picture); });
    });
}

void AlbumPage::show(const AlbumDetail& album) {
    artistId_ = album.artistId;
    name_->setText(QString::fromStdString(album.name));
    artist_->setText(QString::fromStdString(album.artistName));
    artist_->resize(std::min(artist_->sizeHint().width(), 600), artist_->height());
    facts_->setText(factsLine(album.publishTime, album.company));
    description_->setText(QString::fromStdString(album.description));
    followNavigation();
    tracks_->showSongs(navigation_.listTypeface(), album.songs);
}

// The page has nothing to show: back to where the album was chosen, with word why.
void AlbumPage::showFailure() {
    navigation_.router().backFrom(Place::Album);
    MessageBoxWindow::show(kAlbumFailed);
}

void AlbumPage::openArtist() {
    if (artistId_.empty()) return;
    navigation_.router().openArtist(artistId_, Place::Album);
}
