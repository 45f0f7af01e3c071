#pragma once

#include <QList>

class QImage;
class QString;
class QSvgRenderer;

// Square bitmaps of one SVG drawing: the drawing itself, or turned step by step around its
// centre for the frames of a spinner.
namespace SvgFrames {

QImage render(QSvgRenderer& renderer, int size, qreal degrees = 0);
QList<QImage> turning(QSvgRenderer& renderer, int size, int frameCount);

} // namespace SvgFrames
