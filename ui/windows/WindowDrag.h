#pragma once
// Frameless windows are moved by pressing the left button on a handle
// control (a title label, a toolbar strip) and dragging.
class QWidget;

// Makes `handle` move `window` with the system's window move on a left press.
void makeWindowDragHandle(QWidget* handle, QWidget* window);
