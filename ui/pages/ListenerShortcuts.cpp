#include "ui/pages/ListenerShortcuts.h"

#include "ui/widgets/Theme.h"

#include <QPushButton>

namespace {

constexpr int kButtonWidth = 88;
constexpr int kButtonHeight = 34;
constexpr int kGap = 8;

QPushButton* makeShortcut(QWidget* parent, const char* name, const char* caption, int index) {
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setObjectName(QString::fromUtf8(name));
    button->setGeometry(index * (kButtonWidth + kGap), 0, kButtonWidth, kButtonHeight);
    button->setFont(Theme::font(14, QFont::Medium));
    button->setCursor(Qt::PointingHandCursor);
    button->setFocusPolicy(Qt::NoFocus);
    const QColor ground = QColor::fromRgba(Theme::kInputBackground);
    button->setStyleSheet(QString("QPushButton { background: %1; color: %2; border: none; border-radius: 17px; }"
                                  "QPushButton:hover { background: %3; color: %4; }")
                              .arg(ground.name(), QColor::fromRgba(Theme::kCaption).name(), ground.darker(108).name(),
                                   QColor::fromRgba(Theme::kAccent).name()));
    return button;
}

}  // namespace

ListenerShortcuts::ListenerShortcuts(QWidget* parent) : QWidget(parent) {
    setObjectName("音乐库_听歌入口");
    daily_ = makeShortcut(this, "音乐库_每日推荐", "每日推荐", 0);
    fm_ = makeShortcut(this, "音乐库_私人FM", "私人FM", 1);
    playedHere_ = makeShortcut(this, "音乐库_最近播放", "最近播放", 2);
    weekRecord_ = makeShortcut(this, "音乐库_听歌排行", "听歌排行", 3);
    resize(4 * kButtonWidth + 3 * kGap, kButtonHeight);
    connect(daily_, &QPushButton::clicked, this, &ListenerShortcuts::dailyClicked);
    connect(fm_, &QPushButton::clicked, this, &ListenerShortcuts::fmClicked);
    connect(playedHere_, &QPushButton::clicked, this, &ListenerShortcuts::playedHereClicked);
    connect(weekRecord_, &QPushButton::clicked, this, &ListenerShortcuts::weekRecordClicked);
}
