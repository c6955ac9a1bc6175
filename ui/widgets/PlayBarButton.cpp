#include "ui/widgets/PlayBarButton.h"

PlayBarButton::PlayBarButton(const QImage& picture, QWidget* parent) : PlayBarButton(picture, picture, parent) {}

PlayBarButton::PlayBarButton(const QImage& first, const QImage& second, QWidget* parent)
    : FlatButton(first, parent), first_(first), second_(second) {}

void PlayBarButton::showSecond(bool second) {
    if (showsSecond_ == second) return;
    showsSecond_ = second;
    setPicture(second ? second_ : first_);
}
