#include "ui/windows/ColourPickerWindow.h"

#include "ui/pictures/Artwork.h"
#include "ui/widgets/FlatButton.h"
#include "ui/widgets/Theme.h"

#include <QColorDialog>
#include <QPainter>
#include <QSignalBlocker>
#include <algorithm>

namespace {

constexpr QSize kDesignedSize{467, 336};  // the least the window is
constexpr int kPickerTop = 53;
constexpr int kMargin = 24;

}  // namespace

ColourPickerWindow::ColourPickerWindow(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    setObjectName("ColourPickerWindow");
    setWindowTitle("Mivra音乐调色板");
    setAttribute(Qt::WA_DeleteOnClose);

    // The dialog lives inside this window as a plain widget: no native
    // dialog (it could not be embedded), no alpha channel.
    picker_ = new QColorDialog(this);
    picker_->setObjectName("选色板");
    picker_->setOptions(QColorDialog::DontUseNativeDialog);
    picker_->setWindowFlags(Qt::Widget);
    picker_->setSizeGripEnabled(false);
    connect(picker_, &QColorDialog::currentColorChanged, this,
            [this](const QColor& colour) { emit colourPicked(colour.rgba()); });
    connect(picker_, &QDialog::accepted, this, &QWidget::close);
    connect(picker_, &QDialog::rejected, this, &ColourPickerWindow::cancel);

    // The toolkit's picker needs more room than the designed 368 × 240, and
    // cut down it would hide its controls: the window grows around it.
    const QSize need = picker_->sizeHint().expandedTo(picker_->minimumSizeHint());
    picker_->setGeometry(QRect(QPoint(kMargin, kPickerTop), need));
    setFixedSize(std::max(kDesignedSize.width(), need.width() + 2 * kMargin),
                 std::max(kDesignedSize.height(), kPickerTop + need.height() + kMargin));

    close_ = new FlatButton(Artwork::render(Artwork::Picture::Close, {20, 20}, devicePixelRatioF()), this);
    close_->setObjectName("工具栏_关闭");
    close_->setGeometry(width() - 51, 32, 20, 20);
    connect(close_, &QAbstractButton::clicked, this, &ColourPickerWindow::cancel);
}

void ColourPickerWindow::cancel() {
    if (picker_->currentColor().rgba() != shownAtOpening_) emit colourPicked(shownAtOpening_);
    close();
}

void ColourPickerWindow::showColour(std::uint32_t argb) {
    shownAtOpening_ = argb | 0xFF000000u;
    const QSignalBlocker quiet(picker_);
    picker_->setCurrentColor(QColor::fromRgba(shownAtOpening_));
}

void ColourPickerWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgba(Theme::kWindow));
    painter.setPen(QColor(0xDF, 0xE1, 0xE6));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
