#pragma once
// The program's one notice dialog. A notice never blocks its caller: the
// dialog is created (or reused while it is open), filled and shown centred
// over the main window as its dialog window, and it closes itself when one
// of its buttons is pressed.
#include <QUrl>
#include <functional>
#include <string>

class QWidget;

// What a notice says and which buttons it offers. Callers name only the
// fields they need ({.title = ..., .confirmCaption = ...}); the others stay
// empty, and their "{}" keeps -Wmissing-field-initializers quiet about that.
struct Notice {
    std::string title{};
    std::string content{};
    std::string confirmCaption{};
    // The caption of a cancel button left of the confirm button; without
    // one the notice has the confirm button alone.
    std::string cancelCaption{};
    // When set, confirming opens this web address in the browser (http and
    // https only), and either button closes the MV host window.
    std::string webUrl{};
    // When set, confirming opens this folder of the user's files in the
    // file manager.
    std::string folder{};
    // Runs on the UI thread once the confirm button is pressed (never when
    // the notice is cancelled, closed or replaced by another).
    std::function<void()> onConfirm{};
};

namespace MessageBoxWindow {

// Shows a notice. Safe to call from any thread: from a task thread the
// notice is handed to the UI thread. The last caller's notice wins.
void show(const Notice& notice);

// The dialog while a notice is open, otherwise nullptr.
QWidget* dialog();

// Replaces the way web addresses and folders are opened (the default asks
// the desktop to open them in the browser or the file manager); the opener
// answers whether that worked. Tests use it to see what would be opened.
// When nothing could be opened, a notice says so.
void setUrlOpener(std::function<bool(const QUrl&)> opener);

// What closes the MV host window when a notice with a web address is
// answered, closed or replaced; an empty function closes nothing.
void setMvHostCloser(std::function<void()> closer);

}  // namespace MessageBoxWindow
