#pragma once
// A picture control: draws its picture scaled to fill its rectangle (cut to
// the box's shape, never stretched), with optional corner rounding.
#include <QColor>
#include <QImage>
#include <QWidget>

class PictureBox : public QWidget {
public:
    explicit PictureBox(QWidget* parent = nullptr);

    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }
    // Corner rounding in pixels; a rounding equal to the size gives a circle.
    void setRounding(int rounding);
    // Filled into the box's shape while there is no picture; invisible by default.
    void setEmptyColor(QColor colour);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QImage picture_;
    int rounding_ = 0;
    QColor emptyColour_ = Qt::transparent;
};
