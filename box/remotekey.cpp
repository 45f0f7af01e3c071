#include "box/remotekey.h"

const QList<RemoteKeyCode>& remoteKeyCodes()
{
    static const QList<RemoteKeyCode> codes{
        {RemoteKey::Digit0, "0", 11, 11},
        {RemoteKey::Digit1, "1", 2, 2},
        {RemoteKey::Digit2, "2", 3, 3},
        {RemoteKey::Digit3, "3", 4, 4},
        {RemoteKey::Digit4, "4", 5, 5},
        {RemoteKey::Digit5, "5", 6, 6},
        {RemoteKey::Digit6, "6", 7, 7},
        {RemoteKey::Digit7, "7", 8, 8},
        {RemoteKey::Digit8, "8", 9, 9},
        {RemoteKey::Digit9, "9", 10, 10},
        {RemoteKey::Up, "up", 103, 103},
        {RemoteKey::Down, "down", 108, 108},
        {RemoteKey::Left, "left", 105, 105},
        {RemoteKey::Right, "right", 106, 106},
        {RemoteKey::Ok, "ok", 352, 352},
        {RemoteKey::Exit, "exit", 174, 1},
        {RemoteKey::Menu, "menu", 139, 139},
        {RemoteKey::Info, "info", 358, 358},
        {RemoteKey::Epg, "epg", 365, 365},
        {RemoteKey::Red, "red", 398, 398},
        {RemoteKey::Green, "green", 399, 399},
        {RemoteKey::Yellow, "yellow", 400, 400},
        {RemoteKey::Blue, "blue", 401, 401},
        {RemoteKey::ChannelUp, "channelup", 402, 402},
        {RemoteKey::ChannelDown, "channeldown", 403, 403},
        {RemoteKey::VolumeUp, "volumeup", 115, 115},
        {RemoteKey::VolumeDown, "volumedown", 114, 114},
        {RemoteKey::Mute, "mute", 113, 113},
        {RemoteKey::TvRadio, "tv", 377, 377},
        {RemoteKey::Text, "text", 388, 388},
        {RemoteKey::Audio, "audio", 392, 392},
        {RemoteKey::Help, "help", 138, 138},
        {RemoteKey::Power, "power", 116, 116},
    };
    return codes;
}

const RemoteKeyCode& remoteKeyCode(RemoteKey key)
{
    // The table holds the keys in the order of their values.
    return remoteKeyCodes().at(qsizetype(key));
}

bool remoteKeyByName(const QString& name, RemoteKey& key)
{
    for (const RemoteKeyCode& code : remoteKeyCodes()) {
        if (name.compare(QLatin1String(code.name), Qt::CaseInsensitive) == 0) {
            key = code.key;
            return true;
        }
    }
    return false;
}
