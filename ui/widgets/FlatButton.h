#pragma once
// A flat button of the toolbar: a caption in a colour the program sets (the
// page buttons show the chosen page in pink) or a picture, on a soft rounded
// background while the mouse is over it.
#include <QColor>
#include <QImage>
#include <QPushButton>

class FlatButton : public QPushButton {
public:
    explicit FlatButton(const QString& caption, QWidget* parent = nullptr);
    explicit FlatButton(const QImage& picture, QWidget* parent = nullptr);

    void setTextColor(QRgb argb);
    // Shows `picture` instead of the caption.
    void setPicture(const QImage& picture);
    QRgb textColor() const { return textColor_; }
    // The background while hovered; the close button uses a warmer one.
    void setHoverColor(QColor colour) { hoverColour_ = colour; }

protected:
    void paintEvent(QPaintEvent*) override;
    void enterEvent(QEnterEvent*) override;
    void leaveEvent(QEvent*) override;

private:
    QImage picture_;
    QRgb textColor_;
    QColor hoverColour_;
    bool hovered_ = false;
};
