#pragma once

#include "model/clock.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include <optional>

// The bytes of a file under tests/data ("e2/e2-about.xml"); nothing when it cannot be read.
inline std::optional<QByteArray> testDataBytes(const QString& path)
{
    QFile file(QStringLiteral(TAVREL_TEST_DATA_DIR "/") + path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

// A file under tests/data, decoded as the engine decodes reply bodies.
inline QString testData(const QString& path)
{
    const std::optional<QByteArray> bytes = testDataBytes(path);
    if (!bytes)
        qWarning("missing test data %s", qPrintable(path));
    return QString::fromUtf8(bytes.value_or(QByteArray()));
}

// The file names in a folder of tests/data that match the pattern ("broken-*"), sorted.
inline QStringList testDataNames(const QString& folder, const QString& pattern = QStringLiteral("*"))
{
    return QDir(QStringLiteral(TAVREL_TEST_DATA_DIR "/") + folder)
        .entryList({pattern}, QDir::Files, QDir::Name);
}

// The receivers answered the samples in the central European zone, at this moment.
constexpr qint64 sampleNow = 1710443862; // Thu Mar 14 2024, 20:17:42 local
constexpr int sampleUtcOffset = 3600;

inline const ManualClock& sampleClock()
{
    static const ManualClock clock(sampleNow, sampleUtcOffset);
    return clock;
}
