#pragma once

#include <QList>
#include <QString>

// The keys of the receiver's remote control. Both web interfaces take Linux input codes; they
// differ only in Exit, for which Enigma1 takes the Escape key.
enum class RemoteKey : int
{
    Digit0,
    Digit1,
    Digit2,
    Digit3,
    Digit4,
    Digit5,
    Digit6,
    Digit7,
    Digit8,
    Digit9,
    Up,
    Down,
    Left,
    Right,
    Ok,
    Exit,
    Menu,
    Info,
    Epg,
    Red,
    Green,
    Yellow,
    Blue,
    ChannelUp,
    ChannelDown,
    VolumeUp,
    VolumeDown,
    Mute,
    TvRadio,
    Text,
    Audio,
    Help,
    Power,
};

struct RemoteKeyCode
{
    RemoteKey key;
    const char* name; // as the command line names the key
    int enigma2;
    int enigma1;
};

// Every key, in the order the remote shows them.
const QList<RemoteKeyCode>& remoteKeyCodes();
const RemoteKeyCode& remoteKeyCode(RemoteKey key);
// The key of a command-line name ("ok", "7", "red"); false when there is none.
bool remoteKeyByName(const QString& name, RemoteKey& key);
