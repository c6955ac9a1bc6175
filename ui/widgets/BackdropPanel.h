#pragma once
// A flat strip of the window (the toolbar, the play bar): a rounded panel in
// one colour behind the controls it holds.
#include <QColor>
#include <QWidget>

class BackdropPanel : public QWidget {
public:
    BackdropPanel(QColor fill, int radius, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QColor fill_;
    int radius_;
};
