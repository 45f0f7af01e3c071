#pragma once

#include "model/tavreldatabase.h"
#include "tools/cli/commandrun.h"
#include "tools/cli/recordjson.h"

#include <QObject>
#include <QString>

#include <functional>

class Bouquet;
class Channel;

// What the dump commands of both web interfaces print, read from the receiver image once the
// command has settled.
// The bouquet in which the service first stands; null when no bouquet lists it.
const Bouquet* bouquetOfService(const TavrelDatabase& db, const QString& serviceReference);

void dumpBouquets(CommandRun& run);
// The channels of one bouquet with their now and next events, as the lists show them now.
void dumpChannelsOf(CommandRun& run, const QString& bouquetReference);
// One channel with its events as the lists show them now; null when no bouquet lists it.
void writeChannelOf(JsonWriter& json, const TavrelDatabase& db, const QString& serviceReference);
void dumpChannel(CommandRun& run, const QString& serviceReference);
void dumpTimers(CommandRun& run);
void dumpMovies(CommandRun& run);
// The fields of the status record that an answer of a type fills.
struct StatusSource
{
    RequestType type;
    QList<QByteArray> fields;
};
// The status record; fields whose answer did not come are null.
void dumpStatus(CommandRun& run, QList<StatusSource> sources);

// One record of the receiver image, or null when the receiver did not send it.
template<typename Record>
void dumpRecord(CommandRun& run, Record* (TavrelDatabase::*record)() const)
{
    run.setDump([db = run.database(), record](JsonWriter& json) { writeJsonOrNull(json, (db->*record)()); });
}

// The EPG of a service or bouquet is merged into the channels it belongs to, so the line-up is
// loaded first; next() runs once it is there.
template<typename Engine>
void afterServicesLoaded(CommandRun& run, Engine& engine, std::function<void()> next)
{
    QObject::connect(&engine, &Engine::finishedServiceDataRequest, &run, std::move(next),
                     Qt::SingleShotConnection);
    run.send(ReqServices);
}

// Loads the line-up, then asks for the bouquet's events with request and dumps its channels.
template<typename Engine>
void dumpBouquetEpg(CommandRun& run, Engine& engine, const QString& bouquetRef,
                    void (TavrelRequest::*request)(const QString&))
{
    TavrelDatabase* db = run.database();
    afterServicesLoaded(run, engine, [&run, &engine, db, bouquetRef, request] {
        if (!db->bouquetWithReference(bouquetRef)) {
            run.fail(CommandRun::CommandFailed, QStringLiteral("no bouquet with this reference"));
            return;
        }
        (engine.*request)(bouquetRef);
    });
    dumpChannelsOf(run, bouquetRef);
}
