#include "ui/MainWindow.h"

#include "app/WindowDrag.h"

#include <QCloseEvent>
#include <QPainter>
#include <QPushButton>

MainWindow::MainWindow() {
    setObjectName("MainWindow");
    setWindowTitle("Mivra Music");
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setFixedSize(1110, 780);

    auto* toolbar = new QWidget(this);
    toolbar->setObjectName("滤镜_工具栏");
    toolbar->setGeometry(0, 0, 1110, 60);
    makeWindowDragHandle(toolbar, this);

    auto* minimise = new QPushButton("—", this);
    minimise->setObjectName("工具栏_最小化");
    minimise->setGeometry(1030, 15, 30, 30);
    connect(minimise, &QPushButton::clicked, this, &QWidget::showMinimized);

    auto* close = new QPushButton("✕", this);
    close->setObjectName("工具栏_关闭");
    close->setGeometry(1065, 15, 30, 30);
    connect(close, &QPushButton::clicked, this, &MainWindow::closeRequested);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    emit closeRequested();
}

void MainWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0xFA, 0xFA, 0xFA));
}
