#pragma once
// The update log shown once after an update: a frameless 408×508 window
// with the maker's entries newest first, each a title over its lines, a
// thin separator between entries. Dragged by its title, closed (and
// destroyed) by its own close button. UI thread only.
#include "base/AppSettings.h"

#include <QWidget>
#include <string>

class QScrollArea;

class UpdateLogWindow : public QWidget {
public:
    // Fills the list from the update-log text (JSON, as the maker sends
    // it; anything else leaves the list empty), then records in `settings`
    // that the log was shown.
    UpdateLogWindow(const std::string& updateLogText, const AppSettings& settings);

    // The list's items, in order.
    QWidget* list() const { return list_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void createControls();
    void fill(const std::string& updateLogText);

    QScrollArea* scrollArea_ = nullptr;
    QWidget* list_ = nullptr;
};
