#pragma once

#include "tools/boxsim/boxtypes.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

namespace boxsim {

enum class Language : quint8
{
    German,
    English,
    Greek,
    Arabic
};

enum class ServiceKind : quint8
{
    Normal,
    Marker,  // a separator line in a bouquet; never has EPG
    Renamed, // Enigma1 lists it without provider
    Lost,    // Enigma1 lists it as "unnamed service;unnamed provider"
};

struct LineUpService
{
    QString reference;
    QString name;
    QString provider;
    int orbitalPosition = 192;
    ServiceKind kind = ServiceKind::Normal;
    bool hasEpg = true;
    Language language = Language::German;
    quint64 key = 0;         // stable per reference; seeds the service's EPG
    QByteArray xmlReference; // escaped UTF-8, ready for XML answers
    QByteArray xmlName;

    bool isMarker() const { return kind == ServiceKind::Marker; }
};

struct LineUpBouquet
{
    QString reference;
    QString name;
    QList<LineUpService> services;
    QByteArray xmlReference;
    QByteArray xmlName;
};

// The receiver's channel line-up: bouquets with their services, with lookups by reference.
// References follow the personality's style (Enigma2 upper-case hex, Enigma1 lower-case hex
// and its bouquet file paths).
class LineUp
{
public:
    // A hand-made line-up with umlauts, Greek and Arabic names, '&' in names, a marker (Enigma2)
    // and an empty bouquet.
    static LineUp makeDefault(Personality personality);
    // bouquets x servicesPerBouquet services, the same for the same seed.
    static LineUp makeGenerated(Personality personality, int bouquets, int servicesPerBouquet, quint64 seed);

    const QList<LineUpBouquet>& bouquets() const { return m_bouquets; }
    const LineUpBouquet* bouquet(const QString& reference) const;
    const LineUpService* service(const QString& reference) const;
    // Index of the first bouquet that holds the service, -1 when none does.
    int bouquetIndexOfService(const QString& reference) const;
    int serviceCount() const { return m_serviceCount; }
    // The first service that is not a marker, or nullptr for an empty line-up.
    const LineUpService* firstService() const;

    QList<Bouquet> toPublic() const;

private:
    void buildIndex();

    QList<LineUpBouquet> m_bouquets;
    QHash<QString, QPair<int, int>> m_serviceIndex;
    QHash<QString, int> m_bouquetIndex;
    int m_serviceCount = 0;
};

quint64 referenceKey(const QString& reference);

} // namespace boxsim
