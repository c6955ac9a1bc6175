#include "ui/widgets/ServiceSettingsGroup.h"

#include "ui/widgets/Theme.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>

namespace {

QRadioButton* radio(QWidget* parent, const char* name, const char* text, QRect geometry) {
    auto* button = new QRadioButton(QString::fromUtf8(text), parent);
    button->setObjectName(QString::fromUtf8(name));
    button->setGeometry(geometry);
    button->setFont(Theme::font(14));
    return button;
}

bool isWebUrl(const QString& text) { return text.startsWith("http://") || text.startsWith("https://"); }

}  // namespace

ServiceSettingsGroup::ServiceSettingsGroup(QWidget* parent) : QGroupBox(QString::fromUtf8("服务"), parent) {
    setObjectName("分组框_服务");
    setFont(Theme::font(14));
    direct_ = radio(this, "单选框_网易云音乐", "网易云音乐", {20, 24, 120, 30});
    selfHosted_ = radio(this, "单选框_自建API服务", "自建 API 服务", {150, 24, 130, 30});
    url_ = new QLineEdit(this);
    url_->setObjectName("编辑框_API服务地址");
    url_->setGeometry(285, 24, 270, 30);
    url_->setFont(Theme::font(14));
    url_->setPlaceholderText("http://127.0.0.1:3000");
    demo_ = radio(this, "单选框_演示曲库", "演示曲库", {580, 24, 110, 30});

    for (QRadioButton* button : {direct_, selfHosted_, demo_})
        connect(button, &QRadioButton::clicked, this, &ServiceSettingsGroup::announce);
    // A new address counts once it is complete: Enter, or leaving the field.
    connect(url_, &QLineEdit::editingFinished, this, [this] {
        if (selfHosted_->isChecked()) announce();
    });
}

void ServiceSettingsGroup::showChoice(const ServiceChoice& choice) {
    const QSignalBlocker quietDirect(direct_), quietSelfHosted(selfHosted_), quietDemo(demo_), quietUrl(url_);
    direct_->setChecked(choice.way == ServiceWay::Direct);
    selfHosted_->setChecked(choice.way == ServiceWay::SelfHosted);
    demo_->setChecked(choice.way == ServiceWay::Demo);
    url_->setText(QString::fromStdString(choice.selfHostedUrl));
    announced_ = choice;
}

std::optional<ServiceChoice> ServiceSettingsGroup::shownChoice() const {
    ServiceChoice choice;
    choice.selfHostedUrl = url_->text().trimmed().toStdString();
    if (demo_->isChecked()) choice.way = ServiceWay::Demo;
    if (selfHosted_->isChecked()) {
        if (!isWebUrl(url_->text().trimmed())) return std::nullopt;
        choice.way = ServiceWay::SelfHosted;
    }
    return choice;
}

void ServiceSettingsGroup::announce() {
    const std::optional<ServiceChoice> choice = shownChoice();
    if (!choice || choice == announced_) return;
    announced_ = choice;
    emit choiceMade(*choice);
}
