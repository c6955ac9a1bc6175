#pragma once
// How the items of an icon list look: one picture and one or two text lines,
// placed in a box that repeats left to right, then row by row.
#include "ui/Theme.h"

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
    QSize cellSize;      // the box of one item, spacing included
    QPoint origin;       // where the first box sits in the list
    QRect pictureRect;   // the picture, relative to the item's box
    // Corner rounding of the picture (the width of the corner's ellipse);
    // a rounding equal to the picture's size gives a circle.
    int rounding = 0;
    IconTextElement mainText;
    // The second line, grey unless the list says otherwise.
    std::optional<IconTextElement> secondText;
};

// Makes a second-line element in the usual grey.
inline IconTextElement secondLine(QRect rect, QFont font, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop,
                                  bool wrap = false) {
    return IconTextElement{rect, std::move(font), QColor::fromRgba(Theme::kSecondText), alignment, wrap};
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
