#pragma once
// The main window: a frameless 1110×780 frame with its own toolbar.
#include <QWidget>

class MainWindow : public QWidget {
    Q_OBJECT
public:
    MainWindow();

signals:
    // The user asked to close the program (close button or window close).
    void closeRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent*) override;
};
