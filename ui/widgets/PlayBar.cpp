#include "ui/widgets/PlayBar.h"

#include "ui/widgets/EdgeFollower.h"

#include "anim/ProgramAnimations.h"
#include "base/ProductInfo.h"
#include "player/PlayBarState.h"
#include "ui/pictures/Artwork.h"
#include "ui/widgets/JumpSlider.h"
#include "ui/widgets/PictureBox.h"
#include "ui/widgets/PlayBarButton.h"
#include "ui/widgets/PlayBarIcons.h"
#include "ui/widgets/Theme.h"
#include "ui/windows/NowPlayingSlide.h"

#include <QCursor>
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolTip>

namespace {

struct ModeButtonLook {
    const char* name;
    PlayBarIcon icon;
    const char* tip;
    int left;
};

// In PlayMode order.
constexpr std::array<ModeButtonLook, 3> kModeButtons = {{
    {"播放栏_单曲", PlayBarIcon::SingleLoop, "单曲循环", 690},
    {"播放栏_列表", PlayBarIcon::ListLoop, "列表循环", 730},
    {"播放栏_随机", PlayBarIcon::Shuffle, "随机播放", 770},
}};

constexpr QSize kSmallButton(35, 35);
constexpr QSize kSmallIcon(22, 22);
constexpr int kInitialSongLength = 100;  // the slider's range before the first song

// What the bar shows while no song is there: before the first one, the
// product's name and slogan; after the queue is cleared, "Mivra音乐" and the slogan.
constexpr const char* kDesignedTitle = "Mivra Music";
constexpr const char* kClearedTitle = "Mivra音乐";
constexpr const char* kSlogan = "听见喜欢的每一首歌";
constexpr const char* kDownloadCaption = "下载此歌曲";

QString colourName(QRgb argb) { return QColor::fromRgba(argb).name(); }

// A thin slider with a pink-filled groove `grooveHeight` pixels high.
JumpSlider* makeSlider(QWidget* parent, const char* name, QRect geometry, int grooveHeight) {
    auto* slider = new JumpSlider(parent);
    slider->setObjectName(QString::fromUtf8(name));
    slider->setGeometry(geometry);
    slider->setFocusPolicy(Qt::NoFocus);
    slider->setCursor(Qt::PointingHandCursor);
    slider->setStyleSheet(QString("QSlider::groove:horizontal { height: %1px; background: %2; border-radius: %3px; }"
                                  "QSlider::sub-page:horizontal { background: %4; border-radius: %3px; }"
                                  "QSlider::handle:horizontal { width: 10px; margin: -4px 0; border-radius: 5px;"
                                  " background: %4; }")
                              .arg(grooveHeight)
                              .arg(colourName(Theme::kHairline))
                              .arg(grooveHeight / 2)
                              .arg(colourName(Theme::kAccent)));
    return slider;
}

QLabel* makeLabel(QWidget* parent, const char* name, QRect geometry, const QFont& font, QRgb colour) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromUtf8(name));
    label->setGeometry(geometry);
    label->setFont(font);
    label->setStyleSheet(QString("color: %1; background: transparent;").arg(colourName(colour)));
    return label;
}

// The previous button starts the group that keeps to the middle of the bar.
constexpr int kMiddleGroupLeft = 440;

}  // namespace

PlayBar::PlayBar(Player& player, QWidget* strip) : QWidget(strip), player_(player) {
    setObjectName("PlayBar");
    setGeometry(0, 0, strip->width(), strip->height());

    QWidget* window = strip->parentWidget() ? strip->parentWidget() : strip;
    createSongControls(window);
    createTransportButtons();
    createModeButtons();
    createVolumeControls();
    createSwitches();
    createProgress(window);

    auto* version = makeLabel(this, "播放栏_版本号", QRect(667, 59, 400, 24), Theme::font(11), Theme::kSecondText);
    version->setText(QString::fromUtf8(kProductName) + " " + QString::fromUtf8(kProductVersion));
    version->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    followStripWidth(strip);
    showPlayer();
}

