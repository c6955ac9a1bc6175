#pragma once
// The look the discover and charts lists share: 180-pixel covers, five to a
// row at the designed width and as many as the list's width holds beyond it,
// rounded, each over its caption. The lists start 63 pixels left of
// their slide box, so the first column lines up with the page's heading.
#include "ui/lists/IconTemplate.h"
#include "ui/lists/ListHeight.h"

#include <QRect>

namespace CoverGrid {

constexpr int kColumns = 5;
constexpr int kColumnWidth = 196;
constexpr int kListLeft = -63;
constexpr int kListWidth = 1090;

// `rowHeight` is the distance from one row's top to the next; the caption
// sits under the cover, `captionHeight` high (two lines of 16-pixel text
// need 52, one needs 40).
inline IconTemplate itemTemplate(const TypefaceChoice& type, int rowHeight, int captionHeight) {
    IconTemplate t;
    t.cellSize = {kColumnWidth, rowHeight};
    t.origin = {-kListLeft, 0};
    t.pictureRect = {0, 0, 180, 180};
    t.rounding = 20;
    t.mainText = IconTextElement{{0, 190, 180, captionHeight}, type.font(16), QColor::fromRgba(Theme::kCaption)};
    return t;
}

// The height of a list of `itemCount` covers, `columns` to a row: every
// row it fills, whole.
constexpr int listHeight(std::int64_t itemCount, int rowHeight, int columns = kColumns) {
    return clampListHeight(rowsFor(itemCount, columns) * rowHeight);
}

}  // namespace CoverGrid
