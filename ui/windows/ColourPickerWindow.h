#pragma once
// The lyric colour picker: a small frameless window around the toolkit's
// colour dialog, reporting every colour the user picks at once. The
// dialog's "确定" keeps the colour picked and closes the window; "取消" and
// the close button report the colour shown when the window opened again
// and close it. It is 467 × 336 unless the toolkit's picker needs more,
// and is destroyed when closed.
#include <QWidget>
#include <cstdint>

class FlatButton;
class QColorDialog;

class ColourPickerWindow : public QWidget {
    Q_OBJECT
public:
    explicit ColourPickerWindow(QWidget* parent = nullptr);

    // Shows `argb` as the current colour without reporting it; it is also
    // what cancelling brings back.
    void showColour(std::uint32_t argb);
    QColorDialog* picker() const { return picker_; }
    FlatButton* closeButton() const { return close_; }

signals:
    // A colour the user picked, as 0xAARRGGBB.
    void colourPicked(std::uint32_t argb);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void cancel();

    QColorDialog* picker_;
    std::uint32_t shownAtOpening_ = 0;
    FlatButton* close_;
};
