#include "tools/cli/e1commands.h"

#include "box/requestse1.h"
#include "box/tavrelrequest.h"
#include "model/bouquet.h"
#include "model/epgitem.h"
#include "model/tavreldatabase.h"
#include "tools/cli/commandoptions.h"
#include "tools/cli/commandrun.h"
#include "tools/cli/dumps.h"
#include "tools/cli/fixedcommands.h"
#include "tools/cli/jsonwriter.h"
#include "tools/cli/recordjson.h"

namespace {

// A command confirmed only by a signal: no signal by the time everything settled is a refusal.
std::shared_ptr<bool> requireConfirmation(CommandRun& run, const QString& refusal)
{
    auto confirmed = std::make_shared<bool>(false);
    run.setFinalCheck([&run, confirmed, refusal] {
        if (!*confirmed)
            run.fail(CommandRun::CommandFailed, refusal);
    });
    return confirmed;
}

const MovieEntry* findMovie(const TavrelDatabase& db, const QString& reference)
{
    // The list keeps a reference in its printed form when it cannot be read back safely.
    const QString printed = RequestsE1::printedReference(reference);
    for (const MovieEntry* movie : db.movies()) {
        if (movie->serviceReference == reference || movie->serviceReference == printed)
            return movie;
    }
    return nullptr;
}

// Runs the command once the movie list shows the recording; a recording that is not there
// fails the command without a word to the receiver.
void withMovie(CommandRun& run, RequestsE1& engine, const QString& reference, std::function<void()> command)
{
    run.watch({ReqMovieList, ReqMovieDelete, ReqMovieRename});
    QObject::connect(
        &engine, &RequestsE1::finishedMovieListRequest, &run,
        [&run, reference, command = std::move(command)] {
            if (findMovie(*run.database(), reference))
                command();
            else
                run.failNow(CommandRun::CommandFailed, QStringLiteral("there is no such recording"));
        },
        Qt::SingleShotConnection);
    engine.sendRequest(ReqMovieList);
}

QString startDump(CommandRun& run, RequestsE1& engine, const QStringList& words)
{
    TavrelDatabase* db = run.database();
    const QString what = words.value(1);
    const QString argument = words.value(2);

    if (what == QLatin1String("services") && words.size() == 2) {
        afterServicesLoaded(run, engine, [] {});
        dumpBouquets(run);
    } else if (what == QLatin1String("epg-now") && words.size() == 3) {
        run.watch({ReqMultiEpg});
        dumpBouquetEpg(run, engine, argument, &TavrelRequest::requestBouquetEpg);
    } else if (what == QLatin1String("epg") && words.size() == 2) {
        // The page lists the EPG of the service on screen; its bouquet takes the events.
        afterServicesLoaded(run, engine, [&run, &engine, db] {
            QObject::connect(
                &engine, &RequestsE1::finishedStatusRequest, &run,
                [&run, &engine, db] {
                    const Bouquet* bouquet = bouquetOfService(*db, db->statusData()->serviceReference);
                    if (!bouquet) {
                        run.fail(CommandRun::CommandFailed,
                                 QStringLiteral("the service on screen is in no bouquet"));
                        return;
                    }
                    engine.requestServiceEpg(db->statusData()->serviceReference, bouquet->reference);
                },
                Qt::SingleShotConnection);
            engine.sendRequest(ReqStatus);
        });
        run.watch({ReqStatus, ReqEpg});
        run.setDump(
            [db](JsonWriter& json) { writeChannelOf(json, *db, db->statusData()->serviceReference); });
    } else if (what == QLatin1String("status") && words.size() == 2) {
        run.watch({ReqData});
        run.send(ReqStatus);
        dumpStatus(run, {{ReqStatus,
                          {"currentTime", "standby", "mode", "recording", "serviceReference", "serviceName",
                           "provider", "videoFormat"}},
                         {ReqData,
                          {"nowSt", "nowD", "diskGB", "diskH", "upTime", "volume", "mute", "videoTime",
                           "videoPosition", "agcText", "snrText", "berText"}}});
    } else if (what == QLatin1String("about") && words.size() == 2) {
        run.send(ReqAbout);
        dumpRecord(run, &TavrelDatabase::aboutInfoE1);
    } else if (what == QLatin1String("timers") && words.size() == 2) {
        run.send(ReqTimerList);
        dumpTimers(run);
    } else if (what == QLatin1String("movies") && words.size() == 2) {
        run.send(ReqMovieList);
        dumpMovies(run);
    } else if (what == QLatin1String("satfinder") && words.size() == 2) {
        run.watch({ReqSatfinderConfig});
        engine.requestSatfinderConfig();
        dumpRecord(run, &TavrelDatabase::satfinderConfig);
    } else if (what == QLatin1String("satfinder-data") && words.size() == 3) {
        run.watch({ReqSatfinderData});
        auto measured = std::make_shared<std::optional<SatfinderData>>();
        QObject::connect(&engine, &RequestsE1::finishedSatfinderDataRequest, &run,
                         [measured](SatfinderData* data) { *measured = *data; });
        engine.requestSatfinderData(argument);
        run.setDump([measured](JsonWriter& json) {
            writeJsonOrNull(json, measured->has_value() ? &**measured : nullptr);
        });
    } else {
        return QStringLiteral("unknown dump: %1").arg(words.mid(1).join(QLatin1Char(' ')));
    }
    return {};
}

} // namespace

