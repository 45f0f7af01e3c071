// Watching the receiver's channels and recordings on this computer.

#include "control/tavrelcontrol.h"

#include "box/streamlinks.h"
#include "box/tavrelrequest.h"
#include "control/streamplayer.h"
#include "model/channel.h"
#include "model/currentservice.h"
#include "model/servicereference.h"
#include "model/tavreldatabase.h"
#include "settings/settings.h"

#include <QSaveFile>

#include <utility>

QString TavrelControl::noStreamReason() const
{
    return noStreamReason(settings->getActiveProfile());
}

QString TavrelControl::noStreamReason(const Profile& profile)
{
    if (profile.profileName == noActiveProfileName)
        return tr("No receiver is set up.");
    if (!StreamLinks::offersStreams(profile))
        return tr("Enigma1 receivers offer no stream to watch on this computer.");
    return {};
}

bool TavrelControl::streamsOffered()
{
    const QString reason = noStreamReason();
    if (!reason.isEmpty())
        Q_EMIT statusMessage(reason);
    return reason.isEmpty();
}

void TavrelControl::watchChannel(int bouquet, int channel)
{
    if (!streamsOffered())
        return;
    if (!database->hasChannel(bouquet, channel))
        return;
    const Channel* chosen = database->channel(bouquet, channel);
    if (isMarkerReference(chosen->serviceReference))
        return;
    const Profile profile = settings->getActiveProfile();
    const QUrl url = StreamLinks::channelUrl(profile, chosen->serviceReference);
    const CurrentServiceE2* current = database->currentService();
    const bool tuned = current && current->serviceReference == chosen->serviceReference;
    if (!profile.zapBeforeWatching || tuned) {
        startPlayer(url, chosen->name);
        return;
    }
    // A receiver with one tuner streams only the channel it shows.
    if (database->statusData()->recording) {
        // Said after the player started, so that the status line keeps it.
        if (startPlayer(url, chosen->name))
            Q_EMIT statusMessage(
                tr("The receiver is recording and is not zapped; %1 may not play.").arg(chosen->name));
        return;
    }
    if (!ensureCommandEngine())
        return;
    m_streamAfterZap = url;
    m_streamAfterZapName = chosen->name;
    Q_EMIT statusMessage(tr("Zapping to %1 before watching it...").arg(chosen->name));
    zapChannel(bouquet, channel);
}

void TavrelControl::watchCurrentChannel()
{
    if (!streamsOffered())
        return;
    const CurrentServiceE2* current = database->currentService();
    if (!current || current->serviceReference.isEmpty()) {
        Q_EMIT statusMessage(tr("The receiver has not said yet which channel it shows."));
        return;
    }
    startPlayer(StreamLinks::channelUrl(settings->getActiveProfile(), current->serviceReference),
                current->serviceName);
}

void TavrelControl::watchMovieAt(int index)
{
    if (!streamsOffered())
        return;
    const MovieEntry* movie = database->movieAt(index);
    if (!movie)
        return;
    const QUrl url =
        StreamLinks::recordingUrl(settings->getActiveProfile(), movie->fileName, movie->serviceReference);
    if (url.isEmpty()) {
        Q_EMIT statusMessage(
            tr("The receiver did not say where the recording \"%1\" is stored.").arg(movie->title));
        return;
    }
    startPlayer(url, movie->title);
}

QString TavrelControl::saveBouquetPlaylist(int bouquet, const QString& fileName) const
{
    if (const QString reason = noStreamReason(); !reason.isEmpty())
        return reason;
    if (!database->hasBouquet(bouquet))
        return tr("There is no bouquet to save.");
    // Written whole or not at all: a playlist cut short would still open.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(StreamLinks::playlist(settings->getActiveProfile(), database->channels(bouquet))) < 0 ||
        !file.commit())
        return tr("The playlist could not be written to %1: %2").arg(fileName, file.errorString());
    return {};
}

void TavrelControl::connectStreamRoutes(TavrelRequest* engine)
{
    connect(engine, &TavrelRequest::replyHandled, this, [this](RequestType type, bool failed) {
        if ((type != ReqZapAndRefresh && type != ReqZap) || m_streamAfterZap.isEmpty())
            return;
        const QUrl url = std::exchange(m_streamAfterZap, {});
        const QString name = std::exchange(m_streamAfterZapName, {});
        if (failed) {
            Q_EMIT statusMessage(tr("The receiver did not zap to %1; it is not played.").arg(name));
            return;
        }
        startPlayer(url, name);
    });
}

bool TavrelControl::startPlayer(const QUrl& url, const QString& what)
{
    const QString problem = StreamPlayer::play(systemSettings.playerCommand, url);
    Q_EMIT statusMessage(problem.isEmpty() ? tr("%1 plays on this computer.").arg(what) : problem);
    return problem.isEmpty();
}
