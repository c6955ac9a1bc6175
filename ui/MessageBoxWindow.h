#pragma once
// The program's one notice dialog. A notice never blocks its caller: the
// dialog is created (or reused while it is open), filled and shown, and it
// closes itself when one of its buttons is pressed.
#include <QUrl>
#include <functional>
#include <string>

class QWidget;

// What the confirm button does besides closing: nothing (empty), or for
// "#web#" followed by a URL, open that URL in the browser.
using NoticeAction = std::string;

namespace MessageBoxWindow {

// Shows a notice. Safe to call from any thread: from a task thread the
// notice is handed to the UI thread. The last caller's texts win.
void show(bool twoButtons, const std::string& cancelCaption, const std::string& confirmCaption,
          const std::string& title, const std::string& content, const NoticeAction& action = {});

// The dialog while a notice is open, otherwise nullptr.
QWidget* dialog();

// Replaces the way "#web#" URLs are opened (the default asks the desktop to
// open them in the browser). Tests use it to see what would be opened.
void setUrlOpener(std::function<void(const QUrl&)> opener);

// What closes the MV host window when a "#web#" notice is answered.
void setMvHostCloser(std::function<void()> closer);

}  // namespace MessageBoxWindow
