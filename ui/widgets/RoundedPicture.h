#pragma once
// Shaping pictures for list items and picture boxes: scaled to fill a
// rectangle (cut at the sides that do not fit) and cut to rounded corners.
#include <QImage>
#include <QPainterPath>
#include <QRectF>
#include <QSize>

// The outline of a rectangle whose corners are rounded by `rounding`, the
// width of the corner ellipse: a rounding equal to the size gives a circle.
QPainterPath roundedOutline(const QRectF& rect, int rounding);

// The part of `source` that, scaled to `target`'s shape, fills it without
// stretching: the centre of the source, cut at the sides that overhang.
QRectF coverSourceRect(const QImage& source, QSizeF target);

// `source` filled into `logicalSize` with the corner rounding, made at
// logicalSize × devicePixelRatio pixels so it stays sharp on dense screens.
// A null source gives a null picture. Safe on any thread.
QImage makeRoundedPicture(const QImage& source, QSize logicalSize, int rounding, qreal devicePixelRatio);
