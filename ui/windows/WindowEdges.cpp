#include "ui/windows/WindowEdges.h"

#include <QEvent>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace {

Qt::CursorShape cursorFor(Qt::Edges edges) {
    const bool left = edges.testFlag(Qt::LeftEdge), right = edges.testFlag(Qt::RightEdge);
    const bool top = edges.testFlag(Qt::TopEdge), bottom = edges.testFlag(Qt::BottomEdge);
    if ((left && top) || (right && bottom)) return Qt::SizeFDiagCursor;
    if ((right && top) || (left && bottom)) return Qt::SizeBDiagCursor;
    if (left || right) return Qt::SizeHorCursor;
    return Qt::SizeVerCursor;
}

class EdgeFilter : public QObject {
public:
    explicit EdgeFilter(QWidget* window) : QObject(window), window_(window) {
        window->setMouseTracking(true);
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
            case QEvent::MouseMove: showCursor(edgesUnder(static_cast<QMouseEvent*>(event))); return false;
            case QEvent::Leave: showCursor({}); return false;
            case QEvent::MouseButtonPress: {
                auto* press = static_cast<QMouseEvent*>(event);
                const Qt::Edges edges = edgesUnder(press);
                if (press->button() != Qt::LeftButton || !edges) return false;
                if (QWindow* handle = window_->windowHandle()) handle->startSystemResize(edges);
                return true;
            }
            default: return false;
        }
    }

private:
    bool resizable() const {
        return !window_->isMaximized() && !window_->isFullScreen() && window_->minimumSize() != window_->maximumSize();
    }
    Qt::Edges edgesUnder(const QMouseEvent* event) const {
        if (!resizable()) return {};
        return WindowEdges::edgesAt(event->position().toPoint(), window_->size());
    }
    void showCursor(Qt::Edges edges) {
        if (edges)
            window_->setCursor(cursorFor(edges));
        else
            window_->unsetCursor();
    }

    QWidget* window_;
};

}  // namespace

namespace WindowEdges {

Qt::Edges edgesAt(QPoint point, QSize size, int band) {
    Qt::Edges edges;
    if (point.x() < 0 || point.y() < 0 || point.x() >= size.width() || point.y() >= size.height()) return edges;
    if (point.x() < band) edges |= Qt::LeftEdge;
    if (point.x() >= size.width() - band) edges |= Qt::RightEdge;
    if (point.y() < band) edges |= Qt::TopEdge;
    if (point.y() >= size.height() - band) edges |= Qt::BottomEdge;
    return edges;
}

void install(QWidget* window) { new EdgeFilter(window); }

}  // namespace WindowEdges
