#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QDBusConnection;
class QDBusPendingCallWatcher;
class QWidget;

// Whether the user can see the program: "on" or "off". Where the power-management service
// "com.nokia.mce" answers, its display state is taken as it is. Elsewhere the display counts
// as off while the main window is minimized or hidden or the session's screen saver is
// active. Nothing here waits for the bus: calls are asynchronous and a missing bus or
// service simply leaves the window and screen saver to decide.
class DisplayStateSource : public QObject
{
    Q_OBJECT

public:
    // mceBus is where the power-management service is looked for (the system bus),
    // sessionBus where the screen saver is.
    DisplayStateSource(QWidget* window, const QDBusConnection& mceBus, const QDBusConnection& sessionBus,
                       QObject* parent);

    // The state last reported; empty before the first report.
    QString state() const { return m_reported; }
    // True once the power-management service has answered or signalled.
    bool followsPowerManagement() const { return !m_mceState.isEmpty(); }

signals:
    void stateChanged(const QString& state);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    // Receivers of D-Bus signals; QtDBus connects them by name.
    void mceDisplayStatus(const QString& state);
    void screenSaverActiveChanged(bool active);

private:
    void mceAnswered(QDBusPendingCallWatcher* call);
    void screenSaverAnswered(QDBusPendingCallWatcher* call);
    QString currentState() const;
    void report();

    QPointer<QWidget> m_window;
    QString m_mceState;
    bool m_screenSaverActive = false;
    QString m_reported;
};