// The bar fills its strip as the window widens: the progress slider
// stretches, the song keeps to the left, the transport and mode buttons to
// the middle, and the volume, switches and version to the right. The time
// line is left to follow the play button itself: moved by both, it would
// end up wherever the last of them put it.
void PlayBar::followStripWidth(QWidget* strip) {
    new EdgeFollower(strip, {}, {.follows = false});
    auto* bar = new EdgeFollower(this, {.middleFrom = kMiddleGroupLeft}, {.follows = false});
    bar->leave(timeLine_);
}

// Follows the player from now on, starting with what it holds already.
void PlayBar::showPlayer() {
    connect(&player_, &Player::songChanged, this, &PlayBar::showSong);
    connect(&player_, &Player::lengthChanged, this, &PlayBar::showLength);
    connect(&player_, &Player::progressChanged, this, &PlayBar::showProgress);
    connect(&player_, &Player::playingChanged, play_, &PlayBarButton::showSecond);
    connect(&player_, &Player::modeChanged, this, &PlayBar::showMode);
    connect(&player_, &Player::volumeChanged, this, &PlayBar::showVolume);
    connect(&player_, &Player::mvAvailableChanged, mv_, &QWidget::setVisible);
    connect(&player_, &Player::loadingChanged, this, &PlayBar::lockPlayStarters);
    connect(&player_, &Player::songCleared, this, &PlayBar::showCleared);
    showMode(player_.mode());
    showVolume(player_.volume(), player_.isMuted());
}

void PlayBar::createSongControls(QWidget* window) {
    coverMenu_ = new QMenu(window);
    coverMenu_->setObjectName("PlayBarMenu");
    coverMenu_->setFont(Theme::font(14));
    coverMenu_->setStyleSheet("QMenu::item { min-width: 120px; min-height: 40px; padding: 0 12px; }");
    playListAction_ = coverMenu_->addAction("打开播放列表");
    downloadAction_ = coverMenu_->addAction(kDownloadCaption);

    cover_ = new PictureBox(this);
    cover_->setObjectName("播放栏_海报");
    cover_->setGeometry(70, 17, 55, 55);
    cover_->setRounding(8);
    cover_->setCursor(Qt::PointingHandCursor);
    designedCover_ = Artwork::render(Artwork::Picture::SongNote, cover_->size(), 2.0);
    cover_->setPicture(designedCover_);
    cover_->installEventFilter(this);

    title_ = makeLabel(this, "播放栏_歌曲名", QRect(136, 24, 299, 22), Theme::font(15, QFont::Medium), Theme::kCaption);
    title_->setText(kDesignedTitle);
    artists_ = makeLabel(this, "播放栏_歌手", QRect(136, 47, 315, 25), Theme::font(12), Theme::kSecondText);
    artists_->setText(kSlogan);
}

void PlayBar::createTransportButtons() {
    previous_ = new PlayBarButton(PlayBarIcons::render(PlayBarIcon::Previous, {24, 24}), this);
    previous_->setObjectName("播放栏_播放_上一首");
    previous_->setGeometry(450, 23, 40, 40);
    connect(previous_, &QAbstractButton::clicked, &player_, &Player::previous);

    play_ = new PlayBarButton(PlayBarIcons::render(PlayBarIcon::Play, {40, 40}),
                              PlayBarIcons::render(PlayBarIcon::Pause, {40, 40}), this);
    play_->setObjectName("播放栏_播放");
    play_->setGeometry(511, 20, 46, 46);
    connect(play_, &QAbstractButton::clicked, &player_, &Player::togglePlay);

    next_ = new PlayBarButton(PlayBarIcons::render(PlayBarIcon::Next, {24, 24}), this);
    next_->setObjectName("播放栏_播放_下一首");
    next_->setGeometry(574, 23, 40, 40);
    connect(next_, &QAbstractButton::clicked, &player_, &Player::next);

    mv_ = new PlayBarButton(PlayBarIcons::render(PlayBarIcon::Mv, kSmallIcon), this);
    mv_->setObjectName("播放栏_MV");
    mv_->setGeometry(QRect(QPoint(648, 26), kSmallButton));
    mv_->hide();
    mv_->installEventFilter(this);
    connect(mv_, &QAbstractButton::clicked, this, &PlayBar::mvClicked);
}

