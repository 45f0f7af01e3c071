#include "tools/cli/e2commands.h"

#include "box/requestse2.h"
#include "box/streamlinks.h"
#include "box/tavrelrequest.h"
#include "model/bouquet.h"
#include "model/channel.h"
#include "model/currentservice.h"
#include "model/epgitem.h"
#include "model/tavreldatabase.h"
#include "tools/cli/commandoptions.h"
#include "tools/cli/commandrun.h"
#include "tools/cli/dumps.h"
#include "tools/cli/fixedcommands.h"
#include "tools/cli/jsonwriter.h"
#include "tools/cli/recordjson.h"

#include <QSaveFile>

#include <memory>

namespace {

void dumpEvents(CommandRun& run, QList<EpgItem*> (TavrelDatabase::*events)() const)
{
    run.setDump([db = run.database(), events](JsonWriter& json) { writeJson(json, (db->*events)()); });
}

QString startDump(CommandRun& run, RequestsE2& engine, const QStringList& words)
{
    TavrelDatabase* db = run.database();
    const QString what = words.value(1);
    const QString argument = words.value(2);

    if (what == QLatin1String("services") && words.size() == 2) {
        afterServicesLoaded(run, engine, [] {});
        dumpBouquets(run);
    } else if (what == QLatin1String("epg-now") && words.size() == 3) {
        run.watch({ReqEpgNow, ReqEpgNext});
        dumpBouquetEpg(run, engine, argument, &TavrelRequest::requestBouquetEpgNow);
    } else if (what == QLatin1String("epg") && words.size() == 3) {
        afterServicesLoaded(run, engine, [&run, &engine, db, argument] {
            const Bouquet* bouquet = bouquetOfService(*db, argument);
            if (!bouquet) {
                run.fail(CommandRun::CommandFailed, QStringLiteral("the service is in no bouquet"));
                return;
            }
            engine.requestServiceEpg(argument, bouquet->reference);
        });
        run.watch({ReqEpg});
        dumpChannel(run, argument);
    } else if (what == QLatin1String("current") && words.size() == 2) {
        run.send(ReqCurrentService);
        run.setDump(
            [db](JsonWriter& json) { writeJsonOrNull(json, db->currentService(), db->currentServiceEpg()); });
    } else if (what == QLatin1String("status") && words.size() == 2) {
        run.watch({ReqStatus});
        // The volume answer reaches the status only through whoever listens for it.
        QObject::connect(&engine, &RequestsE2::finishedVolumeRequest, &run,
                         [db](bool isMute, int level) { db->setVolume(isMute, level); });
        engine.sendRequest(ReqStatus);
        engine.sendRequest(ReqCurrentTime);
        dumpStatus(run, {{ReqStatus, {"standby"}},
                         {ReqVolume, {"volume", "mute"}},
                         {ReqCurrentTime, {"currentTime"}},
                         {ReqCurrentService,
                          {"serviceReference", "serviceName", "provider", "videoFormat", "videoWidth",
                           "videoHeight"}},
                         {ReqAbout,
                          {"mode", "enigmaVersion", "imageVersion", "webifVersion", "fpVersion", "model",
                           "lanMac", "lanDhcp", "lanIp", "lanMask", "lanGateway", "hddModel", "hddCapacity",
                           "hddFree", "tunerName", "tunerType"}},
                         {ReqSignal, {"agcText", "snrText", "berText", "snrDbText"}}});
    } else if (what == QLatin1String("about") && words.size() == 2) {
        run.send(ReqAbout);
        dumpRecord(run, &TavrelDatabase::aboutInfo);
    } else if (what == QLatin1String("signal") && words.size() == 2) {
        run.send(ReqSignal);
        dumpRecord(run, &TavrelDatabase::signalInfo);
    } else if (what == QLatin1String("timers") && words.size() == 2) {
        run.send(ReqTimerList);
        dumpTimers(run);
    } else if (what == QLatin1String("movies") && words.size() == 2) {
        run.send(ReqMovieList);
        dumpMovies(run);
    } else if (what == QLatin1String("search") && words.size() == 3) {
        run.watch({ReqEpgSearch});
        engine.searchEpg(argument);
        dumpEvents(run, &TavrelDatabase::searchResults);
    } else if (what == QLatin1String("similar") && words.size() == 4) {
        run.watch({ReqEpgSimilar});
        engine.requestSimilarEpg(argument, words.at(3));
        dumpEvents(run, &TavrelDatabase::similarResults);
    } else {
        return QStringLiteral("unknown dump: %1").arg(words.mid(1).join(QLatin1Char(' ')));
    }
    return {};
}

// The address of the service's stream, or of the one the receiver shows when none is given.
void printStreamUrl(CommandRun& run, RequestsE2& engine, const QString& serviceReference)
{
    const Profile profile = engine.profile();
    TavrelDatabase* db = run.database();
    if (serviceReference.isEmpty()) {
        run.send(ReqCurrentService);
        run.setFinalCheck([&run, db] {
            if (!db->currentService() || db->currentService()->serviceReference.isEmpty())
                run.fail(CommandRun::CommandFailed,
                         QStringLiteral("the receiver did not say which channel it shows"));
        });
    }
    run.setTextOutput([profile, db, serviceReference]() -> QByteArray {
        const QString reference =
            serviceReference.isEmpty() ? db->currentService()->serviceReference : serviceReference;
        return StreamLinks::channelUrl(profile, reference).toEncoded() + '\n';
    });
}

// The channels of a bouquet, named by its reference or its name, as an M3U playlist.
QString writePlaylist(CommandRun& run, RequestsE2& engine, const QString& bouquetName,
                      const QString& fileName)
{
    // The file is opened first: a line-up with nowhere to go is not asked for.
    auto file = std::make_shared<QSaveFile>(fileName);
    if (!file->open(QIODevice::WriteOnly))
        return QStringLiteral("cannot write '%1'").arg(fileName);
    const Profile profile = engine.profile();
    TavrelDatabase* db = run.database();
    afterServicesLoaded(run, engine, [&run, db, profile, file, bouquetName] {
        const Bouquet* bouquet = db->bouquetWithReference(bouquetName);
        const QList<Bouquet*> bouquets = db->bouquets();
        for (const Bouquet* candidate : bouquets) {
            if (!bouquet && candidate->name == bouquetName)
                bouquet = candidate;
        }
        if (!bouquet) {
            run.fail(CommandRun::CommandFailed, QStringLiteral("no bouquet with this reference or name"));
            return;
        }
        const QByteArray playlist = StreamLinks::playlist(profile, bouquet->channels);
        if (file->write(playlist) != playlist.size() || !file->commit())
            run.fail(CommandRun::CommandFailed, QStringLiteral("cannot write '%1'").arg(file->fileName()));
    });
    return {};
}

} // namespace

