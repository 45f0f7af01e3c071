#pragma once

#include <QSize>
#include <QWidget>

// Pages that hold a landscape and a portrait form show the one that fits their shape: the
// landscape form when wider than high. The hidden form keeps the transposed size, ready for
// the turn. Returns true when the portrait form is shown.
inline bool showFormForShape(const QSize& size, QWidget* landscape, QWidget* portrait)
{
    const bool portraitShape = size.height() >= size.width();
    const QSize transposed = size.transposed();
    landscape->setFixedSize(portraitShape ? transposed : size);
    portrait->setFixedSize(portraitShape ? size : transposed);
    landscape->setVisible(!portraitShape);
    portrait->setVisible(portraitShape);
    return portraitShape;
}
