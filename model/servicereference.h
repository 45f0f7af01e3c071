#pragma once

#include <QChar>
#include <QString>

// Service references carry their flags in the second field; 64 marks a marker row, which only
// heads a group of channels: there is nothing to tune to or to watch on it.
inline bool isMarkerReference(const QString& reference)
{
    constexpr int markerFlag = 0x40;
    bool ok = false;
    const int flags = reference.section(QLatin1Char(':'), 1, 1).toInt(&ok);
    return ok && (flags & markerFlag) != 0;
}
