#pragma once
// The program's main window, as the one window the desktop lists for the
// program: notices and the other small windows open as its dialog windows
// (no taskbar entry of their own), centred over it. UI thread only.
class QWidget;

namespace ProgramWindow {

// The window the others belong to from now on; nullptr for none. It is
// held weakly: once deleted, windows open on their own again.
void set(QWidget* mainWindow);
QWidget* get();

// Makes `window` a dialog window of the main window, keeping its other
// window flags (frameless and the like). Without a main window it stays a
// window of its own. Call it before the window is first shown.
void adopt(QWidget* window);

// Moves `window` so that its centre lies on the main window's centre, or on
// the centre of the screen's available area without a main window.
void centre(QWidget* window);

}  // namespace ProgramWindow
