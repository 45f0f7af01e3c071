#pragma once

#include "tools/cli/jsonwriter.h"

#include <QList>

class Bouquet;
class Channel;
class EpgItem;
struct AboutInfo;
struct AboutInfoE1;
struct CurrentServiceE2;
struct MovieEntry;
struct SatfinderConfig;
struct SatfinderData;
struct SignalInfo;
struct StatusData;
struct TimerEntry;

// The records of the receiver image as JSON objects whose keys are their field names.
void writeJson(JsonWriter& json, const EpgItem& event);
void writeJson(JsonWriter& json, const QList<EpgItem*>& events);
void writeJson(JsonWriter& json, const Channel& channel);
void writeJson(JsonWriter& json, const Bouquet& bouquet);
void writeJson(JsonWriter& json, const TimerEntry& timer);
void writeJson(JsonWriter& json, const MovieEntry& movie);
void writeJson(JsonWriter& json, const AboutInfo& about);
void writeJson(JsonWriter& json, const AboutInfoE1& about);
void writeJson(JsonWriter& json, const SignalInfo& signal);
void writeJson(JsonWriter& json, const SatfinderConfig& config);
void writeJson(JsonWriter& json, const SatfinderData& data);
void writeJson(JsonWriter& json, const StatusData& status);
void writeJson(JsonWriter& json, const CurrentServiceE2& service, const QList<EpgItem*>& events);

// A record the receiver may not have sent: its object, or null.
template<typename Record, typename... Context>
void writeJsonOrNull(JsonWriter& json, const Record* record, const Context&... context)
{
    if (record)
        writeJson(json, *record, context...);
    else
        json.nullValue();
}
