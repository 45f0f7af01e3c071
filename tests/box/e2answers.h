#pragma once

#include "tests/common/testdata.h"

#include <QString>
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
