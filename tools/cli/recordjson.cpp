#include "tools/cli/recordjson.h"

#include "model/bouquet.h"
#include "model/channel.h"
#include "model/currentservice.h"
#include "model/epgitem.h"
#include "model/recordfields.h"
#include "model/records.h"
#include "tools/cli/jsonwriter.h"

namespace {

// The fields of a record's list as members named like them.
template<typename Record>
void writeFields(JsonWriter& json, const Record& record)
{
    forEachField<Record>([&](const auto& field) { json.member(field.name, record.*field.member); });
}

} // namespace

void writeJson(JsonWriter& json, const EpgItem& event)
{
    json.beginObject();
    writeFields(json, event);
    json.endObject();
}

void writeJson(JsonWriter& json, const QList<EpgItem*>& events)
{
    json.beginArray();
    for (const EpgItem* event : events)
        writeJson(json, *event);
    json.endArray();
}

void writeJson(JsonWriter& json, const Channel& channel)
{
    json.beginObject();
    json.member("name", channel.name);
    json.member("bouquetName", channel.bouquetName);
    json.member("serviceReference", channel.serviceReference);
    json.key("epgList");
    writeJson(json, channel.epgList());
    json.endObject();
}

void writeJson(JsonWriter& json, const Bouquet& bouquet)
{
    json.beginObject();
    json.member("name", bouquet.name);
    json.member("reference", bouquet.reference);
    json.key("channels").beginArray();
    for (const Channel* channel : bouquet.channels)
        writeJson(json, *channel);
    json.endArray();
    json.endObject();
}

void writeJson(JsonWriter& json, const TimerEntry& timer)
{
    json.beginObject();
    writeFields(json, timer);
    json.endObject();
}

void writeJson(JsonWriter& json, const MovieEntry& movie)
{
    json.beginObject();
    writeFields(json, movie);
    json.endObject();
}

void writeJson(JsonWriter& json, const AboutInfo& about)
{
    json.beginObject();
    writeFields(json, about);
    json.endObject();
}

void writeJson(JsonWriter& json, const AboutInfoE1& about)
{
    json.beginObject();
    writeFields(json, about);
    json.endObject();
}

void writeJson(JsonWriter& json, const SatfinderConfig& config)
{
    const auto writeLists = [&json](const char* name, const QList<QStringList>& lists) {
        json.key(name).beginArray();
        for (const QStringList& list : lists) {
            json.beginArray();
            for (const QString& entry : list)
                json.value(entry);
            json.endArray();
        }
        json.endArray();
    };
    json.beginObject();
    json.member("currentBouquet", config.currentBouquet);
    json.member("currentChannel", config.currentChannel);
    json.key("satellites").beginArray();
    for (const QString& satellite : config.satellites)
        json.value(satellite);
    json.endArray();
    writeLists("channelNames", config.channelNames);
    writeLists("channelRefs", config.channelRefs);
    json.endObject();
}

void writeJson(JsonWriter& json, const SatfinderData& data)
{
    json.beginObject();
    writeFields(json, data);
    json.endObject();
}

void writeJson(JsonWriter& json, const SignalInfo& signal)
{
    json.beginObject();
    writeFields(json, signal);
    json.endObject();
}

void writeJson(JsonWriter& json, const StatusData& status)
{
    json.beginObject();
    writeFields(json, status);
    json.endObject();
}

void writeJson(JsonWriter& json, const CurrentServiceE2& service, const QList<EpgItem*>& events)
{
    json.beginObject();
    writeFields(json, service);
    json.key("events");
    writeJson(json, events);
    json.endObject();
}
