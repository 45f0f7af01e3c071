#pragma once

#include "model/currentservice.h"
#include "model/epgitem.h"
#include "model/records.h"

#include <cstddef>
#include <tuple>
#include <type_traits>

// The one list of the fields of each record that is copied or written field by field: whoever
// copies or writes a record goes through its list, so a field added to the record and to its list
// reaches every copy. A field that the aggregate status repeats names its place there as well.
template<typename Record, typename Value, typename StatusPlace = std::nullptr_t>
struct RecordField
{
    const char* name;
    Value Record::*member;
    StatusPlace status = nullptr; // Value StatusData::*, or none
};

constexpr auto recordFields(const EpgItem*)
{
    return std::tuple{RecordField{"serviceName", &EpgItem::serviceName},
                      RecordField{"serviceReference", &EpgItem::serviceReference},
                      RecordField{"bouquetReference", &EpgItem::bouquetReference},
                      RecordField{"startDate", &EpgItem::startDate},
                      RecordField{"startTime", &EpgItem::startTime},
                      RecordField{"start", &EpgItem::start},
                      RecordField{"end", &EpgItem::end},
                      RecordField{"duration", &EpgItem::duration},
                      RecordField{"progress", &EpgItem::progress},
                      RecordField{"minutesLeft", &EpgItem::minutesLeft},
                      RecordField{"title", &EpgItem::title},
                      RecordField{"descriptionExtended", &EpgItem::descriptionExtended},
                      RecordField{"eventId", &EpgItem::eventId},
                      RecordField{"currentTime", &EpgItem::currentTime},
                      RecordField{"description", &EpgItem::description}};
}

constexpr auto recordFields(const TimerEntry*)
{
    return std::tuple{RecordField{"serviceReference", &TimerEntry::serviceReference},
                      RecordField{"serviceName", &TimerEntry::serviceName},
                      RecordField{"description", &TimerEntry::description},
                      RecordField{"beginTimeText", &TimerEntry::beginTimeText},
                      RecordField{"endTimeText", &TimerEntry::endTimeText},
                      RecordField{"duration", &TimerEntry::duration},
                      RecordField{"dateText", &TimerEntry::dateText},
                      RecordField{"type", &TimerEntry::type},
                      RecordField{"action", &TimerEntry::action},
                      RecordField{"status", &TimerEntry::status},
                      RecordField{"typeData", &TimerEntry::typeData},
                      RecordField{"startText", &TimerEntry::startText},
                      RecordField{"begin", &TimerEntry::begin},
                      RecordField{"end", &TimerEntry::end},
                      RecordField{"extraPath", &TimerEntry::extraPath},
                      RecordField{"eit", &TimerEntry::eit},
                      RecordField{"name", &TimerEntry::name},
                      RecordField{"descriptionExtended", &TimerEntry::descriptionExtended},
                      RecordField{"disabled", &TimerEntry::disabled},
                      RecordField{"startPrepare", &TimerEntry::startPrepare},
                      RecordField{"justPlay", &TimerEntry::justPlay},
                      RecordField{"afterEvent", &TimerEntry::afterEvent},
                      RecordField{"location", &TimerEntry::location},
                      RecordField{"state", &TimerEntry::state},
                      RecordField{"cancelled", &TimerEntry::cancelled}};
}

constexpr auto recordFields(const MovieEntry*)
{
    return std::tuple{RecordField{"title", &MovieEntry::title},
                      RecordField{"fileSizeText", &MovieEntry::fileSizeText},
                      RecordField{"serviceReference", &MovieEntry::serviceReference},
                      RecordField{"description", &MovieEntry::description},
                      RecordField{"descriptionExtended", &MovieEntry::descriptionExtended},
                      RecordField{"serviceName", &MovieEntry::serviceName},
                      RecordField{"time", &MovieEntry::time},
                      RecordField{"length", &MovieEntry::length},
                      RecordField{"fileName", &MovieEntry::fileName}};
}

