#include "ui/delegates/rowdelegate.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

namespace {

constexpr int rowWidth = 200;

} // namespace

RowDelegate::RowDelegate(QObject* parent)
    : QStyledItemDelegate(parent)
{}

bool RowDelegate::paintItem(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const
{
    if (!painter || !index.isValid())
        return false;
    QStyleOptionViewItem item(option);
    initStyleOption(&item, index);
    // The delegate draws the texts itself; a display text of the item would lie beneath them.
    // Without a text the style would highlight only the icon, so the whole row is selected.
    item.text.clear();
    item.showDecorationSelected = true;
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);
    return true;
}

void RowDelegate::prepareText(QPainter* painter, const QStyleOptionViewItem& option)
{
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setRenderHint(QPainter::TextAntialiasing, true);
    QPalette::ColorGroup group = QPalette::Disabled;
    if (option.state & QStyle::State_Enabled)
        group = (option.state & QStyle::State_Active) ? QPalette::Active : QPalette::Inactive;
    const QPalette::ColorRole role =
        (option.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text;
    painter->setPen(option.palette.color(group, role));
}

QRect RowDelegate::drawLine(QPainter* painter, const QRect& rect, int alignment, const QString& text,
                            const QFont& font, const QFontMetrics& metrics)
{
    if (text.isEmpty() || rect.width() <= 0 || rect.height() <= 0) {
        const int edge = (alignment & Qt::AlignRight) ? rect.right() + 1 : rect.left();
        return QRect(edge, rect.top(), 0, rect.height());
    }
    const QString shown = metrics.elidedText(text, Qt::ElideRight, rect.width(), Qt::TextSingleLine);
    painter->setFont(font);
    QRect covered;
    // Without Qt::TextDontClip nothing is drawn outside rect, even when the font is taller.
    painter->drawText(rect, alignment | Qt::TextSingleLine, shown, &covered);
    return covered.intersected(rect);
}

const RowFonts& RowDelegate::fonts(const QStyleOptionViewItem& option, const QPainter* painter) const
{
    m_fonts.update(option.font, painter->device());
    return m_fonts;
}

QSize RowDelegate::rowSize(const QStyleOptionViewItem& option, int heightInPoints)
{
    const int points = RowFonts::pointSizeOf(option.font, RowFonts::dpiOf(option.widget));
    return QSize(rowWidth, heightInPoints * points);
}
