#pragma once

#include <QString>
#include <QStringList>

// The command words and the command's own options, as given on the command line.
struct CommandOptions
{
    QStringList words;     // e.g. {"dump", "epg-now", "<bouquet reference>"}
    bool question = false; // message: ask yes or no
    int timeout = 0;       // message: seconds on screen, 0 for the receiver's default
    bool zap = false;      // timer-add: zap timer instead of a recording
    QString caption;       // Enigma1 message caption
    bool untilConfirmed = false;
    bool longPress = false; // remote: hold the keys down
};
