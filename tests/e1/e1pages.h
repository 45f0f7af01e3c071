#pragma once

#include "box/e1parsers.h"
#include "model/bouquet.h"
#include "model/channel.h"
#include "model/epgitem.h"
#include "model/records.h"
#include "tests/common/testdata.h"

#include <QRandomGenerator>
#include <QString>
#include <QStringList>
#include <QtTest>

// A page from tests/data/e1, decoded as the engine decodes reply bodies.
inline QString e1Page(const QString& fileName)
{
    return testData(QStringLiteral("e1/") + fileName);
}

// The file names in tests/data/e1 that match the pattern ("e1-*", "broken-*").
inline QStringList e1PageNames(const QString& pattern)
{
    return testDataNames(QStringLiteral("e1"), pattern);
}

// The page with every occurrence of the text removed.
inline QString without(QString page, const QString& text)
{
    return page.remove(text);
}

// The page with the first line that holds `moved` taken out and put back after the first line that
// holds `after`.
inline QString withLineMoved(const QString& page, const QString& moved, const QString& after)
{
    QStringList lines = page.split(u'\n');
    const auto lineWith = [&lines](const QString& text) {
        return lines.indexOf(QRegularExpression(u".*" + QRegularExpression::escape(text) + u".*"));
    };
    const qsizetype from = lineWith(moved);
    if (from < 0)
        return page;
    const QString line = lines.takeAt(from);
    const qsizetype to = lineWith(after);
    if (to < 0)
        return page;
    lines.insert(to + 1, line);
    return lines.join(u'\n');
}

// Two megabytes of bytes of every value, read as the engine reads a body that is not UTF-8.
inline QString noisePage()
{
    constexpr qsizetype size = 2 * 1024 * 1024;
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator random(20240314);
    for (char& byte : bytes)
        byte = char(random.bounded(256));
    return QString::fromLatin1(bytes);
}

// Two megabytes of the receiver's own page lines in random order: every marker is there, but
// scattered and out of place.
inline QString shuffledPages()
{
    QStringList lines;
    for (const QString& name : e1PageNames(QStringLiteral("e1-*")))
        lines += e1Page(name).split(u'\n');
    QRandomGenerator random(1970);
    QString page;
    while (page.size() < 2 * 1024 * 1024)
        page += lines.at(random.bounded(lines.size())) + u'\n';
    return page;
}

// A reader's outcome: "refused" when it gave false and left its output empty (every text empty,
// every number 0, no entries), as it must, so that nothing of the page can look read.
inline QStringList outcome(bool read, const QStringList& seen, bool empty)
{
    if (read)
        return seen;
    return empty ? QStringList{QStringLiteral("refused")}
                 : QStringList{QStringLiteral("refused, but left")} + seen;
}

// A record's fields as one "name=value; ..." line (names: "time,mode").
inline QStringList record(bool read, const char* names, const QStringList& values)
{
    QStringList line;
    bool empty = true;
    for (const QString& value : values) {
        line << QString::fromLatin1(names).section(u',', line.size(), line.size()) + u'=' + value;
        empty = empty && (value.isEmpty() || value == u"0");
    }
    return outcome(read, {line.join(u"; ")}, empty);
}

template<typename Item>
QStringList entries(bool read, const OwnedList<Item>& items, QString (*entry)(const Item&))
{
    QStringList seen;
    for (const auto& item : items)
        seen << entry(*item);
    return outcome(read, seen, items.empty());
}

// The bouquet the EPG pages are asked for.
inline const QString& e1Bouquet()
{
    static const QString reference =
        QStringLiteral("4097:7:0:33fc5:0:0:0:0:0:0:/var/tuxbox/config/enigma/userbouquet.33fc5.tv");
    return reference;
}

