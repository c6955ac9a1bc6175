#include "ui/windows/LoadingWindow.h"

#include <QLabel>
#include <QPainter>
#include <QTimer>

namespace {

// Twelve spokes fading around a circle, turning one spoke every 80 ms.
class Spinner : public QWidget {
public:
    explicit Spinner(QWidget* parent) : QWidget(parent) {
        auto* timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [this] {
            step_ = (step_ + 1) % kSpokes;
            update();
        });
        timer->start(80);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(width() / 2.0, height() / 2.0);
        const double radius = std::min(width(), height()) / 2.0;
        QPen pen(QColor(0xF4, 0x8F, 0xB1));
        pen.setWidthF(radius / 5);
        pen.setCapStyle(Qt::RoundCap);
        for (int i = 0; i < kSpokes; ++i) {
            int age = (step_ - i + kSpokes) % kSpokes;
            QColor colour = pen.color();
            colour.setAlphaF(1.0 - age / double(kSpokes));
            pen.setColor(colour);
            painter.setPen(pen);
            painter.save();
            painter.rotate(i * 360.0 / kSpokes);
            painter.drawLine(QPointF(0, -radius * 0.45), QPointF(0, -radius * 0.85));
            painter.restore();
        }
    }

private:
    static constexpr int kSpokes = 12;
    int step_ = 0;
};

QLabel* makeLabel(QWidget* parent, const char* name, const char* text, QRect geometry, const char* style) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setObjectName(QString::fromUtf8(name));
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignCenter);
    label->setStyleSheet(style);
    return label;
}

}  // namespace

LoadingWindow::LoadingWindow() {
    setObjectName("LoadingWindow");
    setWindowTitle("Mivra Loading...");
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedSize(430, 275);

    auto* spinner = new Spinner(this);
    spinner->setObjectName("加载图片");
    spinner->setGeometry(197, 100, 35, 35);
    makeLabel(this, "加载标签", "正在加载数据，请耐心等待 ...", {87, 160, 256, 24},
              "font-family: '微软雅黑'; font-size: 15px; color: #2d2d2d;");
    makeLabel(this, "标签按钮_Tips", "加载速度取决于您的网速", {83, 208, 264, 25},
              "font-family: '微软雅黑'; font-size: 13px; color: #9a9a9a;");
}

void LoadingWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(0xE6, 0xE6, 0xE6));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(rect().adjusted(1, 1, -1, -1), 18, 18);
    QFont font("微软雅黑");
    font.setPixelSize(26);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(0xF4, 0x8F, 0xB1));
    painter.drawText(QRect(0, 35, width(), 45), Qt::AlignCenter, "Mivra Music");
}
