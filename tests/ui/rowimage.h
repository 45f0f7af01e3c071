#pragma once

#include "ui/delegates/rowfonts.h"

#include <QAbstractItemDelegate>
#include <QImage>
#include <QPainter>
#include <QStyleOptionViewItem>

#include <vector>

// A list row painted by a delegate into an image with a white margin around it, and the same
// row drawn by hand from the expected texts, so that tests can compare where the ink landed.
namespace RowImage {

inline constexpr int margin = 20;

inline QFont listFont(int pointSize)
{
    return QFont(QStringLiteral("DejaVu Sans"), pointSize);
}

inline QStyleOptionViewItem option(QSize rowSize, const QFont& font)
{
    QStyleOptionViewItem option;
    option.rect = QRect(QPoint(margin, margin), rowSize);
    option.font = font;
    option.palette.setColor(QPalette::Text, Qt::black);
    option.palette.setColor(QPalette::HighlightedText, Qt::white);
    option.palette.setColor(QPalette::Highlight, QColor(0x20, 0x40, 0x80));
    option.state = QStyle::State_Enabled | QStyle::State_Active;
    option.decorationSize = QSize(32, 32);
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
    return image;
}

// The smallest rectangle holding every inked pixel of the area; null without ink.
inline QRect inkBounds(const QImage& image, const QRect& area)
{
    QRect bounds;
    const QRect clipped = area.intersected(image.rect());
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        for (int x = clipped.left(); x <= clipped.right(); ++x) {
            if (qGray(image.pixel(x, y)) < 200)
                bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

inline bool hasInk(const QImage& image, const QRect& area)
{
    return !inkBounds(image, area).isNull();
}

inline bool inkOutside(const QImage& image, const QRect& row)
{
    const QRect ink = inkBounds(image, image.rect());
    return !ink.isNull() && !row.contains(ink);
}

// One line of text as the row should show it.
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
    for (const Line& line : lines) {
        const QFontMetrics metrics(line.font, &image);
        painter.setFont(line.font);
        painter.drawText(
            line.band, line.alignment | Qt::TextSingleLine,
            metrics.elidedText(line.text, Qt::ElideRight, line.band.width(), Qt::TextSingleLine));
    }
    return image;
}

inline QFont boldFont(const QFont& list)
{
    return RowFonts::rowFont(list, list.pointSize(), QFont::Bold);
}

inline QFont normalFont(const QFont& list)
{
    return RowFonts::rowFont(list, list.pointSize() - 1, QFont::Normal);
}

} // namespace RowImage
