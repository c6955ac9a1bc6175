#include "ui/windows/OperationMenu.h"

#include "ui/widgets/Theme.h"

#include <QCursor>

OperationMenu::OperationMenu(QWidget* parent, Offers offers) : QMenu(parent) {
    setObjectName("OperationMenu");
    addToQueue_ = addAction("添加到播放列表");
    if (offers == Offers::QueueAndSubscribe) {
        subscribe_ = addAction("收藏该歌单");
        unsubscribe_ = addAction("取消收藏该歌单");
        offerFor(Subscription::NotSubscribed);
    }
    setStyleSheet(QString("QMenu { background: %1; border: 1px solid %2; padding: 4px 0; }"
                          "QMenu::item { width: 96px; height: 40px; padding: 0 12px; color: %3; }"
                          "QMenu::item:selected { background: %4; color: %5; }")
                      .arg(QColor::fromRgba(Theme::kWindow).name(), QColor::fromRgba(Theme::kHairline).name(),
                           QColor::fromRgba(Theme::kCaption).name(), QColor::fromRgba(Theme::kHover).name(),
                           QColor::fromRgba(Theme::kAccent).name()));
}

void OperationMenu::offerFor(Subscription subscription) {
    if (!subscribe_) return;
    subscribe_->setVisible(subscription == Subscription::NotSubscribed);
    unsubscribe_->setVisible(subscription == Subscription::Subscribed);
}

void OperationMenu::popUpAtPointer(const std::string& typeface) {
    setFont(Theme::font(typeface, 14));
    popup(QCursor::pos());
}
