#include "box/streamlinks.h"

#include "model/channel.h"
#include "model/records.h"
#include "model/servicereference.h"

namespace StreamLinks {

namespace {

QUrl receiverUrl(const Profile& profile, int port)
{
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(profile.wlanAddr);
    url.setPort(port);
    if (profile.streamNeedsCredentials && !profile.userName.isEmpty()) {
        url.setUserName(profile.userName);
        url.setPassword(profile.password);
    }
    return url;
}

} // namespace

bool offersStreams(const Profile& profile)
{
    return profile.webIfType == 1;
}

QUrl channelUrl(const Profile& profile, const QString& serviceReference)
{
    if (!offersStreams(profile) || serviceReference.isEmpty())
        return {};
    QUrl url = receiverUrl(profile, enigma2StreamPort);
    // The reference is the whole path; "#", "?", "%" and spaces in it are encoded, so that the
    // receiver gets it back as it was.
    url.setPath(QLatin1Char('/') + serviceReference, QUrl::DecodedMode);
    return url;
}

QUrl recordingUrl(const Profile& profile, const QString& fileName, const QString& movieReference)
{
    if (!offersStreams(profile))
        return {};
    QString path = fileName;
    if (path.isEmpty()) {
        // "1:0:0:0:0:0:0:0:0:0:/media/hdd/movie/x.ts": the path follows the tenth colon.
        const qsizetype slash = movieReference.indexOf(QLatin1Char('/'));
        path = slash < 0 ? QString() : movieReference.mid(slash);
    }
    if (path.isEmpty())
        return {};
    bool ok = false;
    const int port = profile.wlanPort.toInt(&ok);
    QUrl url = receiverUrl(profile, ok ? port : 80);
    url.setPath(QStringLiteral("/file"));
    url.setQuery(QStringLiteral("file=") + QString::fromLatin1(QUrl::toPercentEncoding(path, "/")),
                 QUrl::StrictMode);
    return url;
}

QByteArray playlist(const Profile& profile, const QList<Channel*>& channels)
{
    QByteArray text = QByteArrayLiteral("#EXTM3U\n");
    for (const Channel* channel : channels) {
        if (isMarkerReference(channel->serviceReference))
            continue;
        const QUrl url = channelUrl(profile, channel->serviceReference);
        if (url.isEmpty())
            continue;
        // A playlist entry is one line: a name must not start another.
        text += "#EXTINF:-1," + channel->name.simplified().toUtf8() + '\n';
        text += url.toEncoded() + '\n';
    }
    return text;
}

} // namespace StreamLinks
