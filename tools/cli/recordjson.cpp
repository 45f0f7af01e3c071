#include "tools/cli/recordjson.h"

#include "model/bouquet.h"
#include "model/channel.h"
#include "model/currentservice.h"
#include "model/epgitem.h"
#include "model/records.h"
#include "tools/cli/jsonwriter.h"

void writeJson(JsonWriter& json, const EpgItem& event)
{
    json.beginObject();
    json.member("serviceName", event.serviceName);
    json.member("serviceReference", event.serviceReference);
    json.member("bouquetReference", event.bouquetReference);
    json.member("startDate", event.startDate);
    json.member("startTime", event.startTime);
    json.member("start", event.start);
    json.member("end", event.end);
    json.member("duration", event.duration);
    json.member("progress", event.progress);
    json.member("minutesLeft", event.minutesLeft);
    json.member("title", event.title);
    json.member("descriptionExtended", event.descriptionExtended);
    json.member("eventId", event.eventId);
    json.member("currentTime", event.currentTime);
    json.member("description", event.description);
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
    json.member("serviceReference", timer.serviceReference);
    json.member("serviceName", timer.serviceName);
    json.member("description", timer.description);
    json.member("beginTimeText", timer.beginTimeText);
    json.member("endTimeText", timer.endTimeText);
    json.member("duration", timer.duration);
    json.member("dateText", timer.dateText);
    json.member("type", timer.type);
    json.member("action", timer.action);
    json.member("status", timer.status);
    json.member("typeData", timer.typeData);
    json.member("startText", timer.startText);
    json.member("begin", timer.begin);
    json.member("end", timer.end);
    json.member("extraPath", timer.extraPath);
    json.member("eit", timer.eit);
    json.member("name", timer.name);
    json.member("descriptionExtended", timer.descriptionExtended);
    json.member("disabled", timer.disabled);
    json.member("startPrepare", timer.startPrepare);
    json.member("justPlay", timer.justPlay);
    json.member("afterEvent", timer.afterEvent);
    json.member("location", timer.location);
    json.member("state", timer.state);
    json.member("cancelled", timer.cancelled);
    json.endObject();
}

void writeJson(JsonWriter& json, const MovieEntry& movie)
{
    json.beginObject();
    json.member("title", movie.title);
    json.member("fileSizeText", movie.fileSizeText);
    json.member("serviceReference", movie.serviceReference);
    json.member("description", movie.description);
    json.member("descriptionExtended", movie.descriptionExtended);
    json.member("serviceName", movie.serviceName);
    json.member("time", movie.time);
    json.member("length", movie.length);
    json.member("fileName", movie.fileName);
    json.endObject();
}

void writeJson(JsonWriter& json, const AboutInfo& about)
{
    json.beginObject();
    json.member("enigmaVersion", about.enigmaVersion);
    json.member("imageVersion", about.imageVersion);
    json.member("webifVersion", about.webifVersion);
    json.member("fpVersion", about.fpVersion);
    json.member("model", about.model);
    json.member("lanMac", about.lanMac);
    json.member("lanDhcp", about.lanDhcp);
    json.member("lanIp", about.lanIp);
    json.member("lanMask", about.lanMask);
    json.member("lanGateway", about.lanGateway);
    json.member("hddModel", about.hddModel);
    json.member("hddCapacity", about.hddCapacity);
    json.member("hddFree", about.hddFree);
    json.member("tunerName", about.tunerName);
    json.member("tunerType", about.tunerType);
    json.endObject();
}

void writeJson(JsonWriter& json, const AboutInfoE1& about)
{
    json.beginObject();
    json.member("model", about.model);
    json.member("manufacturer", about.manufacturer);
    json.member("processor", about.processor);
    json.member("harddisk", about.harddisk);
    json.member("usbStick", about.usbStick);
    json.member("linuxKernel", about.linuxKernel);
    json.member("firmware", about.firmware);
    json.member("webInterface", about.webInterface);
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
    json.member("snr", data.snr);
    json.member("agc", data.agc);
    json.member("ber", data.ber);
    json.member("lock", data.lock);
    json.member("sync", data.sync);
    json.endObject();
}

void writeJson(JsonWriter& json, const SignalInfo& signal)
{
    json.beginObject();
    json.member("snrPercent", signal.snrPercent);
    json.member("agcPercent", signal.agcPercent);
    json.member("ber", signal.ber);
    json.member("snrText", signal.snrText);
    json.member("snrDbText", signal.snrDbText);
    json.member("agcText", signal.agcText);
    json.member("berText", signal.berText);
    json.endObject();
}

void writeJson(JsonWriter& json, const StatusData& status)
{
    json.beginObject();
    json.member("agcText", status.agcText);
    json.member("snrText", status.snrText);
    json.member("berText", status.berText);
    json.member("volume", status.volume);
    json.member("mute", status.mute);
    json.member("standby", status.standby);
    json.member("serviceReference", status.serviceReference);
    json.member("serviceName", status.serviceName);
    json.member("provider", status.provider);
    json.member("videoFormat", status.videoFormat);
    json.member("currentTime", status.currentTime);
    json.member("mode", int(status.mode));
    json.member("videoPosition", status.videoPosition);
    json.member("recording", status.recording);
    json.member("nowSt", status.nowSt);
    json.member("nowD", status.nowD);
    json.member("diskGB", status.diskGB);
    json.member("diskH", status.diskH);
    json.member("upTime", status.upTime);
    json.member("videoTime", status.videoTime);
    json.member("enigmaVersion", status.enigmaVersion);
    json.member("imageVersion", status.imageVersion);
    json.member("webifVersion", status.webifVersion);
    json.member("fpVersion", status.fpVersion);
    json.member("model", status.model);
    json.member("lanMac", status.lanMac);
    json.member("lanDhcp", status.lanDhcp);
    json.member("lanIp", status.lanIp);
    json.member("lanMask", status.lanMask);
    json.member("lanGateway", status.lanGateway);
    json.member("hddModel", status.hddModel);
    json.member("hddCapacity", status.hddCapacity);
    json.member("hddFree", status.hddFree);
    json.member("tunerName", status.tunerName);
    json.member("tunerType", status.tunerType);
    json.member("videoWidth", status.videoWidth);
    json.member("videoHeight", status.videoHeight);
    json.member("snrDbText", status.snrDbText);
    json.endObject();
}

void writeJson(JsonWriter& json, const CurrentServiceE2& service, const QList<EpgItem*>& events)
{
    json.beginObject();
    json.member("serviceReference", service.serviceReference);
    json.member("serviceName", service.serviceName);
    json.member("providerName", service.providerName);
    json.member("videoSize", service.videoSize);
    json.member("videoWidth", service.videoWidth);
    json.member("videoHeight", service.videoHeight);
    json.key("events");
    writeJson(json, events);
    json.endObject();
}
