#pragma once

#include "box/requesttype.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

class CommandRun;
class TavrelRequest;
struct CommandOptions;

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

// "remote KEY... [--long]": the keys in the order given. Empty when the words are no remote
// command; otherwise the usage message, or an empty string once the keys are on their way.
std::optional<QString> startRemoteCommand(CommandRun& run, TavrelRequest& engine,
                                          const CommandOptions& options);
