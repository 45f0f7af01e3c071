#include "ui/pages/timerstateicon.h"

#include "model/records.h"

namespace {

const QString finishedIcon = QStringLiteral(":/buttons/buttons/button_ok_48.png");
const QString recordingIcon = QStringLiteral(":/symbol/symbol/rec.png");
const QString waitingIcon = QStringLiteral(":/buttons/buttons/player_time_48.png");
const QString cancelIcon = QStringLiteral(":/buttons/buttons/button_cancel_48.png");
const QString zapIcon = QStringLiteral(":/buttons/buttons/player_play_48.png");

QString enigma1Icon(const TimerEntry& timer, bool boxRecording, qint64 now)
{
    const qint64 begin = timer.begin;
    const qint64 end = timer.end;
    if (timer.status == QLatin1String("FINISHED"))
        return finishedIcon;
    if (timer.status == QLatin1String("ERROR"))
        return cancelIcon;
    if (timer.status != QLatin1String("ACTIVE"))
        return QString();
    if (boxRecording && begin < now && now < end)
        return recordingIcon;
    if (now < begin)
        return waitingIcon;
    // Its time has begun, but the box does not record it.
    if (now < end)
        return cancelIcon;
    return QString();
}

QString enigma2Icon(const TimerEntry& timer, qint64 now)
{
    const qint64 begin = timer.begin;
    const qint64 end = timer.end;
    if (timer.cancelled)
        return cancelIcon;
    if (begin < now && end < now)
        return finishedIcon;
    const bool running =
        begin < now && now < end && timer.disabled == QLatin1String("0") && timer.state == QLatin1String("2");
    if (running)
        return timer.justPlay == QLatin1String("1") ? zapIcon : recordingIcon;
    if (now < begin && now < end)
        return waitingIcon;
    return QString();
}

} // namespace

QString TimerStateIcon::path(const TimerEntry& timer, int webIfType, bool boxRecording, qint64 now)
{
    switch (webIfType) {
    case 0:
        return enigma1Icon(timer, boxRecording, now);
    case 1:
        return enigma2Icon(timer, now);
    default:
        return QString();
    }
}
