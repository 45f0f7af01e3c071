#pragma once

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
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (lines.at(i).contains(text))
                return i;
        }
        return qsizetype(-1);
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
