#include "ui/shell/displaystatesource.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QEvent>
#include <QWidget>

namespace {

constexpr auto mceService = "com.nokia.mce";
constexpr auto mceRequestPath = "/com/nokia/mce/request";
constexpr auto mceRequestInterface = "com.nokia.mce.request";
constexpr auto mceSignalPath = "/com/nokia/mce/signal";
constexpr auto mceSignalInterface = "com.nokia.mce.signal";
constexpr auto screenSaverService = "org.freedesktop.ScreenSaver";
constexpr auto screenSaverPath = "/org/freedesktop/ScreenSaver";
constexpr auto screenSaverInterface = "org.freedesktop.ScreenSaver";

QString text(const char* latin1)
{
    return QString::fromLatin1(latin1);
}

} // namespace

DisplayStateSource::DisplayStateSource(QWidget* window, const QDBusConnection& mceBus,
                                       const QDBusConnection& sessionBus, QObject* parent)
    : QObject(parent)
    , m_window(window)
{
    if (m_window)
        m_window->installEventFilter(this);

    // Signals are subscribed without naming the sender: naming it would make QtDBus look up
    // its owner with a blocking call.
    QDBusConnection mce(mceBus);
    if (mce.isConnected()) {
        mce.connect(QString(), text(mceSignalPath), text(mceSignalInterface),
                    QStringLiteral("display_status_ind"), this, SLOT(mceDisplayStatus(QString)));
        const QDBusMessage request =
            QDBusMessage::createMethodCall(text(mceService), text(mceRequestPath), text(mceRequestInterface),
                                           QStringLiteral("get_display_status"));
        auto* call = new QDBusPendingCallWatcher(mce.asyncCall(request), this);
        connect(call, &QDBusPendingCallWatcher::finished, this, &DisplayStateSource::mceAnswered);
    }
    QDBusConnection session(sessionBus);
    if (session.isConnected()) {
        session.connect(QString(), text(screenSaverPath), text(screenSaverInterface),
                        QStringLiteral("ActiveChanged"), this, SLOT(screenSaverActiveChanged(bool)));
        const QDBusMessage request =
            QDBusMessage::createMethodCall(text(screenSaverService), text(screenSaverPath),
                                           text(screenSaverInterface), QStringLiteral("GetActive"));
        auto* call = new QDBusPendingCallWatcher(session.asyncCall(request), this);
        connect(call, &QDBusPendingCallWatcher::finished, this, &DisplayStateSource::screenSaverAnswered);
    }

    // The first report waits for the event loop, so that whoever created this is connected.
    QMetaObject::invokeMethod(this, &DisplayStateSource::report, Qt::QueuedConnection);
}

bool DisplayStateSource::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window) {
        switch (event->type()) {
        case QEvent::Show:
        case QEvent::Hide:
        case QEvent::WindowStateChange:
            report();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

void DisplayStateSource::mceDisplayStatus(const QString& state)
{
    if (state.isEmpty())
        return;
    m_mceState = state;
    report();
}

void DisplayStateSource::screenSaverActiveChanged(bool active)
{
    m_screenSaverActive = active;
    report();
}

void DisplayStateSource::mceAnswered(QDBusPendingCallWatcher* call)
{
    call->deleteLater();
    // An error means there is no such service here; the window then decides.
    const QDBusPendingReply<QString> reply = *call;
    if (!reply.isError())
        mceDisplayStatus(reply.value());
}

void DisplayStateSource::screenSaverAnswered(QDBusPendingCallWatcher* call)
{
    call->deleteLater();
    const QDBusPendingReply<bool> reply = *call;
    if (!reply.isError())
        screenSaverActiveChanged(reply.value());
}

QString DisplayStateSource::currentState() const
{
    if (!m_mceState.isEmpty())
        return m_mceState;
    const bool seen = m_window && m_window->isVisible() && !m_window->isMinimized() && !m_screenSaverActive;
    return seen ? QStringLiteral("on") : QStringLiteral("off");
}

void DisplayStateSource::report()
{
    const QString state = currentState();
    if (state == m_reported)
        return;
    m_reported = state;
    emit stateChanged(state);
}
