#pragma once
// Resizing a frameless window by its edges: the band just inside each edge
// shows the resize cursor, and a left press there hands the resize to the
// window system. A maximised window, or one of fixed size, is not resized.
#include <QPoint>
#include <QSize>
#include <Qt>

class QWidget;

namespace WindowEdges {

// The band, in pixels, just inside each edge that resizes the window.
constexpr int kBand = 6;

// The edges a point of a window of `size` lies on (none inside the bands).
Qt::Edges edgesAt(QPoint point, QSize size, int band = kBand);

// Makes `window` resizable by its edges where its own area shows (the
// margins around its controls).
void install(QWidget* window);

}  // namespace WindowEdges
