#include "ui/widgets/Toolbar.h"

#include "ui/pictures/Artwork.h"
#include "ui/widgets/EdgeFollower.h"
#include "ui/widgets/FlatButton.h"
#include "ui/widgets/PictureBox.h"
#include "ui/widgets/Theme.h"
#include "ui/windows/WindowDrag.h"

#include <QLabel>
#include <QLineEdit>
#include <algorithm>

namespace {

struct PageButtonLayout {
    const char* name;
    const char* caption;
    QRect geometry;
};

// In the order of ToolbarPage.
constexpr PageButtonLayout kPageButtons[] = {
    {"工具栏_首页", "首页", {246, 28, 65, 37}},
    {"工具栏_发现", "发现", {331, 28, 65, 37}},
    {"工具栏_排行榜", "排行榜", {416, 28, 75, 37}},
    {"工具栏_音乐库", "音乐库", {507, 28, 75, 37}},
};

// The search box starts the part of the toolbar that keeps to the right edge.
constexpr int kRightClusterLeft = 600;
constexpr int kDesignedWidth = 1068;
constexpr QRect kSearchBox{640, 29, 220, 35};
// The least room the search box leaves to the tabs.
constexpr int kSearchGap = 18;
// Between the search box and the settings gear beside it.
constexpr int kGearGap = 1;

template <typename W>
W* place(W* widget, const char* name, QRect geometry) {
    widget->setObjectName(QString::fromUtf8(name));
    widget->setGeometry(geometry);
    return widget;
}

PictureBox* pictureBox(QWidget* parent, const char* name, QRect geometry, const QImage& picture) {
    auto* box = place(new PictureBox(parent), name, geometry);
    box->setPicture(picture);
    return box;
}

}  // namespace

Toolbar::Toolbar(QWidget* window) : BackdropPanel(QColor::fromRgba(Theme::kWindow), 16, window) {
    setObjectName("滤镜_工具栏");
    setGeometry(21, 21, 1068, 80);
    const qreal dpr = devicePixelRatioF();
    makeWindowDragHandle(this, window);

    auto* logo =
        pictureBox(this, "图片框_Logo", {29, 29, 36, 36}, Artwork::render(Artwork::Picture::Logo, {36, 36}, dpr));
    makeWindowDragHandle(logo, window);
    auto* title = place(new QLabel("Mivra音乐", this), "标签_标题", {72, 29, 125, 36});
    title->setFont(Theme::font(18, QFont::Bold));
    title->setStyleSheet(QString("color: %1;").arg(QColor::fromRgba(Theme::kCaption).name()));
    makeWindowDragHandle(title, window);
    pictureBox(this, "图片框_Logo1", {156, 37, 50, 20}, Artwork::render(Artwork::Picture::Badge, {50, 20}, dpr));

    for (int i = 0; i < 4; ++i) {
        const PageButtonLayout& layout = kPageButtons[i];
        pageButtons_[i] = place(new FlatButton(QString::fromUtf8(layout.caption), this), layout.name, layout.geometry);
    }
    markChosenPage(ToolbarPage::Home);

    search_ = place(new QLineEdit(QString::fromUtf8(Toolbar::kSearchHint), this), "工具栏_搜索框", kSearchBox);
    search_->setFont(Theme::font(13));
    // Focus comes with a click, so the window does not open with the box focused.
    search_->setFocusPolicy(Qt::ClickFocus);
    const QString ground = QColor::fromRgba(Theme::kInputBackground).name();
    search_->setStyleSheet(QString("QLineEdit { background: %1; border: 1px solid %1; border-radius: 17px;"
                                   " padding-left: 32px; padding-right: 12px; color: #5A606B; }"
                                   "QLineEdit:focus { background: %2; border: 1px solid %3; color: %4; }")
                               .arg(ground, QColor::fromRgba(Theme::kWindow).name(),
                                    QColor::fromRgba(Theme::kAccent).name(), QColor::fromRgba(Theme::kCaption).name()));
    pictureBox(search_, "图片_搜索", {10, 9, 18, 18}, Artwork::render(Artwork::Picture::Search, {18, 18}, dpr));

    avatar_ = pictureBox(this, "工具栏_用户", {890, 29, 35, 35},
                         Artwork::render(Artwork::Picture::DefaultAvatar, {35, 35}, dpr));
    avatar_->setRounding(35);
    login_ = place(new FlatButton("登录", this), "标签_登录", {887, 35, 43, 20});
    login_->setFont(Theme::font(14, QFont::Medium));
    login_->setTextColor(Theme::kCaption);
    showAccountArea(false);
    settings_ = place(new FlatButton(Artwork::render(Artwork::Picture::Settings, {24, 24}, dpr), this), "工具栏_设置",
                      {861, 31, 25, 30});
    settings_->setToolTip("设置");
    avatar_->setCursor(Qt::PointingHandCursor);
    avatar_->setToolTip("设置");

    maximise_ = place(new FlatButton(Artwork::render(Artwork::Picture::Maximise, {28, 40}, dpr), this), "工具栏_最大化",
                      {930, 24, 24, 40});
    minimise_ = place(new FlatButton(Artwork::render(Artwork::Picture::Minimise, {40, 40}, dpr), this), "工具栏_最小化",
                      {955, 24, 40, 40});
    close_ = place(new FlatButton(Artwork::render(Artwork::Picture::Close, {40, 40}, dpr), this), "工具栏_关闭",
                   {1000, 24, 40, 40});
    close_->setHoverColor(QColor(0xFD, 0xE4, 0xEC));

    auto* follower = new EdgeFollower(this, {.farFrom = kRightClusterLeft}, {.follows = false});
    follower->leave(search_);
}

// The search box keeps to the right edge with the account corner, but never
// over the page tabs nor the settings gear: in a narrower window it gives up
// width first.
void Toolbar::resizeEvent(QResizeEvent* event) {
    BackdropPanel::resizeEvent(event);
    const int extra = width() - kDesignedWidth;
    const int afterTabs = pageButtons_[3]->geometry().right() + kSearchGap;
    const int left = std::max(afterTabs, kSearchBox.x() + extra);
    const int width = std::min(kSearchBox.width(), settings_->x() - kGearGap - left);
    search_->setGeometry(left, kSearchBox.y(), std::max(0, width), kSearchBox.height());
}

void Toolbar::showMaximised(bool maximised) {
    maximise_->setPicture(Artwork::render(maximised ? Artwork::Picture::Restore : Artwork::Picture::Maximise, {28, 40},
                                          devicePixelRatioF()));
}

FlatButton* Toolbar::pageButton(ToolbarPage page) const { return pageButtons_[static_cast<int>(page)]; }

void Toolbar::markChosenPage(std::optional<ToolbarPage> page) {
    for (int i = 0; i < 4; ++i)
        pageButtons_[i]->setTextColor(page && i == static_cast<int>(*page) ? Theme::kAccent : Theme::kPageButtonText);
}

void Toolbar::showAccountArea(bool loggedIn) {
    avatar_->setVisible(loggedIn);
    login_->setVisible(!loggedIn);
}
