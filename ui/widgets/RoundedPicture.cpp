#include "ui/widgets/RoundedPicture.h"

#include <QPainter>
#include <algorithm>

QPainterPath roundedOutline(const QRectF& rect, int rounding) {
    QPainterPath path;
    const double radius = std::clamp(rounding / 2.0, 0.0, std::min(rect.width(), rect.height()) / 2);
    path.addRoundedRect(rect, radius, radius);
    return path;
}

QRectF coverSourceRect(const QImage& source, QSizeF target) {
    const QSizeF sourceSize = source.size();
    if (sourceSize.isEmpty() || target.isEmpty()) return QRectF(QPointF(0, 0), sourceSize);
    const QSizeF cut = target.scaled(sourceSize, Qt::KeepAspectRatio);
    return QRectF(QPointF((sourceSize.width() - cut.width()) / 2, (sourceSize.height() - cut.height()) / 2), cut);
}

QImage makeRoundedPicture(const QImage& source, QSize logicalSize, int rounding, qreal devicePixelRatio) {
    if (source.isNull() || logicalSize.isEmpty() || devicePixelRatio <= 0) return {};
    const QSize pixels = logicalSize * devicePixelRatio;
    // Scale the used part once with a good filter; drawing it then needs no scaling.
    const QImage filled = source.copy(coverSourceRect(source, pixels).toAlignedRect())
                              .scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QImage picture(pixels, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(filled);
    painter.drawPath(roundedOutline(QRectF(QPointF(0, 0), QSizeF(pixels)), int(rounding * devicePixelRatio)));
    painter.end();
    picture.setDevicePixelRatio(devicePixelRatio);
    return picture;
}
