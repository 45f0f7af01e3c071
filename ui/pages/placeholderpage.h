#pragma once

#include <QWidget>

// Stands in the page stack and the tabs for a page that is not built yet, so the window has
// all its places and runs without it.
class PlaceholderPage : public QWidget
{
    Q_OBJECT

public:
    PlaceholderPage(const QString& objectName, QWidget* parent);
};
