#pragma once

#include "model/clock.h"
#include "model/records.h"
#include "settings/settings.h"
#include "tests/common/temporarysettings.h"
#include "tools/boxsim/boxsim.h"

#include <QTest>

// A simulated receiver on 127.0.0.1 with a clock that stands still, and a temporary settings
// store whose active profile points at it: the setting every receiver test starts from.
class SimulatedReceiver
{
public:
    static constexpr qint64 startTime = 1796587200; // 2026-12-06 20:00 UTC

    explicit SimulatedReceiver(boxsim::Personality personality)
        : box(personality)
        , clock(startTime)
    {
        box.setFixedTime(startTime);
        port = box.listen();
        // The Enigma1 status page always asks for a login; the receiver takes root/root.
        if (personality == boxsim::Personality::Enigma1)
            saveProfile(QStringLiteral("root"), QStringLiteral("root"));
        else
            saveProfile();
    }

    // Power commands take the receiver away for no time at all, so tests need not wait.
    void noPowerDowntime()
    {
        box.setDowntime(boxsim::PowerAction::Reboot, 0);
        box.setDowntime(boxsim::PowerAction::RestartGui, 0);
        box.setDowntime(boxsim::PowerAction::DeepStandby, 0);
    }

    // Makes the simulated receiver's address the active profile, with these credentials.
    void saveProfile(const QString& user = QString(), const QString& password = QString())
    {
        Profile profile;
        profile.profileName = QStringLiteral("Simulated");
        profile.webIfType = box.personality() == boxsim::Personality::Enigma2 ? 1 : 0;
        profile.isActive = true;
        profile.userName = user;
        profile.password = password;
        profile.wlanAddr = QStringLiteral("127.0.0.1");
        profile.wlanPort = QString::number(port);
        Settings().saveProfile(profile);
    }

    // The targets ("/web/zap?sRef=...") the receiver saw, as text.
    QStringList targets() const
    {
        QStringList list;
        const QList<QByteArray> raw = box.requestTargets();
        for (const QByteArray& target : raw)
            list.append(QString::fromLatin1(target));
        return list;
    }

    // Targets the receiver saw on this path ("/web/epgnow").
    QStringList targetsTo(const QString& path) const
    {
        QStringList found;
        const QStringList all = targets();
        for (const QString& target : all) {
            if (target == path || target.startsWith(path + QLatin1Char('?')))
                found.append(target);
        }
        return found;
    }

    // Requests to this path that passed authentication.
    QList<boxsim::LoggedRequest> requestsTo(const QByteArray& path) const
    {
        QList<boxsim::LoggedRequest> found;
        const QList<boxsim::LoggedRequest> all = box.requests();
        for (const boxsim::LoggedRequest& request : all) {
            if (request.rawPath == path && request.authorized)
                found.append(request);
        }
        return found;
    }

    // Wall-clock milliseconds between the arrival of two requests.
    static qint64 msBetween(const boxsim::LoggedRequest& earlier, const boxsim::LoggedRequest& later)
    {
        return earlier.received.msecsTo(later.received);
    }

    TemporarySettings store;
    boxsim::BoxSim box;
    ManualClock clock;
    quint16 port = 0;
};
