#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

// Starts the user's player for a stream of the receiver: the command the settings name, or mpv
// or VLC where one is installed, or else the desktop's default for the URL.
namespace StreamPlayer {

// What a command line holds in place of the URL; without it the URL goes last.
inline constexpr QLatin1StringView urlPlaceholder{"%u"};

// The command used when the settings name none: mpv or VLC, as found on the path; empty when
// neither is installed.
QString installedPlayer();
// The program and its arguments for the URL; empty when the command holds no program.
QStringList commandLine(const QString& command, const QUrl& url);
// Starts the player on its own, so that it outlives this program; the problem in words, empty
// when it started.
QString play(const QString& command, const QUrl& url);

} // namespace StreamPlayer
