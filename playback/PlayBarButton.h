#pragma once
// A play-bar button showing one of two pictures (play or pause, normal or
// highlighted, volume or muted), on a soft rounded background while the
// mouse is over it. Which picture it shows is part of the program's state:
// the play button's picture says whether a song plays, a mode button's
// whether its mode is in force.
#include <QImage>
#include <QPushButton>

class PlayBarButton : public QPushButton {
public:
    // A button with one picture.
    PlayBarButton(const QImage& picture, QWidget* parent);
    // A button showing `first` until told to show `second`.
    PlayBarButton(const QImage& first, const QImage& second, QWidget* parent);

    void showSecond(bool second);
    bool showsSecond() const { return showsSecond_; }

protected:
    void paintEvent(QPaintEvent*) override;
    void enterEvent(QEnterEvent*) override;
    void leaveEvent(QEvent*) override;

private:
    QImage first_;
    QImage second_;
    bool showsSecond_ = false;
    bool hovered_ = false;
};
