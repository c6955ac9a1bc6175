#include "ui/pages/SettingsPage.h"

#include "ui/pictures/Artwork.h"
#include "ui/widgets/PictureBox.h"
#include "ui/widgets/ServiceSettingsGroup.h"
#include "ui/widgets/Theme.h"
#include "ui/windows/ColourPickerWindow.h"
#include "ui/windows/ProgramWindow.h"

#include <QComboBox>
#include <QEvent>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStringList>
#include <array>

namespace {

constexpr int kItemHeight = 35;
// The gradient box's items and the words the settings file stores for them.
constexpr std::array<const char*, 3> kFillModeItems = {"无渐变", "两色渐变", "三色渐变"};
constexpr std::array<const char*, 3> kStoredFillModes = {"无", "两色渐变", "三色渐变"};

QLabel* label(QWidget* parent, const char* name, const char* text, QRect geometry) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setFont(Theme::font(16));
    return label;
}

QComboBox* comboBox(QWidget* parent, const char* name, QRect geometry, const QStringList& items) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setGeometry(geometry);
    box->setFont(Theme::font(14));
    box->setStyleSheet(QString("QComboBox, QComboBox QAbstractItemView { color: %1; }"
                               "QComboBox QAbstractItemView::item { min-height: %2px; }")
                           .arg(QColor::fromRgba(Theme::kCaption).name())
                           .arg(kItemHeight));
    box->addItems(items);
    return box;
}

QStringList fixedItems(std::initializer_list<const char*> texts) {
    QStringList items;
    for (const char* text : texts) items << QString::fromUtf8(text);
    return items;
}

// Shows `text` as the box's selection, adding it when the box has no such item.
void showText(QComboBox* box, const std::string& text) {
    const QString wanted = QString::fromStdString(text);
    if (wanted.isEmpty()) return;
    if (box->findText(wanted) < 0) box->addItem(wanted);
    box->setCurrentText(wanted);
}

}  // namespace

SettingsPage::SettingsPage() : Page(Pages::kSettings, nullptr) {
    QWidget* page = content();

    auto* account = new QGroupBox(page);
    account->setObjectName("分组框_设置1");
    account->setGeometry(130, 70, 700, 100);
    avatar_ = new PictureBox(account);
    avatar_->setObjectName("设置_头像");
    avatar_->setGeometry(22, 16, 70, 70);
    avatar_->setRounding(70);
    avatar_->setPicture(Artwork::render(Artwork::Picture::DefaultAvatar, {70, 70}, devicePixelRatioF()));
    nickname_ = label(account, "设置标签_昵称", "暂未登录", {115, 40, 407, 25});
    logOut_ = new QPushButton("退出", account);
    logOut_->setObjectName("按钮_退出");
    logOut_->setGeometry(600, 30, 70, 40);
    logOut_->hide();  // until an account is loaded; it then stays

    QLabel* typefaceLabel = label(page, "设置标签_字体", "字体【暂不可用】", {130, 230, 162, 25});
    typefaces_ = comboBox(page, "组合框_字体", {630, 225, 200, 35}, QFontDatabase::families());
    QLabel* styleLabel = label(page, "设置标签_字体风格", "字体风格字体【暂不可用】", {130, 300, 354, 25});
    styles_ = comboBox(page, "组合框_字体风格", {630, 295, 200, 35},
                       fixedItems({"普通", "加粗", "倾斜", "斜粗", "下划线", "下划线加粗"}));
    // The typeface and style rows change nothing the program draws: they
    // keep the stored values but are not shown.
    for (QWidget* idle : {static_cast<QWidget*>(typefaceLabel), static_cast<QWidget*>(typefaces_),
                          static_cast<QWidget*>(styleLabel), static_cast<QWidget*>(styles_)})
        idle->hide();
    label(page, "设置标签_音质", "音质字体【暂不可用】", {130, 370, 194, 25});
    qualities_ = comboBox(page, "组合框_音质", {630, 365, 200, 35}, fixedItems({"标准", "较高", "极高", "无损"}));

    label(page, "设置标签_歌词颜色", "歌词和频谱颜色", {130, 440, 130, 25});
    label(page, "设置标签_颜色一", "颜色一", {632, 442, 52, 25});
    swatch1_ = label(page, "色彩一", "", {688, 440, 28, 28});
    label(page, "设置标签_颜色二", "颜色二", {748, 442, 52, 25});
    swatch2_ = label(page, "色彩二", "", {803, 440, 28, 28});
    for (QLabel* swatch : {swatch1_, swatch2_}) {
        swatch->setCursor(Qt::PointingHandCursor);
        swatch->installEventFilter(this);
    }

    label(page, "设置标签_歌词渐变", "歌词渐变", {130, 510, 82, 25});
    fillModes_ = comboBox(page, "组合框_渐变", {630, 505, 200, 35},
                          fixedItems({kFillModeItems[0], kFillModeItems[1], kFillModeItems[2]}));
    // Only what the user picks acts; applying the stored mode does not.
    connect(fillModes_, &QComboBox::activated, this, &SettingsPage::chooseFillMode);

    service_ = new ServiceSettingsGroup(page);
    service_->setGeometry(130, 2, 700, 62);

    // Beside the account box: the equalizer, loudness, output and sleep timer.
    auto* playback = new QPushButton(QString::fromUtf8("播放设置"), page);
    playback->setObjectName("按钮_播放设置");
    playback->setGeometry(850, 100, 120, 40);
    playback->setFont(Theme::font(14));
    connect(playback, &QPushButton::clicked, this, &SettingsPage::playbackSettingsRequested);
    addShortcutAndLocalMusicButtons(page);
}

