#include "ui/windows/ProgramWindow.h"

#include <QGuiApplication>
#include <QLayout>
#include <QPointer>
#include <QScreen>
#include <QWidget>

namespace {

QPointer<QWidget>& mainWindow() {
    static QPointer<QWidget> window;
    return window;
}

}  // namespace

namespace ProgramWindow {

void set(QWidget* window) { mainWindow() = window; }

QWidget* get() { return mainWindow().data(); }

void adopt(QWidget* window) {
    QWidget* owner = get();
    if (!owner || owner == window) return;
    if (window->parentWidget() == owner && window->windowType() == Qt::Dialog) return;
    const Qt::WindowFlags kept = window->windowFlags() & ~Qt::WindowType_Mask;
    window->setParent(owner, kept | Qt::Dialog);
}

void centre(QWidget* window) {
    QRect area;
    if (QWidget* owner = get()) {
        area = owner->geometry();
    } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        area = screen->availableGeometry();
    }
    if (area.isEmpty()) return;
    // The size it will show at: styled, its layout applied.
    window->ensurePolished();
    if (QLayout* layout = window->layout()) layout->activate();
    window->move(area.center() - window->rect().center());
}

}  // namespace ProgramWindow
