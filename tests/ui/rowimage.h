#pragma once

#include "ui/delegates/rowfonts.h"

#include <QAbstractItemDelegate>
#include <QImage>
#include <QPainter>
#include <QStyleOptionViewItem>

#include <vector>

// A list row painted by a delegate into an image with a white margin around the row, and the
// same row drawn by hand from the expected texts, so that tests can compare where ink landed.
namespace RowImage {

inline constexpr int margin = 20;

inline QPalette palette()
{
    QPalette p;
    p.setColor(QPalette::Base, Qt::white);
    p.setColor(QPalette::Window, Qt::white);
    p.setColor(QPalette::Text, Qt::black);
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Highlight, QColor(0x20, 0x40, 0x80));
    return p;
}

inline QFont listFont(int pointSize)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(pointSize);
    return font;
}

inline QStyleOptionViewItem option(QSize rowSize, const QFont& font)
{
    QStyleOptionViewItem option;
    option.rect = QRect(QPoint(margin, margin), rowSize);
    option.font = font;
    option.palette = palette();
    option.state = QStyle::State_Enabled | QStyle::State_Active;
    option.decorationSize = QSize(32, 32);
    option.decorationPosition = QStyleOptionViewItem::Left;
    option.features = QStyleOptionViewItem::HasDisplay;
    return option;
}

inline QImage blank(QSize rowSize)
{
    QImage image(rowSize + QSize(2 * margin, 2 * margin), QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

inline QImage paint(const QAbstractItemDelegate& delegate, const QStyleOptionViewItem& option,
                    const QModelIndex& index)
{
    QImage image = blank(option.rect.size());
    QPainter painter(&image);
    delegate.paint(&painter, option, index);
    painter.end();
    return image;
}

inline bool isInk(QRgb pixel)
{
    return qGray(pixel) < 200;
}

// The smallest rectangle holding every inked pixel of the area; null without ink.
inline QRect inkBounds(const QImage& image, const QRect& area)
{
    QRect bounds;
    const QRect clipped = area.intersected(image.rect());
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        for (int x = clipped.left(); x <= clipped.right(); ++x) {
            if (isInk(image.pixel(x, y)))
                bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

inline bool hasInk(const QImage& image, const QRect& area)
{
    return !inkBounds(image, area).isNull();
}

// Whether anything was drawn outside the row.
inline bool inkOutside(const QImage& image, const QRect& row)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!row.contains(x, y) && isInk(image.pixel(x, y)))
                return true;
        }
    }
    return false;
}

// One line of text as a row should show it.
struct Line
{
    QRect band;
    int alignment;
    QString text;
    QFont font;
};

// The row drawn by hand: every line cut to its band with an ellipsis, black on white.
inline QImage expected(QSize rowSize, const std::vector<Line>& lines)
{
    QImage image = blank(rowSize);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::black);
    for (const Line& line : lines) {
        const QFontMetrics metrics(line.font, &image);
        painter.setFont(line.font);
        painter.drawText(
            line.band, line.alignment | Qt::TextSingleLine,
            metrics.elidedText(line.text, Qt::ElideRight, line.band.width(), Qt::TextSingleLine));
    }
    painter.end();
    return image;
}

} // namespace RowImage

namespace RowImage {

// The two text bands of a two-line row: the upper half ends h/2 above the bottom, the lower
// half starts h/2 below the top; both run from left to 10 pixels before the right edge.
inline QRect upperBand(const QRect& row, int left)
{
    return QRect(QPoint(left, row.top()), QPoint(row.right() - 10, row.bottom() - row.height() / 2));
}

inline QRect lowerBand(const QRect& row, int left)
{
    return QRect(QPoint(left, row.top() + row.height() / 2), QPoint(row.right() - 10, row.bottom()));
}

inline QFont boldFont(const QFont& list)
{
    return RowFonts::rowFont(list, list.pointSize(), QFont::Bold);
}

inline QFont normalFont(const QFont& list, int sizeOffset = -1)
{
    return RowFonts::rowFont(list, list.pointSize() + sizeOffset, QFont::Normal);
}

} // namespace RowImage
