#include "svgframes.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

namespace SvgFrames {

QImage render(QSvgRenderer& renderer, int size, qreal degrees)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (degrees != 0) {
        const qreal centre = size / 2.0;
        painter.translate(centre, centre);
        painter.rotate(degrees);
        painter.translate(-centre, -centre);
    }
    renderer.render(&painter, QRectF(0, 0, size, size));
    painter.end();
    return image;
}

QList<QImage> turning(QSvgRenderer& renderer, int size, int frameCount)
{
    QList<QImage> frames;
    frames.reserve(frameCount);
    for (int i = 0; i < frameCount; ++i)
        frames.append(render(renderer, size, 360.0 * i / frameCount));
    return frames;
}

} // namespace SvgFrames