void PlayBar::createModeButtons() {
    for (size_t i = 0; i < kModeButtons.size(); ++i) {
        const ModeButtonLook& look = kModeButtons[i];
        auto* button = new PlayBarButton(PlayBarIcons::render(look.icon, kSmallIcon, false),
                                         PlayBarIcons::render(look.icon, kSmallIcon, true), this);
        button->setObjectName(QString::fromUtf8(look.name));
        button->setGeometry(QRect(QPoint(look.left, 26), kSmallButton));
        button->installEventFilter(this);
        connect(button, &QAbstractButton::clicked, &player_, [this, i] { player_.setMode(static_cast<PlayMode>(i)); });
        modeButtons_[i] = button;
    }
}

void PlayBar::createVolumeControls() {
    mute_ = new PlayBarButton(PlayBarIcons::render(PlayBarIcon::Volume, kSmallIcon),
                              PlayBarIcons::render(PlayBarIcon::Muted, kSmallIcon), this);
    mute_->setObjectName("播放栏_音量");
    mute_->setGeometry(QRect(QPoint(810, 26), kSmallButton));
    connect(mute_, &QAbstractButton::clicked, &player_, &Player::toggleMute);

    volumeSlider_ = makeSlider(this, "播放栏_音量条", QRect(845, 35, 100, 18), 4);
    volumeSlider_->setRange(0, 100);
    volumeSlider_->installEventFilter(this);
    // Programmatic moves block the slider's signals, so this sees the user's only.
    connect(volumeSlider_, &QSlider::valueChanged, &player_, &Player::setVolume);
}

void PlayBar::createSwitches() {
    lyrics_ = createSwitch("播放栏_歌词", PlayBarIcon::Lyrics, {950, 26}, &PlayBar::desktopLyricsToggled);
    spectrum_ = createSwitch("播放栏_频谱", PlayBarIcon::Spectrum, {990, 25}, &PlayBar::spectrumToggled);
}

// A button that switches something on and off, telling `toggled` each time.
PlayBarButton* PlayBar::createSwitch(const char* name, PlayBarIcon icon, QPoint topLeft,
                                     void (PlayBar::*toggled)(bool)) {
    auto* button = new PlayBarButton(PlayBarIcons::render(icon, kSmallIcon, false),
                                     PlayBarIcons::render(icon, kSmallIcon, true), this);
    button->setObjectName(QString::fromUtf8(name));
    button->setGeometry(QRect(topLeft, kSmallButton));
    button->installEventFilter(this);
    connect(button, &QAbstractButton::clicked, this, [this, button, toggled] {
        button->showSecond(!button->showsSecond());
        emit(this->*toggled)(button->showsSecond());
    });
    return button;
}

void PlayBar::createProgress(QWidget* window) {
    progress_ = makeSlider(this, "播放栏_进度条", QRect(-6, -8, 1081, 18), 3);
    progress_->setRange(0, kInitialSongLength);
    progress_->installEventFilter(this);
    // The slider's value follows the player; the user's drag only previews
    // until the mouse lets go.
    progress_->setTracking(false);
    connect(progress_, &QSlider::sliderPressed, &player_, &Player::holdForSeek);
    connect(progress_, &QSlider::sliderMoved, this, &PlayBar::previewSeek);
    connect(progress_, &QSlider::sliderReleased, this, &PlayBar::seekWhereReleased);

    elapsedBox_ = createTimeBox(window, "播放栏_时长遮罩", "播放栏_时长", 30, elapsed_);
    totalBox_ = createTimeBox(window, "播放栏_总时长遮罩", "播放栏_总时长", 1020, total_);
    createTimeLine();
}

// A small rounded box above the slider's end, shown while the mouse is over the slider.
QWidget* PlayBar::createTimeBox(QWidget* window, const char* boxName, const char* labelName, int left, QLabel*& label) {
    auto* box = new QWidget(window);
    box->setObjectName(QString::fromUtf8(boxName));
    box->setGeometry(left, 638, 60, 35);
    box->setAttribute(Qt::WA_StyledBackground);
    box->setStyleSheet(QString("#%1 { background: %2; border: 1px solid %3; border-radius: 8px; }")
                           .arg(QString::fromUtf8(boxName), colourName(Theme::kPanel), colourName(Theme::kHairline)));
    label = makeLabel(box, labelName, QRect(10, 9, 40, 15), Theme::font(12), Theme::kCaption);
    label->setAlignment(Qt::AlignCenter);
    label->setText("00:00");
    box->hide();
    return box;
}