QString startE2Command(CommandRun& run, RequestsE2& engine, const CommandOptions& options)
{
    const QStringList& words = options.words;
    const QString command = words.value(0);
    const qsizetype count = words.size();

    if (command == QLatin1String("dump"))
        return startDump(run, engine, words);

    static const FixedCommands fixed{
        {{QStringLiteral("mute"), ReqMute}, {QStringLiteral("record"), ReqRecord}},
        {{QStringLiteral("ok"), ReqKeyOk}, {QStringLiteral("exit"), ReqKeyExit}},
    };

    if (startFixedCommand(run, words, fixed))
        return {};
    if (const std::optional<QString> remote = startRemoteCommand(run, engine, options))
        return *remote;
    if (command == QLatin1String("zap") && count == 2) {
        run.command(ReqZap);
        engine.zapToService(words.at(1));
    } else if (command == QLatin1String("volume") && count == 2) {
        const std::optional<int> level = volumeLevel(words, 100);
        if (!level)
            return QStringLiteral("the volume is a number from 0 to 100");
        run.command(ReqSetVolume);
        engine.setVolume(QString::number(*level));
    } else if (command == QLatin1String("message") && count == 2) {
        run.command(ReqMessage);
        run.failIfRefused(engine, &RequestsE2::finishedMessageSendRequest,
                          QStringLiteral("the receiver did not take the message"));
        engine.sendMessageE2(words.at(1), options.question, options.timeout);
    } else if (command == QLatin1String("answer") && count == 1) {
        auto answer = std::make_shared<MessageAnswer>(AnswerTimeout);
        QObject::connect(&engine, &RequestsE2::finishedMessageAnswerRequest, &run,
                         [answer](MessageAnswer given) { *answer = given; });
        run.send(ReqMessageAnswer);
        run.setDump([answer](JsonWriter& json) {
            static const char* const names[] = {"yes", "no", "timeout"};
            json.beginObject();
            json.member("answer", QString::fromLatin1(names[int(*answer)]));
            json.endObject();
        });
    } else if (command == QLatin1String("timer-add") && count == 3) {
        run.command(ReqTimerAdd);
        run.failIfRefused(engine, &RequestsE2::finishedTimerEventAddRequest,
                          QStringLiteral("the receiver did not add the timer"));
        EpgItem event;
        event.serviceReference = words.at(1);
        event.eventId = words.at(2);
        engine.addTimerForEvent(&event, options.zap);
    } else if (command == QLatin1String("timer-delete") && count == 4) {
        bool beginOk = false;
        bool endOk = false;
        TimerEntry timer;
        timer.serviceReference = words.at(1);
        timer.begin = words.at(2).toUInt(&beginOk);
        timer.end = words.at(3).toUInt(&endOk);
        if (!beginOk || !endOk)
            return QStringLiteral("begin and end are time stamps in seconds");
        run.command(ReqTimerDelete);
        run.failIfRefused(engine, &RequestsE2::finishedTimerEventDelRequest,
                          QStringLiteral("the receiver did not delete the timer"));
        engine.deleteTimer(&timer);
    } else if (command == QLatin1String("screenshot") && count == 2) {
        // The file is opened first: a picture with nowhere to go is not asked for.
        auto file = std::make_shared<QSaveFile>(words.at(1));
        if (!file->open(QIODevice::WriteOnly))
            return QStringLiteral("cannot write '%1'").arg(words.at(1));
        run.watch({ReqScreenshot});
        QObject::connect(&engine, &RequestsE2::finishedScreenshotRequest, &run,
                         [&run, file](const QByteArray& picture) {
                             if (file->write(picture) != picture.size() || !file->commit())
                                 run.fail(CommandRun::CommandFailed,
                                          QStringLiteral("cannot write '%1'").arg(file->fileName()));
                         });
        engine.requestScreenshot();
    } else if (command == QLatin1String("stream-url") && count <= 2) {
        printStreamUrl(run, engine, words.value(1));
    } else if (command == QLatin1String("playlist") && count == 3) {
        return writePlaylist(run, engine, words.at(1), words.at(2));
    } else if (command == QLatin1String("movie-delete") && count == 2) {
        run.command(ReqMovieDelete);
        run.failIfRefused(engine, &RequestsE2::finishedMovieDelRequest,
                          QStringLiteral("the receiver did not delete the movie"));
        engine.deleteMovie(words.at(1));
    } else {
        return QStringLiteral("unknown command: %1").arg(words.join(QLatin1Char(' ')));
    }
    return {};
}
