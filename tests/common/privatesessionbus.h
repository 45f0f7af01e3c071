#pragma once

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// A D-Bus session of the test's own that starts no service on demand, so that nothing of the
// machine's desktop answers on it; with a keyring, a keyring daemon made for the test and
// unlocked with a throwaway password offers the secret service there. This process and its
// children use the session from construction on, which must come before the first D-Bus use.
class PrivateSessionBus
{
public:
    enum class Keyring
    {
        None,
        Unlocked
    };

    explicit PrivateSessionBus(Keyring keyring)
    {
        QFile config(m_dir.filePath(QStringLiteral("bus.conf")));
        if (!config.open(QIODevice::WriteOnly))
            return;
        config.write("<busconfig><type>session</type><listen>unix:tmpdir=" + m_dir.path().toUtf8() +
                     "</listen><auth>EXTERNAL</auth><policy context=\"default\"><allow "
                     "send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
                     "<allow own=\"*\"/></policy></busconfig>\n");
        config.close();
        m_bus.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_bus.start(QStringLiteral("dbus-daemon"),
                    {QStringLiteral("--config-file=") + config.fileName(), QStringLiteral("--nofork"),
                     QStringLiteral("--print-address=1")});
        while (!m_bus.canReadLine()) {
            if (!m_bus.waitForReadyRead(10000))
                return;
        }
        qputenv("DBUS_SESSION_BUS_ADDRESS", m_bus.readLine().trimmed());
        if (keyring == Keyring::None) {
            m_ready = QDBusConnection::sessionBus().isConnected();
            return;
        }
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), m_dir.path());
        environment.insert(QStringLiteral("XDG_DATA_HOME"), m_dir.filePath(QStringLiteral("data")));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir.path());
        m_keyring.setProcessEnvironment(environment);
        m_keyring.start(QStringLiteral("gnome-keyring-daemon"),
                        {QStringLiteral("--foreground"), QStringLiteral("--unlock"),
                         QStringLiteral("--components=secrets")});
        if (!m_keyring.waitForStarted())
            return;
        m_keyring.write("throwaway");
        m_keyring.closeWriteChannel();
        const QDeadlineTimer deadline(10000);
        while (!deadline.hasExpired() && !m_ready) {
            QTest::qWait(50);
            m_ready = QDBusConnection::sessionBus().interface()->isServiceRegistered(
                QStringLiteral("org.freedesktop.secrets"));
        }
    }

    ~PrivateSessionBus()
    {
        for (QProcess* process : {&m_keyring, &m_bus}) {
            process->terminate();
            process->waitForFinished();
        }
    }

    bool isReady() const { return m_ready; }

private:
    QTemporaryDir m_dir;
    QProcess m_bus;
    QProcess m_keyring;
    bool m_ready = false;
};
