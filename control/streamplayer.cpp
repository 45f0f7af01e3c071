#include "control/streamplayer.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>

namespace StreamPlayer {

QString installedPlayer()
{
    for (const QString& player : {QStringLiteral("mpv"), QStringLiteral("vlc")}) {
        if (!QStandardPaths::findExecutable(player).isEmpty())
            return player;
    }
    return {};
}

QStringList commandLine(const QString& command, const QUrl& url)
{
    QStringList words = QProcess::splitCommand(command);
    if (words.isEmpty())
        return {};
    const QString link = url.toString(QUrl::FullyEncoded);
    bool placed = false;
    for (qsizetype i = 1; i < words.size(); ++i) {
        if (words[i].contains(urlPlaceholder)) {
            words[i].replace(urlPlaceholder, link);
            placed = true;
        }
    }
    if (!placed)
        words.append(link);
    return words;
}

QString play(const QString& command, const QUrl& url)
{
    const QString chosen = command.trimmed().isEmpty() ? installedPlayer() : command;
    if (chosen.isEmpty()) {
        if (QDesktopServices::openUrl(url))
            return {};
        return QCoreApplication::translate("StreamPlayer",
                                           "No player for the stream was found. Install mpv or VLC, or "
                                           "name a player command in the settings.");
    }
    const QStringList words = commandLine(chosen, url);
    if (words.isEmpty() || !QProcess::startDetached(words.first(), words.sliced(1)))
        return QCoreApplication::translate("StreamPlayer", "The player \"%1\" could not be started.")
            .arg(words.isEmpty() ? chosen : words.first());
    return {};
}

} // namespace StreamPlayer
