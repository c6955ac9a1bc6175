// Renders an SVG picture as a square PNG: render_icon <svg> <size> <png>.
// The build uses it to make the fixed-size icons from the one drawing.
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: render_icon <svg> <size> <png>\n");
        return 2;
    }
    const int size = std::atoi(argv[2]);
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.isValid() || size <= 0) {
        std::fprintf(stderr, "render_icon: cannot render %s at %s px\n", argv[1], argv[2]);
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    svg.render(&painter);
    painter.end();
    return image.save(QString::fromLocal8Bit(argv[3]), "PNG") ? 0 : 1;
}
