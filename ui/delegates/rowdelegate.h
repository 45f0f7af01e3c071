#pragma once

#include "ui/delegates/rowfonts.h"

#include <QStyledItemDelegate>

class QFont;
class QFontMetrics;

// Common ground of the list-row delegates: the plain item underneath (background, selection,
// decoration icon, but no item text), text lines cut to their place, and the row fonts kept
// for the list's font.
class RowDelegate : public QStyledItemDelegate
{
    Q_OBJECT

protected:
    explicit RowDelegate(QObject* parent);

    // Paints the plain item; false, with nothing painted, for an index that is no row.
    bool paintItem(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const;
    // Antialiased text in the colour of the row's state. Call between save() and restore().
    static void prepareText(QPainter* painter, const QStyleOptionViewItem& option);
    // Draws one line of text inside rect, cut with an ellipsis when it does not fit, and
    // returns what it covered. An empty text covers nothing: a rectangle of no width at the
    // aligned edge.
    static QRect drawLine(QPainter* painter, const QRect& rect, int alignment, const QString& text,
                          const QFont& font, const QFontMetrics& metrics);
    // The row fonts for the list's font as drawn on the painter's device.
    const RowFonts& fonts(const QStyleOptionViewItem& option, const QPainter* painter) const;
    // Width 200 and the given number of points of the list's font per row.
    static QSize rowSize(const QStyleOptionViewItem& option, int heightInPoints);

private:
    mutable RowFonts m_fonts;
};
