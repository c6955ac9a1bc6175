#pragma once
// A thin vertical scrollbar: a rounded handle and no track, and nothing at
// all while there is nothing to scroll.
#include <QScrollBar>

class SlimScrollBar : public QScrollBar {
public:
    explicit SlimScrollBar(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent*) override;
    void enterEvent(QEnterEvent*) override;
    void leaveEvent(QEvent*) override;

private:
    bool hovered_ = false;
};
