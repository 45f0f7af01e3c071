#pragma once

#include <QList>

class QImage;
class QString;

// Writes equally sized frames as an endlessly looping GIF, the one animated format that Qt
// reads without extra plugins. GIF knows only whole transparency, so a pixel is either
// transparent (less than half covered) or shows its own colour fully. The written file is
// read back and compared with what was meant, so a fault in the encoder stops the build
// instead of shipping a broken animation.
namespace GifWriter {

bool write(const QString& path, const QList<QImage>& frames, int delayMs, QString* error);

} // namespace GifWriter
