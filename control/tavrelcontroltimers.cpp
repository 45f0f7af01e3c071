// The controller's refresh timers: the EPG check half a second after every full minute, the
// one-second status refresh during playback, and what switches them with the receiver's mode,
// the live mode and the visibility of the panel.

#include "control/tavrelcontrol.h"

#include "box/tavrelrequest.h"
#include "control/controltimer.h"
#include "control/receiverreachability.h"
#include "model/clock.h"
#include "model/tavreldatabase.h"

#include <QTime>

namespace {

constexpr int epgRefreshMs = 60000;
// The EPG check runs this long after the minute turned, when events have just changed.
constexpr int epgAlignDelayMs = 500;
constexpr int panelOneSecMs = 1000;
constexpr int panelTenSecMs = 10000;
// The position is compared with the one this many evaluations earlier.
constexpr int positionSampleCount = 10;

} // namespace

void TavrelControl::runTimer(ControlTimer*& field, const QString& name, bool repeating, int intervalMs,
                             void (TavrelControl::*slot)())
{
    field = m_timerSource.createTimer(
        repeating ? ControlTimer::Mode::Repeating : ControlTimer::Mode::SingleShot, this);
    field->setObjectName(name);
    connect(field, &ControlTimer::timeout, this, slot);
    field->start(intervalMs);
}

void TavrelControl::dropTimer(ControlTimer*& field)
{
    if (!field)
        return;
    // It may be the timer whose timeout is being delivered.
    field->stop();
    field->setObjectName(QString());
    field->deleteLater();
    field = nullptr;
}

void TavrelControl::startStopEpgRefreshTimer(bool start)
{
    if (!start) {
        dropTimer(epgRefreshTimer);
        // A pending aligned shot would start the refresh again.
        dropTimer(epgAlignTimer);
        return;
    }
    // Running, or about to run: one aligned shot is enough.
    if (epgRefreshTimer || epgAlignTimer)
        return;
    const int second = m_clock.toLocal(m_clock.now()).time().second();
    runTimer(epgAlignTimer, QStringLiteral("epgAlignTimer"), false, (60 - second) * 1000 + epgAlignDelayMs,
             &TavrelControl::epgAutoRefreshTimer);
}

void TavrelControl::epgAutoRefreshTimer()
{
    dropTimer(epgAlignTimer);
    dropTimer(epgRefreshTimer);
    runTimer(epgRefreshTimer, QStringLiteral("epgRefreshTimer"), true, epgRefreshMs,
             &TavrelControl::updateCheckChannelItems);
}

void TavrelControl::startStopOneSecPanelRefreshTimer(bool start)
{
    if (!start)
        dropTimer(panelOneSecTimer);
    else if (!panelOneSecTimer)
        runTimer(panelOneSecTimer, QStringLiteral("panelOneSecTimer"), true, panelOneSecMs,
                 &TavrelControl::panelOneSecRefreshTimerSlot);
}

void TavrelControl::startStopTenSecPanelRefreshTimer(bool start)
{
    if (!start)
        dropTimer(panelTenSecTimer);
    else if (!panelTenSecTimer && systemSettings.isLiveMode)
        runTimer(panelTenSecTimer, QStringLiteral("panelTenSecTimer"), true, panelTenSecMs,
                 &TavrelControl::panelTenSecRefreshTimerSlot);
}

void TavrelControl::panelOneSecRefreshTimerSlot()
{
    // While the receiver is away the tries come with a growing pause instead.
    if (!m_reachability->isReachable() && systemSettings.isLiveMode)
        return;
    Q_EMIT networkTransmitIsActive(true);
    if (requestEngine)
        requestEngine->sendRequest(ReqStatus);
}

void TavrelControl::panelTenSecRefreshTimerSlot()
{
    panelOneSecRefreshTimerSlot();
}

void TavrelControl::globalStartStopUpdateTimers(BoxMode mode)
{
    if (!panelTimersAllowed)
        return;
    const bool live = systemSettings.isLiveMode;
    switch (mode) {
    case BoxModeTv:
        startStopEpgRefreshTimer(live);
        startStopOneSecPanelRefreshTimer(false);
        // A zap made with the receiver's own remote shows within ten seconds.
        startStopTenSecPanelRefreshTimer(live);
        break;
    case BoxModeMovie:
    case BoxModeTimeshift:
        startStopEpgRefreshTimer(live);
        startStopOneSecPanelRefreshTimer(positionSampleChanged(database->statusData()->videoTime) && live);
        // A paused playback is still looked at now and then, so that its resumption shows.
        startStopTenSecPanelRefreshTimer(live && !panelOneSecTimer);
        break;
    case BoxModeStandby:
        startStopEpgRefreshTimer(false);
        startStopOneSecPanelRefreshTimer(false);
        startStopTenSecPanelRefreshTimer(false);
        break;
    default:
        break;
    }
}

bool TavrelControl::positionSampleChanged(const QString& sample)
{
    positionSamples.prepend(sample);
    if (positionSamples.size() != positionSampleCount)
        return true;
    const bool moved = positionSamples.first() != positionSamples.last();
    positionSamples.clear();
    return moved;
}

void TavrelControl::panelTimerAllowed(bool allowed)
{
    panelTimersAllowed = allowed;
    if (!initialized)
        return;
    startStopOneSecPanelRefreshTimer(isPlaybackMode() && allowed);
    startStopTenSecPanelRefreshTimer(allowed && isBoxAwake() && !panelOneSecTimer);
}

bool TavrelControl::isBoxAwake() const
{
    const StatusData* status = database->statusData();
    return status->mode != BoxModeStandby && !status->standby;
}
