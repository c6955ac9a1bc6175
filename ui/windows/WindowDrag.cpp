#include "ui/windows/WindowDrag.h"

#include <QMouseEvent>
#include <QObject>
#include <QWidget>
#include <QWindow>

namespace {

class DragFilter : public QObject {
public:
    DragFilter(QWidget* window, QObject* parent) : QObject(parent), window_(window) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        const bool press = event->type() == QEvent::MouseButtonPress;
        const bool doubleClick = event->type() == QEvent::MouseButtonDblClick;
        if (!press && !doubleClick) return false;
        if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) return false;
        if (doubleClick) {
            // Only a window that can change its size is maximised.
            if (window_->minimumSize() != window_->maximumSize()) toggleMaximised(window_);
            return true;
        }
        if (QWindow* handle = window_->windowHandle()) handle->startSystemMove();
        return true;
    }

private:
    QWidget* window_;
};

}  // namespace

void makeWindowDragHandle(QWidget* handle, QWidget* window) {
    handle->installEventFilter(new DragFilter(window, handle));
}

void toggleMaximised(QWidget* window) {
    if (window->isMaximized())
        window->showNormal();
    else
        window->showMaximized();
}
