#pragma once

#include <QString>

class Bouquet;
class Channel;
class CommandRun;
class JsonWriter;
class TavrelDatabase;

// What the dump commands of both web interfaces print, read from the receiver image once the
// command has settled.
const Bouquet* bouquetWithReference(const TavrelDatabase& db, const QString& reference);
// The first channel with this service reference, and the bouquet it was found in.
Channel* channelWithReference(const TavrelDatabase& db, const QString& reference, const Bouquet** in);

void dumpBouquets(CommandRun& run);
// The channels of one bouquet with their now and next events, as the lists show them now.
void dumpChannelsOf(CommandRun& run, const QString& bouquetReference);
// One channel with its events as the lists show them now; null when no bouquet lists it.
void writeChannelOf(JsonWriter& json, const TavrelDatabase& db, const QString& serviceReference);
void dumpChannel(CommandRun& run, const QString& serviceReference);
void dumpTimers(CommandRun& run);
void dumpMovies(CommandRun& run);
void dumpStatus(CommandRun& run);
