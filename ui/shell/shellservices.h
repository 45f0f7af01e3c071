#pragma once

#include <QObject>
#include <QString>

class QWidget;

// What the window shell around the program provides: secondary pages stacked above the main
// window, the orientation of the main window, the window's busy indicator and whether the
// display is on. Pages and the main window use only this interface, so that a platform with
// a shell of its own can map it back to that shell.
class ShellServices : public QObject
{
    Q_OBJECT

public:
    // The orientation setting as the system settings store it.
    enum Orientation
    {
        OrientationAuto = 0,
        OrientationLandscape = 1,
        OrientationPortrait = 2
    };

    // The shell of this platform for the main window; the window owns it.
    static ShellServices* create(QWidget* mainWindow);

    // Shows a page of the main window as a window of its own, stacked above the main window.
    // The page returns to the main window through its back button, Escape, closing its
    // window, being hidden, or closeStackedWindow().
    virtual void openStackedWindow(QWidget* page) = 0;
    virtual void closeStackedWindow(QWidget* page) = 0;
    virtual bool isStackedWindowOpen(const QWidget* page) const = 0;

    // 1 gives the main window a landscape shape, 2 a portrait shape; 0 (and any other value)
    // leaves the shape to the user.
    virtual void setOrientation(int setting) = 0;
    virtual int orientation() const = 0;

    // The busy indicator as a widget for the main window to place (in the corner of its tab
    // bar), or nullptr where the shell shows it by itself.
    virtual QWidget* busyIndicator() const = 0;
    virtual void setBusyIndicatorVisible(bool on) = 0;
    virtual bool isBusyIndicatorVisible() const = 0;

    // "on" or "off" as last reported by displayStateChanged(); empty before the first report.
    virtual QString displayState() const = 0;

signals:
    // "on" while the user can see the program, "off" while not; the first report comes from
    // the event loop after construction.
    void displayStateChanged(const QString& state);
    void stackedWindowClosed(QWidget* page);

protected:
    explicit ShellServices(QObject* parent);
};
