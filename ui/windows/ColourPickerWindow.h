#pragma once
// The lyric colour picker: a small frameless window around the toolkit's
// colour dialog, embedded without its buttons, reporting every colour the
// user picks at once. It is 467 × 336 unless the toolkit's picker needs
// more, and is destroyed by its close button.
#include <QWidget>
#include <cstdint>

class FlatButton;
class QColorDialog;

class ColourPickerWindow : public QWidget {
    Q_OBJECT
public:
    explicit ColourPickerWindow(QWidget* parent = nullptr);

    // Shows `argb` as the current colour without reporting it.
    void showColour(std::uint32_t argb);
    QColorDialog* picker() const { return picker_; }
    FlatButton* closeButton() const { return close_; }

signals:
    // A colour the user picked, as 0xAARRGGBB.
    void colourPicked(std::uint32_t argb);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QColorDialog* picker_;
    FlatButton* close_;
};
