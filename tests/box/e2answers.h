#pragma once

#include "box/e2readers.h"
#include "model/bouquet.h"
#include "model/channel.h"
#include "model/currentservice.h"
#include "model/epgitem.h"
#include "model/records.h"
#include "tests/common/testdata.h"

#include <QString>
#include <QStringList>
#include <QtTest>

// An answer from tests/data/e2, decoded as the engine decodes reply bodies.
inline QString e2Answer(const QString& fileName)
{
    return testData(QStringLiteral("e2/") + fileName);
}

// A complete answer around the given elements, as receivers frame them.
inline QString e2Document(QLatin1StringView root, const QString& body)
{
    return u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<" + root + u">\n" + body + u"\n</" + root + u">\n";
}

// An event of a list that began at 20:15 sample time and runs 90 minutes.
inline QString e2TimedEvent(const QString& title)
{
    return u"<e2event><e2eventid>1</e2eventid><e2eventstart>1710443700</e2eventstart>"
           u"<e2eventduration>5400</e2eventduration><e2eventtitle>" +
           title + u"</e2eventtitle></e2event>";
}

// A record's fields in one line, "|" between them, so that a sample's record compares at once
// and a failure shows every field side by side. The long extended descriptions are left out.
inline QString fields(const EpgItem& e)
{
    const auto n = [](auto value) { return QString::number(value); };
    return QStringList{e.eventId,     n(e.start),    n(e.duration),   n(e.end),      e.startDate,
                       e.startTime,   e.currentTime, e.title,         e.description, e.serviceReference,
                       e.serviceName, n(e.progress), n(e.minutesLeft)}
        .join(u'|');
}

inline QString fields(const TimerEntry& t)
{
    const auto n = [](auto value) { return QString::number(value); };
    return QStringList{t.serviceReference, t.serviceName, t.eit,          t.name,     t.description,
                       t.disabled,         n(t.begin),    n(t.end),       t.dateText, t.beginTimeText,
                       t.endTimeText,      n(t.duration), t.startPrepare, t.justPlay, t.afterEvent,
                       t.location,         t.state,       n(t.cancelled)}
        .join(u'|');
}

inline QString fields(const MovieEntry& m)
{
    return QStringList{m.title,  m.serviceReference, m.description, m.serviceName, QString::number(m.time),
                       m.length, m.fileName,         m.fileSizeText}
        .join(u'|');
}

inline QString bouquetsSeen(const OwnedList<Bouquet>& bouquets)
{
    QStringList seen;
    for (const auto& bouquet : bouquets) {
        QStringList channels;
        for (const Channel* channel : bouquet->channels)
            channels << channel->name;
        seen << bouquet->name + u'/' + channels.join(u',');
    }
    return seen.join(u'|');
}

// What the reader of one kind of answer ("power", "signal", ...) made of the text, as "read|outputs". The
// outputs start from values no answer holds, so that what a refused answer leaves behind shows.
inline QString readAs(const QString& kind, const QString& text)
{
    using namespace Qt::StringLiterals;
    const auto n = [](auto value) { return QString::number(value); };
    QStringList seen;
    if (kind == u"power") {
        seen << n(parseE2PowerState(text));
    } else if (kind == u"about") {
        AboutInfo about;
        about.model = u"left over"_s;
        seen << n(parseE2About(text, about)) << about.model << n(about.lanDhcp) << about.hddFree;
    } else if (kind == u"time") {
        QString time = u"left over"_s;
        seen << n(parseE2CurrentTime(text, time)) << time;
    } else if (kind == u"signal") {
        SignalInfo signal;
        signal = {7, 7, 7, u"left over"_s, u"left over"_s, u"left over"_s, u"left over"_s};
        seen << n(parseE2Signal(text, signal)) << n(signal.snrPercent) << n(signal.ber)
             << n(signal.agcPercent) << signal.snrText;
    } else if (kind == u"volume") {
        int level = -7;
        bool muted = false;
        seen << n(parseE2Volume(text, muted, level)) << n(level) << n(muted);
    } else if (kind == u"message answer") {
        MessageAnswer answer = MessageAnswer(-1);
        seen << n(parseE2MessageAnswer(text, answer)) << n(int(answer));
    } else if (kind == u"movie delete") {
        seen << n(parseE2MovieDeleteResult(text));
    } else if (kind == u"timer command") {
        seen << n(parseE2TimerCommandResult(text)) << n(containsSuccessWord(text));
    } else if (kind == u"current service") {
        CurrentServiceE2 service;
        service.serviceName = u"left over"_s;
        seen << n(parseE2CurrentService(text, service, sampleClock())) << service.serviceReference
             << service.serviceName << n(service.events.size());
    } else if (kind == u"services") {
        OwnedList<Bouquet> bouquets;
        seen << n(parseE2Services(text, bouquets)) << bouquetsSeen(bouquets);
    } else if (kind == u"bouquet EPG" || kind == u"events") {
        OwnedList<EpgItem> events;
        events.push_back(std::make_unique<EpgItem>());
        seen << n(kind == u"events" ? parseE2EventList(text, events, sampleClock())
                                    : parseE2BouquetEpg(text, u"bq"_s, events, sampleClock()));
        for (const auto& e : events) {
            if (kind == u"events")
                seen << e->title << e->serviceReference;
            else
                seen << n(e->start) << n(e->duration) << n(e->end);
        }
    } else if (kind == u"timers") {
        OwnedList<TimerEntry> timers;
        timers.push_back(std::make_unique<TimerEntry>());
        seen << n(parseE2TimerList(text, timers, sampleClock()));
        for (const auto& t : timers)
            seen << n(t->duration) << n(t->cancelled) << t->dateText << t->beginTimeText << t->endTimeText;
    } else if (kind == u"bouquet EPG texts") {
        OwnedList<EpgItem> events;
        seen << n(parseE2BouquetEpg(text, u"bq"_s, events, sampleClock()));
        for (const auto& e : events)
            seen << e->title << e->description << e->serviceName;
    } else if (kind == u"current service in full") {
        CurrentServiceE2 service;
        seen << n(parseE2CurrentService(text, service, sampleClock())) << service.serviceReference
             << service.serviceName << service.providerName << service.videoWidth << service.videoHeight
             << service.videoSize;
        for (const auto& event : service.events)
            seen << fields(*event) << event->descriptionExtended;
    } else if (kind == u"timers in full") {
        OwnedList<TimerEntry> timers;
        seen << n(parseE2TimerList(text, timers, sampleClock()));
        for (const auto& timer : timers)
            seen << fields(*timer);
    } else if (kind == u"movies in full") {
        OwnedList<MovieEntry> movies;
        seen << n(parseE2MovieList(text, movies));
        for (const auto& m : movies)
            seen << m->title << n(m->time) << m->length << m->fileSizeText;
    } else if (kind == u"movies") {
        OwnedList<MovieEntry> movies;
        movies.push_back(std::make_unique<MovieEntry>());
        seen << n(parseE2MovieList(text, movies));
        for (const auto& movie : movies)
            seen << movie->fileSizeText;
    }
    return seen.join(u'|');
}
