#pragma once

#include "model/epgitem.h"
#include "model/ownedlist.h"

#include <QString>

// The service the Enigma2 receiver shows, with its current and following events.
struct CurrentServiceE2
{
    QString serviceReference;
    QString serviceName;
    QString providerName;
    QString videoSize;
    QString videoWidth;
    QString videoHeight;
    OwnedList<EpgItem> events;
};
