#pragma once

#include "ui/shell/shellservices.h"

#include <QPointer>

class DisplayStateSource;
class QAnimationLabel;
class QDBusConnection;
class StackedWindows;

// The shell services on a desktop: stacked pages become transient windows with a back
// button, orientation settings shape the main window, the busy indicator is a spinner for
// the main window's tab bar, and the display state comes from the power-management service
// when there is one, otherwise from the main window and the screen saver.
class DesktopShellServices final : public ShellServices
{
    Q_OBJECT

public:
    // Looks for the power-management service on the system bus and the screen saver on the
    // session bus.
    explicit DesktopShellServices(QWidget* mainWindow);
    DesktopShellServices(QWidget* mainWindow, const QDBusConnection& mceBus,
                         const QDBusConnection& sessionBus);

    void openStackedWindow(QWidget* page) override;
    void closeStackedWindow(QWidget* page) override;
    bool isStackedWindowOpen(const QWidget* page) const override;

    void setOrientation(int setting) override;
    int orientation() const override { return m_orientation; }

    QWidget* busyIndicator() const override;
    void setBusyIndicatorVisible(bool on) override;
    bool isBusyIndicatorVisible() const override { return m_busy; }

    QString displayState() const override;

private:
    QPointer<QWidget> m_mainWindow;
    StackedWindows* m_stackedWindows = nullptr;
    DisplayStateSource* m_displayState = nullptr;
    QPointer<QAnimationLabel> m_busyIndicator; // owned by whichever widget the main window puts it in
    int m_orientation = OrientationAuto;
    bool m_busy = false;
};
