#pragma once

#include <QMargins>
#include <QObject>
#include <QPointer>

#include <vector>

class QToolButton;
class QWidget;

// Pages of the main window shown as windows of their own above it, with its size and
// position, transient for it, and with a back button at the top. Closing the window, Escape,
// the back button or hiding the page puts the page back where it was in the main window.
class StackedWindows : public QObject
{
    Q_OBJECT

public:
    StackedWindows(QWidget* mainWindow, QObject* parent);

    void open(QWidget* page);
    void close(QWidget* page);
    bool isOpen(const QWidget* page) const;
    // Gives every open page the main window's current size and position.
    void matchMainWindow();

signals:
    void closed(QWidget* page);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct OpenPage
    {
        QPointer<QWidget> page;
        Qt::WindowFlags flags;
        QMargins margins;
        QPointer<QWidget> bar;
        bool titled = false;  // the window title was lent by the main window
        bool closing = false; // hidden, waiting to be put back
    };

    std::vector<OpenPage>::iterator find(const QWidget* page);
    // Puts a hidden page back; runs from the event loop, never inside the page's own events,
    // because turning a window back into a child widget destroys its native window.
    void scheduleRestore(OpenPage& entry);
    void restore(QWidget* page);
    static void placeBar(QWidget* page, QWidget* bar);

    QPointer<QWidget> m_mainWindow;
    std::vector<OpenPage> m_open;
};
