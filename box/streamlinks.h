#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>

class Channel;
struct Profile;

// Where a receiver streams its channels and recordings to a player on this computer. Enigma2
// receivers stream the channel they are tuned to (or tune to the one asked for, with a second
// tuner) on a port of their own, and recordings through the web interface's file download;
// Enigma1 receivers offer no stream.
namespace StreamLinks {

inline constexpr int enigma2StreamPort = 8001;

// Whether the profile's receiver streams at all.
bool offersStreams(const Profile& profile);
// The stream of a channel; the profile's credentials go into it only when it says the stream
// needs them. An empty URL where the receiver offers none.
QUrl channelUrl(const Profile& profile, const QString& serviceReference);
// The stream of a recording, by its file name on the receiver; with an empty file name the path
// the recording's reference ends with.
QUrl recordingUrl(const Profile& profile, const QString& fileName, const QString& movieReference);
// An M3U playlist of the channels' streams, in their order; markers are left out.
QByteArray playlist(const Profile& profile, const QList<Channel*>& channels);

} // namespace StreamLinks
