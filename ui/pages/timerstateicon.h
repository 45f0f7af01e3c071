#pragma once

#include <QString>

struct TimerEntry;

// The state icon of a timer row: where the timer stands against "now", read by the rules of the
// box's web interface (0 Enigma1, 1 Enigma2). Empty when the row gets no icon.
struct TimerStateIcon
{
    static QString path(const TimerEntry& timer, int webIfType, bool boxRecording, qint64 now);
};
