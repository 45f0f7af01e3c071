#include "gifwriter.h"
#include "svgframes.h"

#include <QCoreApplication>
#include <QImage>
#include <QStringList>
#include <QSvgRenderer>
#include <QTextStream>

namespace {

int fail(const QString& message)
{
    QTextStream(stderr) << "tavrel-iconrender: " << message << '\n';
    return 1;
}

int positive(const QString& text)
{
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    return ok && value > 0 ? value : 0;
}

} // namespace

// tavrel-iconrender png <drawing.svg> <out.png> <size>
// tavrel-iconrender spinner <drawing.svg> <out.gif> <size> <frames> <delay-ms>
int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    const bool png = args.size() == 4 && args.at(0) == QLatin1String("png");
    const bool spinner = args.size() == 6 && args.at(0) == QLatin1String("spinner");
    if (!png && !spinner)
        return fail(QStringLiteral("usage: png <svg> <out.png> <size> | spinner <svg> <out.gif> <size> "
                                   "<frames> <delay-ms>"));
    const int size = positive(args.at(3));
    if (size == 0)
        return fail(QStringLiteral("size must be a positive number"));

    QSvgRenderer renderer(args.at(1));
    if (!renderer.isValid())
        return fail(QStringLiteral("cannot read the drawing %1").arg(args.at(1)));

    if (png) {
        if (!SvgFrames::render(renderer, size).save(args.at(2), "PNG"))
            return fail(QStringLiteral("cannot write %1").arg(args.at(2)));
        return 0;
    }
    const int frames = positive(args.at(4));
    const int delay = positive(args.at(5));
    if (frames == 0 || delay == 0)
        return fail(QStringLiteral("frames and delay must be positive numbers"));
    QString error;
    if (!GifWriter::write(args.at(2), SvgFrames::turning(renderer, size, frames), delay, &error))
        return fail(error);
    return 0;
}
