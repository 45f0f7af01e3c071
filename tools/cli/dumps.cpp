#include "tools/cli/dumps.h"

#include "model/bouquet.h"
#include "model/channel.h"
#include "model/tavreldatabase.h"
#include "tools/cli/commandrun.h"
#include "tools/cli/jsonwriter.h"
#include "tools/cli/recordjson.h"

const Bouquet* bouquetWithReference(const TavrelDatabase& db, const QString& reference)
{
    for (const Bouquet* bouquet : db.bouquets()) {
        if (bouquet->reference == reference)
            return bouquet;
    }
    return nullptr;
}

Channel* channelWithReference(const TavrelDatabase& db, const QString& reference, const Bouquet** in)
{
    for (const Bouquet* bouquet : db.bouquets()) {
        for (Channel* channel : bouquet->channels) {
            if (channel->serviceReference == reference) {
                *in = bouquet;
                return channel;
            }
        }
    }
    return nullptr;
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
        if (const Bouquet* bouquet = bouquetWithReference(*db, bouquetReference)) {
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
    const Bouquet* bouquet = nullptr;
    Channel* channel = channelWithReference(db, serviceReference, &bouquet);
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

void dumpStatus(CommandRun& run)
{
    run.setDump([db = run.database()](JsonWriter& json) { writeJson(json, *db->statusData()); });
}
