#pragma once

#include "ui/delegates/rowdelegate.h"

// A row of two lines: the upper one sits on the middle of the row, the lower one hangs from
// it; one of them is bold. The subclasses say what the lines read.
class TwoLineItemDelegate : public RowDelegate
{
    Q_OBJECT

public:
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

protected:
    enum class BoldLine
    {
        Upper,
        Lower
    };
    struct Lines
    {
        QString upper;
        QString lower;
    };

    TwoLineItemDelegate(BoldLine boldLine, QObject* parent);

    virtual Lines lines(const QModelIndex& index) const = 0;
    // Where both lines start: 5 pixels in, unless the row keeps room for an icon.
    virtual int textLeft(const QRect& row) const;

private:
    const BoldLine m_boldLine;
};