// What the reader of one kind of page ("status", "services", ...) made of it: the record's
// fields, or one entry a line. Every output starts from values no page holds.
inline QStringList readAs(QStringView kind, const QString& page)
{
    using namespace Qt::StringLiterals;
    const auto n = [](auto value) { return QString::number(value); };
    if (kind == u"status") {
        StatusInfoE1 s{u"old"_s, true, true, 3, u"old"_s, u"old"_s, u"old"_s, u"old"_s};
        const bool read = parseStatusPageE1(page, s);
        return record(read, "time,standby,recording,mode,reference,name,provider,format",
                      {s.currentTime, n(s.standby), n(s.recording), n(s.mode), s.serviceReference,
                       s.serviceName, s.provider, s.videoFormat});
    }
    if (kind == u"data") {
        DeviceData d;
        d.nowSt = d.videoTime = u"old"_s;
        d.volume = d.videoPosition = 9;
        const bool read = parseDataPageE1(page, d);
        return record(read,
                      "playing,position,mute,volume,event,play time,event time,disk,disk time,up,agc,snr,ber",
                      {n(d.videoActive), n(d.videoPosition), n(d.mute), n(d.volume), d.nowSt, d.videoTime,
                       d.nowD, d.diskGB, d.diskH, d.upTime, d.agc, d.snr, d.ber});
    }
    if (kind == u"satellite finder") {
        SatfinderData d{5, 5, 5, true, true};
        const bool read = parseSatfinderDataE1(page, d);
        return record(read, "snr,agc,ber,lock,sync", {n(d.snr), n(d.agc), n(d.ber), n(d.lock), n(d.sync)});
    }
    if (kind == u"satellite finder control") {
        SatfinderConfig c{4, 4, {u"old"_s}, {{u"old"_s}}, {{u"old"_s}}};
        const bool read = parseSatfinderConfigE1(page, c);
        return record(read, "satellite,transponder,satellites,transponder lists,reference lists",
                      {n(c.currentBouquet), n(c.currentChannel), n(c.satellites.size()),
                       n(c.channelNames.size()), n(c.channelRefs.size())});
    }
    if (kind == u"about") {
        AboutInfoE1 a;
        a.model = a.firmware = a.linuxKernel = u"old"_s;
        const bool read = parseAboutPageE1(page, a);
        return record(read, "model,firmware,kernel", {a.model, a.firmware, a.linuxKernel});
    }
    if (kind == u"timer command")
        return {u"success=" + n(answerIsSuccess(page))};
    if (kind == u"services") {
        OwnedList<Bouquet> bouquets;
        bouquets.push_back(std::make_unique<Bouquet>());
        const bool read = parseServiceListE1(page, bouquets);
        return entries<Bouquet>(read, bouquets, [](const Bouquet& bouquet) -> QString {
            QStringList channels;
            for (const Channel* channel : bouquet.channels)
                channels << channel->name;
            return bouquet.name + u'=' + bouquet.reference + u'/' + channels.join(u',');
        });
    }
    if (kind == u"movies") {
        OwnedList<MovieEntry> movies;
        movies.push_back(std::make_unique<MovieEntry>());
        const bool read = parseMovieListE1(page, movies);
        return entries<MovieEntry>(read, movies, [](const MovieEntry& movie) -> QString {
            return movie.title + u'=' + movie.serviceReference;
        });
    }
    if (kind == u"timers" || kind == u"timer times") {
        OwnedList<TimerEntry> timers;
        timers.push_back(std::make_unique<TimerEntry>());
        const bool read = parseTimerListE1(page, timers, sampleClock());
        if (kind == u"timers")
            return entries<TimerEntry>(read, timers,
                                       [](const TimerEntry& timer) { return timer.serviceName; });
        return entries<TimerEntry>(read, timers, [](const TimerEntry& t) {
            return QStringList({QString::number(t.duration), QString::number(t.begin), QString::number(t.end),
                                t.endTimeText})
                .join(u'|');
        });
    }
    if (kind == u"current EPG" || kind == u"multi-EPG") {
        OwnedList<EpgItem> events;
        events.push_back(std::make_unique<EpgItem>());
        const bool read = kind == u"current EPG" ? parseCurrentEpgE1(page, e1Bouquet(), events, sampleClock())
                                                 : parseMultiEpgE1(page, e1Bouquet(), events, sampleClock());
        return entries<EpgItem>(read, events, [](const EpgItem& e) {
            return QStringList({e.serviceName, e.serviceReference, QString::number(e.start),
                                QString::number(e.duration), e.title, e.descriptionExtended})
                .join(u'|');
        });
    }
    qWarning("no reader of the kind %s", qPrintable(kind.toString()));
    return {};
}
