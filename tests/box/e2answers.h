#pragma once

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
