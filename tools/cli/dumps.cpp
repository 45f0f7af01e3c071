#include "tools/cli/dumps.h"

#include "model/bouquet.h"
#include "model/channel.h"
#include "model/tavreldatabase.h"
#include "tools/cli/commandrun.h"
#include "tools/cli/jsonwriter.h"
#include "tools/cli/recordjson.h"

const Bouquet* bouquetOfService(const TavrelDatabase& db, const QString& serviceReference)
{
    const std::optional<std::pair<int, int>> found = db.findService(serviceReference);
    return found ? db.bouquet(found->first) : nullptr;
}

void dumpBouquets(CommandRun& run)
{
    run.setDump([db = run.database()](JsonWriter& json) {
        json.beginArray();
        for (const Bouquet* bouquet : db->bouquets())
            writeJson(json, *bouquet);
        json.endArray();
    });
}

void dumpChannelsOf(CommandRun& run, const QString& bouquetReference)
{
    run.setDump([db = run.database(), bouquetReference](JsonWriter& json) {
        json.beginArray();
        if (const Bouquet* bouquet = db->bouquetWithReference(bouquetReference)) {
            for (Channel* channel : bouquet->channels) {
                channel->refreshEpg(db->clock());
                writeJson(json, *channel);
            }
        }
        json.endArray();
    });
}

void writeChannelOf(JsonWriter& json, const TavrelDatabase& db, const QString& serviceReference)
{
    const std::optional<std::pair<int, int>> found = db.findService(serviceReference);
    Channel* channel = found ? db.channel(found->first, found->second) : nullptr;
    if (channel)
        channel->refreshEpg(db.clock());
    writeJsonOrNull(json, channel);
}

void dumpChannel(CommandRun& run, const QString& serviceReference)
{
    run.setDump([db = run.database(), serviceReference](JsonWriter& json) {
        writeChannelOf(json, *db, serviceReference);
    });
}

void dumpTimers(CommandRun& run)
{
    run.setDump([db = run.database()](JsonWriter& json) {
        json.beginArray();
        for (const TimerEntry* timer : db->timers())
            writeJson(json, *timer);
        json.endArray();
    });
}

void dumpMovies(CommandRun& run)
{
    run.setDump([db = run.database()](JsonWriter& json) {
        json.beginArray();
        for (const MovieEntry* movie : db->movies())
            writeJson(json, *movie);
        json.endArray();
    });
}

void dumpStatus(CommandRun& run, QList<StatusSource> sources)
{
    run.setDump([&run, sources = std::move(sources)](JsonWriter& json) {
        QSet<QByteArray> known;
        for (const StatusSource& source : sources) {
            if (run.wasAnswered(source.type)) {
                for (const QByteArray& field : source.fields)
                    known.insert(field);
            }
        }
        json.setKnownMembers(std::move(known));
        writeJson(json, *run.database()->statusData());
    });
}