constexpr auto recordFields(const AboutInfo*)
{
    return std::tuple{RecordField{"enigmaVersion", &AboutInfo::enigmaVersion, &StatusData::enigmaVersion},
                      RecordField{"imageVersion", &AboutInfo::imageVersion, &StatusData::imageVersion},
                      RecordField{"webifVersion", &AboutInfo::webifVersion, &StatusData::webifVersion},
                      RecordField{"fpVersion", &AboutInfo::fpVersion, &StatusData::fpVersion},
                      RecordField{"model", &AboutInfo::model, &StatusData::model},
                      RecordField{"lanMac", &AboutInfo::lanMac, &StatusData::lanMac},
                      RecordField{"lanDhcp", &AboutInfo::lanDhcp, &StatusData::lanDhcp},
                      RecordField{"lanIp", &AboutInfo::lanIp, &StatusData::lanIp},
                      RecordField{"lanMask", &AboutInfo::lanMask, &StatusData::lanMask},
                      RecordField{"lanGateway", &AboutInfo::lanGateway, &StatusData::lanGateway},
                      RecordField{"hddModel", &AboutInfo::hddModel, &StatusData::hddModel},
                      RecordField{"hddCapacity", &AboutInfo::hddCapacity, &StatusData::hddCapacity},
                      RecordField{"hddFree", &AboutInfo::hddFree, &StatusData::hddFree},
                      RecordField{"tunerName", &AboutInfo::tunerName, &StatusData::tunerName},
                      RecordField{"tunerType", &AboutInfo::tunerType, &StatusData::tunerType}};
}

constexpr auto recordFields(const AboutInfoE1*)
{
    return std::tuple{RecordField{"model", &AboutInfoE1::model},
                      RecordField{"manufacturer", &AboutInfoE1::manufacturer},
                      RecordField{"processor", &AboutInfoE1::processor},
                      RecordField{"harddisk", &AboutInfoE1::harddisk},
                      RecordField{"usbStick", &AboutInfoE1::usbStick},
                      RecordField{"linuxKernel", &AboutInfoE1::linuxKernel},
                      RecordField{"firmware", &AboutInfoE1::firmware},
                      RecordField{"webInterface", &AboutInfoE1::webInterface}};
}

constexpr auto recordFields(const SignalInfo*)
{
    return std::tuple{RecordField{"snrPercent", &SignalInfo::snrPercent},
                      RecordField{"agcPercent", &SignalInfo::agcPercent},
                      RecordField{"ber", &SignalInfo::ber},
                      RecordField{"snrText", &SignalInfo::snrText, &StatusData::snrText},
                      RecordField{"snrDbText", &SignalInfo::snrDbText, &StatusData::snrDbText},
                      RecordField{"agcText", &SignalInfo::agcText, &StatusData::agcText},
                      RecordField{"berText", &SignalInfo::berText, &StatusData::berText}};
}

constexpr auto recordFields(const SatfinderData*)
{
    return std::tuple{RecordField{"snr", &SatfinderData::snr}, RecordField{"agc", &SatfinderData::agc},
                      RecordField{"ber", &SatfinderData::ber}, RecordField{"lock", &SatfinderData::lock},
                      RecordField{"sync", &SatfinderData::sync}};
}

// The status page's mode is not a field of the same kind; it is copied on its own.
constexpr auto recordFields(const StatusInfoE1*)
{
    return std::tuple{
        RecordField{"currentTime", &StatusInfoE1::currentTime, &StatusData::currentTime},
        RecordField{"standby", &StatusInfoE1::standby, &StatusData::standby},
        RecordField{"recording", &StatusInfoE1::recording, &StatusData::recording},
        RecordField{"serviceReference", &StatusInfoE1::serviceReference, &StatusData::serviceReference},
        RecordField{"serviceName", &StatusInfoE1::serviceName, &StatusData::serviceName},
        RecordField{"provider", &StatusInfoE1::provider, &StatusData::provider},
        RecordField{"videoFormat", &StatusInfoE1::videoFormat, &StatusData::videoFormat}};
}

constexpr auto recordFields(const DeviceData*)
{
    return std::tuple{RecordField{"nowSt", &DeviceData::nowSt, &StatusData::nowSt},
                      RecordField{"nowD", &DeviceData::nowD, &StatusData::nowD},
                      RecordField{"diskGB", &DeviceData::diskGB, &StatusData::diskGB},
                      RecordField{"diskH", &DeviceData::diskH, &StatusData::diskH},
                      RecordField{"upTime", &DeviceData::upTime, &StatusData::upTime},
                      RecordField{"volume", &DeviceData::volume, &StatusData::volume},
                      RecordField{"mute", &DeviceData::mute, &StatusData::mute},
                      RecordField{"videoTime", &DeviceData::videoTime, &StatusData::videoTime},
                      RecordField{"videoPosition", &DeviceData::videoPosition, &StatusData::videoPosition},
                      RecordField{"videoActive", &DeviceData::videoActive},
                      RecordField{"agc", &DeviceData::agc, &StatusData::agcText},
                      RecordField{"snr", &DeviceData::snr, &StatusData::snrText},
                      RecordField{"ber", &DeviceData::ber, &StatusData::berText}};
}

