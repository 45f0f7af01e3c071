#pragma once

#include <QFile>
#include <QString>
#include <QtTest>

// An answer from tests/data/e2, decoded as the engine decodes reply bodies.
inline QString e2Answer(const QString& fileName)
{
    QFile file(QStringLiteral(TAVREL_TEST_DATA_DIR "/e2/") + fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning("missing test answer %s", qPrintable(fileName));
        return {};
    }
    return QString::fromUtf8(file.readAll());
}

// A complete answer around the given elements, as receivers frame them.
inline QString e2Document(QLatin1StringView root, const QString& body)
{
    return u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<" + root + u">\n" + body + u"\n</" + root + u">\n";
}

// Receivers send their answers in the central European zone the samples were taken in.
constexpr qint64 sampleNow = 1710443862; // Thu Mar 14 2024, 20:17:42 local
constexpr int sampleUtcOffset = 3600;