void SettingsPage::addShortcutAndLocalMusicButtons(QWidget* page) {
    auto* shortcuts = new QPushButton(QString::fromUtf8("快捷键"), page);
    shortcuts->setObjectName("按钮_快捷键");
    shortcuts->setGeometry(850, 150, 120, 40);
    shortcuts->setFont(Theme::font(14));
    connect(shortcuts, &QPushButton::clicked, this, &SettingsPage::shortcutsRequested);
    auto* local = new QPushButton(QString::fromUtf8("本地音乐"), page);
    local->setObjectName("按钮_本地音乐");
    local->setGeometry(850, 200, 120, 40);
    local->setFont(Theme::font(14));
    connect(local, &QPushButton::clicked, this, &SettingsPage::localMusicRequested);
    auto* scrobbling = new QPushButton(QString::fromUtf8("听歌记录"), page);
    scrobbling->setObjectName("按钮_听歌记录");
    scrobbling->setGeometry(850, 250, 120, 40);
    scrobbling->setFont(Theme::font(14));
    connect(scrobbling, &QPushButton::clicked, this, &SettingsPage::scrobbleSettingsRequested);
}

SettingsPage::~SettingsPage() { delete picker_.data(); }

void SettingsPage::applyStored(const StoredSettings& stored, const AppSettings& settings) {
    settings_ = settings;
    const QSignalBlocker quietFill(fillModes_), quietStyle(styles_), quietTypeface(typefaces_),
        quietQuality(qualities_);
    if (stored.fillMode) fillModes_->setCurrentIndex(*stored.fillMode);
    if (stored.styleCode) styles_->setCurrentIndex(*stored.styleCode);
    showText(typefaces_, stored.typeface);
    showText(qualities_, stored.quality);
    colours_ = {stored.color1, stored.color2, stored.fillModeOrDefault()};
    showSwatch(swatch1_, colours_.first);
    showSwatch(swatch2_, colours_.second);
}

void SettingsPage::showSwatch(QLabel* swatch, std::int32_t argb) {
    const QColor colour = QColor::fromRgb(QRgb(std::uint32_t(argb)));
    swatch->setStyleSheet(QString("background: %1; border: 1px solid #D0D3D9; border-radius: 4px;").arg(colour.name()));
}

void SettingsPage::editColour(int which) {
    editingColour_ = which;
    if (!picker_) {
        picker_ = new ColourPickerWindow;
        ProgramWindow::adopt(picker_);
        connect(picker_, &ColourPickerWindow::colourPicked, this, &SettingsPage::setEditedColour);
    }
    picker_->showColour(std::uint32_t(which == 1 ? colours_.first : colours_.second));
    if (!picker_->isVisible()) ProgramWindow::centre(picker_);
    picker_->show();
    picker_->raise();
    picker_->activateWindow();
}

void SettingsPage::setEditedColour(std::uint32_t argb) {
    const auto colour = std::int32_t(argb);
    const bool first = editingColour_ == 1;
    (first ? colours_.first : colours_.second) = colour;
    showSwatch(first ? swatch1_ : swatch2_, colour);
    if (settings_) settings_->write("Setting", first ? "Color1" : "Color2", std::to_string(colour));
    emit lyricColoursChanged(colours_);
}

void SettingsPage::chooseFillMode(int index) {
    if (index < 0 || index >= int(kStoredFillModes.size())) return;
    colours_.fillMode = index;
    if (settings_) settings_->write("Setting", "Gradual", kStoredFillModes[size_t(index)]);
    emit lyricColoursChanged(colours_);
}

bool SettingsPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease && (watched == swatch1_ || watched == swatch2_)) {
        editColour(watched == swatch1_ ? 1 : 2);
        return true;
    }
    return Page::eventFilter(watched, event);
}