QString startE1Command(CommandRun& run, RequestsE1& engine, const CommandOptions& options)
{
    const QStringList& words = options.words;
    const QString command = words.value(0);
    const qsizetype count = words.size();

    if (command == QLatin1String("dump"))
        return startDump(run, engine, words);

    static const FixedCommands fixed{
        {{QStringLiteral("mute"), ReqMute},
         {QStringLiteral("play"), ReqPlay},
         {QStringLiteral("pause"), ReqPause},
         {QStringLiteral("stop"), ReqStop},
         {QStringLiteral("forward"), ReqForward},
         {QStringLiteral("rewind"), ReqRewind},
         {QStringLiteral("record"), ReqRecord}},
        {{QStringLiteral("ok"), ReqKeyOk},
         {QStringLiteral("exit"), ReqKeyExit},
         {QStringLiteral("volup"), ReqVolumeUp},
         {QStringLiteral("voldown"), ReqVolumeDown}},
    };

    if (startFixedCommand(run, words, fixed))
        return {};
    if (command == QLatin1String("screenshot"))
        return QStringLiteral("Enigma1 receivers give no picture of the TV screen");
    if (command == QLatin1String("stream-url") || command == QLatin1String("playlist"))
        return QStringLiteral("Enigma1 receivers offer no stream");
    if (const std::optional<QString> remote = startRemoteCommand(run, engine, options))
        return *remote;
    if (command == QLatin1String("zap") && count == 2) {
        run.command(ReqZapAndRefresh);
        engine.zapToService(words.at(1));
    } else if (command == QLatin1String("volume") && count == 2) {
        const std::optional<int> level = volumeLevel(words, 63);
        if (!level)
            return QStringLiteral("the volume is a number from 0 to 63");
        run.command(ReqSetVolume);
        engine.setVolume(QString::number(*level));
    } else if (command == QLatin1String("position") && count == 2) {
        bool isNumber = false;
        words.at(1).toInt(&isNumber);
        if (!isNumber)
            return QStringLiteral("the position is a number");
        run.command(ReqVideoPosition);
        engine.setVideoPosition(words.at(1));
    } else if (command == QLatin1String("message") && count == 2) {
        run.command(ReqMessage);
        const auto confirmed =
            requireConfirmation(run, QStringLiteral("the receiver did not take the message"));
        QObject::connect(&engine, &RequestsE1::finishedMessageSendRequest, &run,
                         [confirmed](bool ok) { *confirmed = ok; });
        engine.sendMessageE1(options.caption, words.at(1), options.untilConfirmed, options.timeout);
    } else if (command == QLatin1String("timer-add") && count == 6) {
        bool startOk = false;
        bool durationOk = false;
        EpgItem event;
        event.start = words.at(2).toUInt(&startOk);
        event.duration = words.at(3).toInt(&durationOk);
        event.title = words.at(4);
        if (!startOk || !durationOk || event.duration <= 0)
            return QStringLiteral("start is a time stamp and duration a number of seconds");
        run.command(ReqTimerAdd);
        run.failIfRefused(engine, &RequestsE1::finishedTimerEventAddRequest,
                          QStringLiteral("the receiver did not add the timer"));
        engine.addTimer(words.at(1), words.at(5), &event);
    } else if (command == QLatin1String("timer-delete") && count == 4) {
        TimerEntry timer;
        timer.serviceReference = words.at(1);
        timer.startText = words.at(2);
        timer.typeData = words.at(3);
        run.command(ReqTimerDelete);
        run.failIfRefused(engine, &RequestsE1::finishedTimerEventDelRequest,
                          QStringLiteral("the receiver did not delete the timer"));
        engine.deleteTimer(&timer);
    } else if (command == QLatin1String("movie-delete") && count == 2) {
        // The receiver answers alike whether or not the recording exists; its list tells.
        const QString reference = words.at(1);
        withMovie(run, engine, reference, [&engine, reference] { engine.deleteMovie(reference); });
        run.setFinalCheck([&run, reference] {
            if (findMovie(*run.database(), reference))
                run.fail(CommandRun::CommandFailed,
                         QStringLiteral("the receiver did not delete the recording"));
        });
    } else if (command == QLatin1String("movie-rename") && count == 3) {
        const QString reference = words.at(1);
        const QString title = words.at(2);
        withMovie(run, engine, reference,
                  [&engine, reference, title] { engine.renameMovie(reference, title); });
        run.setFinalCheck([&run, reference, title] {
            const MovieEntry* movie = findMovie(*run.database(), reference);
            // The list puts the size before the title.
            if (movie && !movie->title.endsWith(title))
                run.fail(CommandRun::CommandFailed,
                         QStringLiteral("the receiver did not rename the recording"));
        });
    } else {
        return QStringLiteral("unknown command: %1").arg(words.join(QLatin1Char(' ')));
    }
    return {};
}