void PlayBar::showSong(const QString& title, const QString& artists) {
    title_->setText(title);
    artists_->setText(artists);
}

void PlayBar::showCover(const QImage& cover) { cover_->setPicture(cover); }

// Total time "mm:ss"; the slider counts up to the length plus one.
void PlayBar::showLength(int seconds) {
    total_->setText(QString::fromStdString(formatPlayTime(seconds)));
    const QSignalBlocker quiet(progress_);
    progress_->setRange(0, seconds + 1);
    showTimeLine();
}

// While the user drags the slider, it and the times stay where the drag is.
void PlayBar::showProgress(int ticks, int elapsedSeconds) {
    if (progress_->isSliderDown()) return;
    const QSignalBlocker quiet(progress_);
    progress_->setValue(ticks);
    elapsed_->setText(QString::fromStdString(formatPlayTime(elapsedSeconds)));
    showTimeLine();
}

void PlayBar::showMode(std::optional<PlayMode> mode) {
    for (size_t i = 0; i < modeButtons_.size(); ++i)
        modeButtons_[i]->showSecond(mode && static_cast<size_t>(*mode) == i);
}

void PlayBar::showVolume(int volume, bool muted) {
    const QSignalBlocker quiet(volumeSlider_);
    volumeSlider_->setValue(volume);
    mute_->showSecond(muted);
}

// While a song loads, the bar's controls that would start another play wait.
void PlayBar::lockPlayStarters(bool locked) {
    for (QWidget* control :
         {static_cast<QWidget*>(previous_), static_cast<QWidget*>(next_), static_cast<QWidget*>(cover_)})
        control->setEnabled(!locked);
}

// Nothing is queued any more: the bar looks as designed, and the controls
// that step through the queue or act on the song wait for the next song.
void PlayBar::showCleared() {
    title_->setText(kClearedTitle);
    artists_->setText(kSlogan);
    cover_->setPicture(designedCover_);
    lockPlayStarters(true);
}

void PlayBar::showDownloadProgress(std::optional<int> percentage) {
    const QString caption = QString::fromUtf8(kDownloadCaption);
    downloadAction_->setText(percentage ? QString("%1（%2%）").arg(caption).arg(*percentage) : caption);
}

bool PlayBar::showsPauseIcon() const { return play_->showsSecond(); }

bool PlayBar::showsMutedIcon() const { return mute_->showsSecond(); }

QString PlayBar::hoverTip(const QWidget* button) const {
    for (size_t i = 0; i < modeButtons_.size(); ++i)
        if (button == modeButtons_[i]) return QString::fromUtf8(kModeButtons[i].tip);
    if (button == mv_) return "播放MV";
    if (button == lyrics_) return lyrics_->showsSecond() ? "隐藏歌词" : "显示歌词";
    if (button == spectrum_) return spectrum_->showsSecond() ? "隐藏频谱" : "显示频谱";
    return {};
}

bool PlayBar::eventFilter(QObject* watched, QEvent* event) {
    if (filterSliderEvent(watched, event)) return true;
    if (watched == progress_ && (event->type() == QEvent::Enter || event->type() == QEvent::Leave)) {
        const bool over = event->type() == QEvent::Enter;
        elapsedBox_->setVisible(over);
        totalBox_->setVisible(over);
    } else if (watched == cover_ && event->type() == QEvent::MouseButtonPress) {
        auto* press = static_cast<QMouseEvent*>(event);
        if (press->button() == Qt::LeftButton && nowPlayingView_)
            NowPlayingSlide::toggle(*nowPlayingView_, ProgramAnimations::nowPlayingSlide());
        if (press->button() == Qt::RightButton) coverMenu_->popup(press->globalPosition().toPoint());
        return true;
    } else if (event->type() == QEvent::Enter) {
        auto* button = qobject_cast<QWidget*>(watched);
        const QString tip = hoverTip(button);
        if (!tip.isEmpty()) {
            QToolTip::hideText();
            QToolTip::showText(QCursor::pos(), tip, button, QRect(), kTipShowMs);
        }
    }
    return QWidget::eventFilter(watched, event);
}
