#include "gifwriter.h"

#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QHash>
#include <QImage>
#include <QImageReader>
#include <QString>

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace {

constexpr int minimumCodeSize = 8;
constexpr int maximumCodeSize = 12;
constexpr int tableLimit = 1 << maximumCodeSize;
constexpr int transparentIndex = 0;
constexpr int paletteSize = 256;
constexpr int cubeLevels = 6;

// Codes of variable width, packed from the least significant bit on, as GIF wants them.
class BitPacker
{
public:
    void put(int code, int width)
    {
        m_pending |= std::uint32_t(code) << m_pendingBits;
        m_pendingBits += width;
        while (m_pendingBits >= 8) {
            m_bytes.append(char(m_pending & 0xff));
            m_pending >>= 8;
            m_pendingBits -= 8;
        }
    }
    QByteArray finish()
    {
        if (m_pendingBits > 0)
            m_bytes.append(char(m_pending & 0xff));
        m_pending = 0;
        m_pendingBits = 0;
        return m_bytes;
    }

private:
    QByteArray m_bytes;
    std::uint32_t m_pending = 0;
    int m_pendingBits = 0;
};

QByteArray lzwCompress(const std::vector<std::uint8_t>& indices)
{
    const int clearCode = 1 << minimumCodeSize;
    const int endCode = clearCode + 1;
    BitPacker out;
    std::unordered_map<std::uint32_t, int> table;
    int codeSize = minimumCodeSize + 1;
    int nextCode = endCode + 1;
    out.put(clearCode, codeSize);
    int prefix = indices.front();
    for (std::size_t i = 1; i < indices.size(); ++i) {
        const int pixel = indices[i];
        const std::uint32_t key = (std::uint32_t(prefix) << 8) | std::uint32_t(pixel);
        if (const auto found = table.find(key); found != table.end()) {
            prefix = found->second;
            continue;
        }
        out.put(prefix, codeSize);
        if (nextCode < tableLimit) {
            table.emplace(key, nextCode++);
            // The reader adds its table entry one code later than we do, so it widens
            // its codes once the entry numbered 2^codeSize exists.
            if (nextCode > (1 << codeSize) && codeSize < maximumCodeSize)
                ++codeSize;
        } else {
            out.put(clearCode, codeSize);
            table.clear();
            codeSize = minimumCodeSize + 1;
            nextCode = endCode + 1;
        }
        prefix = pixel;
    }
    out.put(prefix, codeSize);
    out.put(endCode, codeSize);
    return out.finish();
}

void putWord(QByteArray& out, int value)
{
    out.append(char(value & 0xff));
    out.append(char((value >> 8) & 0xff));
}

void putSubBlocks(QByteArray& out, const QByteArray& data)
{
    for (qsizetype at = 0; at < data.size(); at += 255) {
        const qsizetype length = qMin<qsizetype>(255, data.size() - at);
        out.append(char(length));
        out.append(data.constData() + at, length);
    }
    out.append(char(0));
}

bool isTransparent(QRgb pixel)
{
    return qAlpha(pixel) < 128;
}

QRgb opaque(QRgb pixel)
{
    return qRgb(qRed(pixel), qGreen(pixel), qBlue(pixel));
}

int cubeStep(int channel)
{
    return (channel * (cubeLevels - 1) + 127) / 255;
}

QRgb cubeColour(int r, int g, int b)
{
    constexpr int step = 255 / (cubeLevels - 1);
    return qRgb(r * step, g * step, b * step);
}

// One palette for all frames: the exact colours when they fit, else a colour cube.
struct Palette
{
    std::vector<QRgb> colours{qRgb(0, 0, 0)};
    bool cube = false;

    int indexOf(QRgb pixel, const QHash<QRgb, int>& exact) const
    {
        if (isTransparent(pixel))
            return transparentIndex;
        if (!cube)
            return exact.value(opaque(pixel));
        const int r = cubeStep(qRed(pixel));
        const int g = cubeStep(qGreen(pixel));
        const int b = cubeStep(qBlue(pixel));
        return 1 + (r * cubeLevels + g) * cubeLevels + b;
    }
};

Palette buildPalette(const QList<QImage>& frames, QHash<QRgb, int>& exact)
{
    Palette palette;
    for (const QImage& frame : frames) {
        for (int y = 0; y < frame.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(frame.constScanLine(y));
            for (int x = 0; x < frame.width(); ++x) {
                if (isTransparent(line[x]) || exact.contains(opaque(line[x])))
                    continue;
                exact.insert(opaque(line[x]), int(palette.colours.size()));
                palette.colours.push_back(opaque(line[x]));
            }
        }
    }
    if (palette.colours.size() > std::size_t(paletteSize)) {
        palette.cube = true;
        palette.colours.assign(1, qRgb(0, 0, 0));
        for (int r = 0; r < cubeLevels; ++r)
            for (int g = 0; g < cubeLevels; ++g)
                for (int b = 0; b < cubeLevels; ++b)
                    palette.colours.push_back(cubeColour(r, g, b));
    }
    palette.colours.resize(paletteSize, qRgb(0, 0, 0));
    return palette;
}

std::vector<std::uint8_t> frameIndices(const QImage& frame, const Palette& palette,
                                       const QHash<QRgb, int>& exact)
{
    std::vector<std::uint8_t> indices;
    indices.reserve(std::size_t(frame.width()) * std::size_t(frame.height()));
    for (int y = 0; y < frame.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(frame.constScanLine(y));
        for (int x = 0; x < frame.width(); ++x)
            indices.push_back(std::uint8_t(palette.indexOf(line[x], exact)));
    }
    return indices;
}

QImage expectedFrame(const std::vector<std::uint8_t>& indices, const Palette& palette, QSize size)
{
    QImage image(size, QImage::Format_ARGB32);
    std::size_t i = 0;
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x, ++i)
            line[x] = indices[i] == transparentIndex ? qRgba(0, 0, 0, 0) : palette.colours[indices[i]];
    }
    return image;
}

