#pragma once
// Frameless windows are moved by pressing the left button on a handle
// control (a title label, a toolbar strip) and dragging; a double-click on
// a handle of a resizable window maximises it or gives it its size back.
class QWidget;

// Makes `handle` move `window` with the system's window move on a left press.
void makeWindowDragHandle(QWidget* handle, QWidget* window);

// Maximises `window`, or shows a maximised one at its size from before.
void toggleMaximised(QWidget* window);
