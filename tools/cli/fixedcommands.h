#pragma once

#include "box/requesttype.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

class CommandRun;

// Commands that map one-to-one on a request without parameters: a single word ("mute"),
// "power <state>" or "key <name>". The tables differ between the web interfaces.
struct FixedCommands
{
    QHash<QString, RequestType> words;
    QHash<QString, RequestType> keys;
};

// Sends the request the words name; false when they name none, and then nothing was sent.
bool startFixedCommand(CommandRun& run, const QStringList& words, const FixedCommands& commands);

// The level of "volume LEVEL" when it lies between 0 and maximum.
std::optional<int> volumeLevel(const QStringList& words, int maximum);
