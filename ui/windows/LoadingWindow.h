#pragma once
// The small window shown while the main window starts and fills its home
// page: a spinner and two fixed lines of text.
#include <QWidget>

class LoadingWindow : public QWidget {
public:
    LoadingWindow();

protected:
    void paintEvent(QPaintEvent*) override;
};
