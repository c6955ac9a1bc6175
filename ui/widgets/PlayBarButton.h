#pragma once
// A play-bar button showing one of two pictures (play or pause, normal or
// highlighted, volume or muted), on the toolbar buttons' soft hover
// background. Which picture it shows follows the player's state: the play
// button's says whether a song plays, a mode button's whether its mode is
// in force.
#include "ui/widgets/FlatButton.h"

#include <QImage>

class PlayBarButton : public FlatButton {
public:
    // A button with one picture.
    PlayBarButton(const QImage& picture, QWidget* parent);
    // A button showing `first` until told to show `second`.
    PlayBarButton(const QImage& first, const QImage& second, QWidget* parent);

    void showSecond(bool second);
    bool showsSecond() const { return showsSecond_; }

private:
    QImage first_;
    QImage second_;
    bool showsSecond_ = false;
};
