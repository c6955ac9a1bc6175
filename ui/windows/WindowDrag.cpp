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
        if (event->type() != QEvent::MouseButtonPress) return false;
        if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) return false;
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
