#include "ui/pages/PageControls.h"

#include "ui/lists/IconList.h"
#include "ui/widgets/FlatButton.h"
#include "ui/widgets/Theme.h"

#include <QLabel>

namespace {

template <typename W>
W* named(W* widget, const char* name, QRect geometry) {
    widget->setObjectName(QString::fromUtf8(name));
    widget->setGeometry(geometry);
    return widget;
}

}  // namespace

QLabel* makeHeading(QWidget* parent, const char* name, const char* text, QRect geometry, int pixelSize) {
    auto* label = named(new QLabel(QString::fromUtf8(text), parent), name, geometry);
    label->setFont(Theme::font(pixelSize, QFont::Bold));
    label->setStyleSheet(QString("color: %1;").arg(QColor::fromRgba(Theme::kCaption).name()));
    return label;
}

QLabel* makeTextLine(QWidget* parent, const char* name, QRect geometry, const QFont& font, QRgb colour) {
    auto* label = named(new QLabel(parent), name, geometry);
    label->setFont(font);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setStyleSheet(QString("color: %1;").arg(QColor::fromRgba(colour).name()));
    return label;
}

FlatButton* makeLabelButton(QWidget* parent, const char* name, const char* caption, QRect geometry) {
    auto* button = named(new FlatButton(QString::fromUtf8(caption), parent), name, geometry);
    button->setFont(Theme::font(13));
    button->setTextColor(Theme::kSecondText);
    return button;
}

IconList* makeIconList(QWidget* parent, const char* name, QRect geometry) {
    return named(new IconList(parent), name, geometry);
}
