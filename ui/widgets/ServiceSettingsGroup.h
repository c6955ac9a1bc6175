#pragma once
// The settings page's "服务" group: how the program reaches the service.
// 网易云音乐 is the service's own web API, 自建 API 服务 a self-hosted API
// server at the URL in the field beside it, 演示曲库 the demo catalogue.
// Only what the user does is announced; showing a stored choice is quiet.
// Lives on the UI thread.
#include "api/ServiceChoice.h"

#include <QGroupBox>

class QLineEdit;
class QRadioButton;

class ServiceSettingsGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit ServiceSettingsGroup(QWidget* parent);

    void showChoice(const ServiceChoice& choice);
    // What the controls show; a self-hosted server whose URL is not an
    // http(s) URL is no choice yet.
    std::optional<ServiceChoice> shownChoice() const;

    QRadioButton* directButton() const { return direct_; }
    QRadioButton* selfHostedButton() const { return selfHosted_; }
    QRadioButton* demoButton() const { return demo_; }
    QLineEdit* urlField() const { return url_; }

signals:
    // The user chose another way, or another self-hosted server.
    void choiceMade(const ServiceChoice& choice);

private:
    void announce();

    QRadioButton* direct_;
    QRadioButton* selfHosted_;
    QRadioButton* demo_;
    QLineEdit* url_;
    std::optional<ServiceChoice> announced_;
};
