#include "ui/ColourPickerWindow.h"

#include "ui/Artwork.h"
#include "ui/FlatButton.h"
#include "ui/Theme.h"

#include <QColorDialog>
#include <QPainter>
#include <QSignalBlocker>

ColourPickerWindow::ColourPickerWindow(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    setObjectName("ColourPickerWindow");
    setWindowTitle("Mivra音乐调色板");
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(467, 336);

    // The dialog lives inside this window as a plain widget: no buttons, no
    // native dialog (it could not be embedded), no alpha channel.
    picker_ = new QColorDialog(this);
    picker_->setObjectName("选色板");
    picker_->setOptions(QColorDialog::NoButtons | QColorDialog::DontUseNativeDialog);
    picker_->setWindowFlags(Qt::Widget);
    picker_->setGeometry(50, 53, 368, 240);
    picker_->setSizeGripEnabled(false);
    connect(picker_, &QColorDialog::currentColorChanged, this,
            [this](const QColor& colour) { emit colourPicked(colour.rgba()); });

    close_ = new FlatButton(Artwork::render(Artwork::Picture::Close, {20, 20}, devicePixelRatioF()), this);
    close_->setObjectName("工具栏_关闭");
    close_->setGeometry(416, 32, 20, 20);
    connect(close_, &QAbstractButton::clicked, this, &QWidget::close);
}

void ColourPickerWindow::showColour(std::uint32_t argb) {
    const QSignalBlocker quiet(picker_);
    picker_->setCurrentColor(QColor::fromRgba(argb | 0xFF000000u));
}

void ColourPickerWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgba(Theme::kWindow));
    painter.setPen(QColor(0xDF, 0xE1, 0xE6));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
