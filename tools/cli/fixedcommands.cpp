#include "tools/cli/fixedcommands.h"

#include "box/tavrelrequest.h"
#include "tools/cli/commandoptions.h"
#include "tools/cli/commandrun.h"

bool startFixedCommand(CommandRun& run, const QStringList& words, const FixedCommands& commands)
{
    static const QHash<QString, RequestType> powerStates{
        {QStringLiteral("standby"), ReqStandby},    {QStringLiteral("wakeup"), ReqWakeup},
        {QStringLiteral("restart"), ReqRestartGui}, {QStringLiteral("reboot"), ReqReboot},
        {QStringLiteral("shutdown"), ReqShutdown},
    };
    RequestType type = ReqNone;
    const QString first = words.value(0);
    if (words.size() == 1)
        type = commands.words.value(first, ReqNone);
    else if (words.size() == 2 && first == QLatin1String("power"))
        type = powerStates.value(words.at(1), ReqNone);
    else if (words.size() == 2 && first == QLatin1String("key"))
        type = commands.keys.value(words.at(1), ReqNone);
    if (type == ReqNone)
        return false;
    // The engine may follow Exit with OK (stopping playback); that press must not be cut off.
    if (type == ReqKeyExit)
        run.watch({type});
    else
        run.command(type);
    run.send(type);
    return true;
}

std::optional<int> volumeLevel(const QStringList& words, int maximum)
{
    bool isNumber = false;
    const int level = words.value(1).toInt(&isNumber);
    if (!isNumber || level < 0 || level > maximum)
        return std::nullopt;
    return level;
}

std::optional<QString> startRemoteCommand(CommandRun& run, TavrelRequest& engine,
                                          const CommandOptions& options)
{
    if (options.words.value(0) != QLatin1String("remote"))
        return std::nullopt;
    if (options.words.size() < 2)
        return QStringLiteral("remote needs at least one key");
    QList<RemoteKey> keys;
    for (const QString& name : options.words.mid(1)) {
        RemoteKey key = RemoteKey::Ok;
        if (!remoteKeyByName(name, key)) {
            QStringList names;
            for (const RemoteKeyCode& code : remoteKeyCodes())
                names.append(QLatin1String(code.name));
            return QStringLiteral("unknown key '%1'; keys: %2").arg(name, names.join(QLatin1Char(' ')));
        }
        keys.append(key);
    }
    // Nothing is sent unless every key is known; then they go one after the other.
    run.watch({ReqRemoteKey});
    for (RemoteKey key : keys)
        engine.sendRemoteKey(key, options.longPress);
    return QString();
}