bool sameFrame(const QImage& read, const QImage& expected)
{
    const QImage image = read.convertToFormat(QImage::Format_ARGB32);
    if (image.size() != expected.size())
        return false;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb a = image.pixel(x, y);
            const QRgb b = expected.pixel(x, y);
            if (qAlpha(a) != qAlpha(b) || (qAlpha(a) != 0 && a != b))
                return false;
        }
    }
    return true;
}

} // namespace

namespace GifWriter {

bool write(const QString& path, const QList<QImage>& frames, int delayMs, QString* error)
{
    if (frames.isEmpty() || frames.front().isNull()) {
        *error = QStringLiteral("no frames to write");
        return false;
    }
    const QSize size = frames.front().size();
    QList<QImage> argb;
    for (const QImage& frame : frames) {
        if (frame.size() != size) {
            *error = QStringLiteral("frames differ in size");
            return false;
        }
        argb.append(frame.convertToFormat(QImage::Format_ARGB32));
    }
    QHash<QRgb, int> exact;
    const Palette palette = buildPalette(argb, exact);

    QByteArray out("GIF89a");
    putWord(out, size.width());
    putWord(out, size.height());
    out.append(char(0xf7)); // global colour table of 256 entries, 8 bits per primary
    out.append(char(transparentIndex));
    out.append(char(0));
    for (const QRgb colour : palette.colours) {
        out.append(char(qRed(colour)));
        out.append(char(qGreen(colour)));
        out.append(char(qBlue(colour)));
    }
    out.append("\x21\xff\x0bNETSCAPE2.0\x03\x01", 16); // loop for ever
    putWord(out, 0);
    out.append(char(0));

    QList<QImage> expected;
    for (const QImage& frame : argb) {
        const std::vector<std::uint8_t> indices = frameIndices(frame, palette, exact);
        expected.append(expectedFrame(indices, palette, size));
        out.append("\x21\xf9\x04", 3);
        out.append(char(0x09)); // clear to background after the frame, index 0 transparent
        putWord(out, (delayMs + 5) / 10);
        out.append(char(transparentIndex));
        out.append(char(0));
        out.append(char(0x2c));
        putWord(out, 0);
        putWord(out, 0);
        putWord(out, size.width());
        putWord(out, size.height());
        out.append(char(0));
        out.append(char(minimumCodeSize));
        putSubBlocks(out, lzwCompress(indices));
    }
    out.append(char(0x3b));

    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(out) != out.size()) {
        *error = QStringLiteral("cannot write %1").arg(path);
        return false;
    }
    file.close();

    QImageReader reader(path, "gif");
    for (qsizetype i = 0; i < expected.size(); ++i) {
        const QImage read = reader.read();
        if (read.isNull() || !sameFrame(read, expected.at(i))) {
            *error = QStringLiteral("frame %1 of %2 does not read back as written").arg(i).arg(path);
            return false;
        }
    }
    return true;
}

} // namespace GifWriter