// The list goes with the service; it is not a field of this kind.
constexpr auto recordFields(const CurrentServiceE2*)
{
    return std::tuple{
        RecordField{"serviceReference", &CurrentServiceE2::serviceReference, &StatusData::serviceReference},
        RecordField{"serviceName", &CurrentServiceE2::serviceName, &StatusData::serviceName},
        RecordField{"providerName", &CurrentServiceE2::providerName, &StatusData::provider},
        RecordField{"videoSize", &CurrentServiceE2::videoSize, &StatusData::videoFormat},
        RecordField{"videoWidth", &CurrentServiceE2::videoWidth, &StatusData::videoWidth},
        RecordField{"videoHeight", &CurrentServiceE2::videoHeight, &StatusData::videoHeight}};
}

constexpr auto recordFields(const StatusData*)
{
    return std::tuple{RecordField{"agcText", &StatusData::agcText},
                      RecordField{"snrText", &StatusData::snrText},
                      RecordField{"berText", &StatusData::berText},
                      RecordField{"volume", &StatusData::volume},
                      RecordField{"mute", &StatusData::mute},
                      RecordField{"standby", &StatusData::standby},
                      RecordField{"serviceReference", &StatusData::serviceReference},
                      RecordField{"serviceName", &StatusData::serviceName},
                      RecordField{"provider", &StatusData::provider},
                      RecordField{"videoFormat", &StatusData::videoFormat},
                      RecordField{"currentTime", &StatusData::currentTime},
                      RecordField{"mode", &StatusData::mode},
                      RecordField{"videoPosition", &StatusData::videoPosition},
                      RecordField{"recording", &StatusData::recording},
                      RecordField{"nowSt", &StatusData::nowSt},
                      RecordField{"nowD", &StatusData::nowD},
                      RecordField{"diskGB", &StatusData::diskGB},
                      RecordField{"diskH", &StatusData::diskH},
                      RecordField{"upTime", &StatusData::upTime},
                      RecordField{"videoTime", &StatusData::videoTime},
                      RecordField{"enigmaVersion", &StatusData::enigmaVersion},
                      RecordField{"imageVersion", &StatusData::imageVersion},
                      RecordField{"webifVersion", &StatusData::webifVersion},
                      RecordField{"fpVersion", &StatusData::fpVersion},
                      RecordField{"model", &StatusData::model},
                      RecordField{"lanMac", &StatusData::lanMac},
                      RecordField{"lanDhcp", &StatusData::lanDhcp},
                      RecordField{"lanIp", &StatusData::lanIp},
                      RecordField{"lanMask", &StatusData::lanMask},
                      RecordField{"lanGateway", &StatusData::lanGateway},
                      RecordField{"hddModel", &StatusData::hddModel},
                      RecordField{"hddCapacity", &StatusData::hddCapacity},
                      RecordField{"hddFree", &StatusData::hddFree},
                      RecordField{"tunerName", &StatusData::tunerName},
                      RecordField{"tunerType", &StatusData::tunerType},
                      RecordField{"videoWidth", &StatusData::videoWidth},
                      RecordField{"videoHeight", &StatusData::videoHeight},
                      RecordField{"snrDbText", &StatusData::snrDbText}};
}

// Calls visit(field) for every field of the record's list, in its order.
template<typename Record, typename Visit>
void forEachField(Visit&& visit)
{
    std::apply([&visit](const auto&... field) { (visit(field), ...); },
               recordFields(static_cast<const Record*>(nullptr)));
}

// Copies every field of the list from one record to another of its type.
template<typename Record>
void copyFields(const Record& from, Record& to)
{
    forEachField<Record>([&](const auto& field) { to.*field.member = from.*field.member; });
}

// Copies the fields that the aggregate status repeats into it.
template<typename Record>
void copyIntoStatus(const Record& from, StatusData& status)
{
    forEachField<Record>([&](const auto& field) {
        if constexpr (!std::is_null_pointer_v<std::remove_cvref_t<decltype(field.status)>>)
            status.*field.status = from.*field.member;
    });
}
