#include "ui/widgets/SvgPicture.h"

#include <QPainter>
#include <QSvgRenderer>
#include <string>

namespace SvgPicture {

std::string document(int viewWidth, int viewHeight, std::string_view body) {
    std::string svg = "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 ";
    svg.append(std::to_string(viewWidth)).append(" ").append(std::to_string(viewHeight)).append("'>");
    svg.append(body).append("</svg>");
    return svg;
}

QImage render(const std::string& svg, QSize logicalSize, qreal devicePixelRatio) {
    if (logicalSize.isEmpty() || devicePixelRatio <= 0) return {};
    QImage image(logicalSize * devicePixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(QByteArray::fromStdString(svg));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(image.size())));
    painter.end();
    image.setDevicePixelRatio(devicePixelRatio);
    return image;
}

}  // namespace SvgPicture
