#pragma once
// How the items of an icon list look: one picture and one or two text lines,
// placed in a box that repeats left to right, then row by row.
#include "ui/widgets/Theme.h"

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>

struct IconTextElement {
    QRect rect;  // relative to the item's box
    QFont font;
    QColor color = QColor::fromRgba(Theme::kCaption);
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop;
    // Wrapped text breaks into lines and ends in "…" on the last line that
    // fits; unwrapped text stays on one line, ending in "…" when too long.
    bool wrap = true;
};

struct IconTemplate {
    QSize cellSize;     // the box of one item, spacing included
    QPoint origin;      // where the first box sits in the list
    QRect pictureRect;  // the picture, relative to the item's box
    // Corner rounding of the picture (the width of the corner's ellipse);
    // a rounding equal to the picture's size gives a circle.
    int rounding = 0;
    IconTextElement mainText;
    // The second line, grey unless the list says otherwise.
    std::optional<IconTextElement> secondText;
    // The part of the item's box that answers the mouse and is grounded when
    // current or hovered; without one, the picture and the text lines.
    std::optional<QRect> activeRect;

    QRect usedRect() const {
        if (activeRect) return *activeRect;
        QRect used = pictureRect | mainText.rect;
        if (secondText) used |= secondText->rect;
        return used;
    }
};

// Makes a second-line element in the usual grey.
inline IconTextElement secondLine(QRect rect, QFont font, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop,
                                  bool wrap = false) {
    return IconTextElement{rect, std::move(font), QColor::fromRgba(Theme::kSecondText), alignment, wrap};
}

// An MV: a 180×100 still with rounded corners over its name, five to a row;
// the list reaches 46 pixels left of the page so the first still starts at
// its edge.
inline IconTemplate mvTemplate(const TypefaceChoice& type) {
    IconTemplate t;
    t.cellSize = {200, 185};
    t.origin = {46, 0};
    t.pictureRect = {0, 0, 180, 100};
    t.rounding = 25;
    t.mainText = IconTextElement{{0, 105, 180, 40}, type.font(16), QColor::fromRgba(Theme::kCaption)};
    return t;
}

// Playlists and albums: five 180-pixel covers to a row with rounded
// corners, each over its name; the list reaches 63 pixels left of the page
// so the first cover starts at its edge.
inline IconTemplate coverTemplate(const TypefaceChoice& type) {
    IconTemplate t;
    t.cellSize = {200, 265};
    t.origin = {63, 0};
    t.pictureRect = {0, 0, 180, 180};
    t.rounding = 20;
    t.mainText = IconTextElement{{0, 190, 180, 40}, type.font(16), QColor::fromRgba(Theme::kCaption)};
    return t;
}

// An artist: a circle `diameter` wide at the top left of the item's box, over
// the name in 16-pixel caption text, centred vertically in `nameRect`.
inline IconTemplate artistTemplate(const TypefaceChoice& type, QSize cellSize, int diameter, QRect nameRect,
                                   bool wrapName) {
    IconTemplate t;
    t.cellSize = cellSize;
    t.pictureRect = {0, 0, diameter, diameter};
    t.rounding = diameter;
    t.mainText = IconTextElement{nameRect, type.font(16), QColor::fromRgba(Theme::kCaption),
                                 Qt::AlignLeft | Qt::AlignVCenter, wrapName};
    return t;
}
