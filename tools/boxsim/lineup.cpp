#include "tools/boxsim/lineup.h"

#include "tools/boxsim/simrandom.h"
#include "tools/boxsim/textutil.h"

namespace boxsim {

namespace {

struct ServiceRow
{
    const char16_t* name;   // Enigma2 name
    const char16_t* e1Name; // Enigma1 name (nullptr: same)
    const char* provider;
    int type;
    int sid;
    int tsid;
    int onid;
    int ns;
    int orbital;
    ServiceKind kind;
    bool hasEpg;
    Language language;
    bool enigma1Only;
};

struct BouquetRow
{
    const char16_t* name;
    const char* e2File;
    int e1Id;
};

constexpr ServiceRow favourites[] = {
    {u"Das Erste HD", u"Das Erste", "ARD", 0x19, 0x283D, 0x3FB, 1, 0xC00000, 192, ServiceKind::Normal, true,
     Language::German, false},
    {u"ZDF HD", u"ZDF", "ZDFvision", 0x19, 0x2B66, 0x3F3, 1, 0xC00000, 192, ServiceKind::Normal, true,
     Language::German, false},
    {u"arte HD", u"arte", "ARD", 0x19, 0x2B7A, 0x3FB, 1, 0xC00000, 192, ServiceKind::Normal, false,
     Language::German, false},
    {u"--- Privat ---", nullptr, "", 0, 0, 0, 0, 0, 0, ServiceKind::Marker, false, Language::German, false},
    {u"ProSieben", nullptr, "ProSiebenSat.1", 1, 0x445D, 0x453, 1, 0xC00000, 192, ServiceKind::Normal, true,
     Language::German, false},
    {u"RTL Television", nullptr, "RTL World", 1, 0x2EE3, 0x441, 1, 0xC00000, 192, ServiceKind::Normal, true,
     Language::German, false},
    {u"Bayerisches Fernsehen Süd HD", u"Bayerisches Fernsehen Süd", "ARD", 0x19, 0x6F5B, 0x44D, 1, 0xC00000,
     192, ServiceKind::Normal, true, Language::German, false},
    {u"BBC One HD", nullptr, "BBC", 0x19, 0x1B1D, 0x802, 2, 0x11A0000, 282, ServiceKind::Normal, true,
     Language::English, false},
    {u"ΕΡΤ World", u"ΕΡΤ SAT", "ERT", 1, 0x3CF1, 0x3A98, 0x13E, 0x820000, 130, ServiceKind::Normal, true,
     Language::Greek, false},
    {u"الجزيرة", nullptr, "Al Jazeera", 1, 0x3B2F, 0x2EE0, 0x13E, 0x820000, 130, ServiceKind::Normal, true,
     Language::Arabic, false},
};

constexpr ServiceRow documentaries[] = {
    {u"A&E HD", u"A&E", "A&E Networks", 0x19, 0x6F0E, 0x431, 1, 0xC00000, 192, ServiceKind::Normal, true,
     Language::English, false},
    {u"National Geographic HD", u"National Geographic", "Fox International", 0x19, 0x6F12, 0x431, 1, 0xC00000,
     192, ServiceKind::Normal, true, Language::English, false},
    {u"n-tv", nullptr, "CBC", 1, 0x6D6A, 0x437, 1, 0xC00000, 192, ServiceKind::Normal, true, Language::German,
     false},
    {u"Mein 3sat", nullptr, "ZDFvision", 1, 0x6D67, 0x437, 1, 0xC00000, 192, ServiceKind::Renamed, true,
     Language::German, false},
    {u"unnamed service", nullptr, "unnamed provider", 1, 0x1FA4, 0x4B1, 1, 0xC00000, 192, ServiceKind::Lost,
     false, Language::German, true},
};

constexpr ServiceRow lastScanned[] = {
    {u"n-tv", nullptr, "CBC", 1, 0x6D6A, 0x437, 1, 0xC00000, 192, ServiceKind::Normal, true, Language::German,
     false},
    {u"Eurosport 1", nullptr, "Eurosport", 1, 0x7D4, 0x3FB, 1, 0xC00000, 192, ServiceKind::Normal, true,
     Language::English, false},
    {u"Österreich Eins", nullptr, "ORF", 1, 0x33F1, 0x3F2, 1, 0xC00000, 192, ServiceKind::Normal, true,
     Language::German, false},
};

QString hexNumber(qint64 value, bool upper)
{
    QString s = QString::number(value, 16);
    return upper ? s.toUpper() : s;
}

QString serviceReference(Personality personality, const ServiceRow& row)
{
    const bool e2 = personality == Personality::Enigma2;
    if (row.kind == ServiceKind::Marker)
        return QStringLiteral("1:64:1:0:0:0:0:0:0:0::") + QString::fromUtf16(row.name);
    return QStringLiteral("1:0:") + hexNumber(e2 ? row.type : 1, e2) + u':' + hexNumber(row.sid, e2) + u':' +
           hexNumber(row.tsid, e2) + u':' + hexNumber(row.onid, e2) + u':' + hexNumber(row.ns, e2) +
           QStringLiteral(":0:0:0:");
}

QString bouquetReference(Personality personality, const QString& e2File, int e1Id)
{
    if (personality == Personality::Enigma2)
        return QStringLiteral("1:7:1:0:0:0:0:0:0:0:FROM BOUQUET \"userbouquet.") + e2File +
               QStringLiteral(".tv\" ORDER BY bouquet");
    const QString id = QString::number(e1Id, 16);
    return QStringLiteral("4097:7:0:") + id +
           QStringLiteral(":0:0:0:0:0:0:/var/tuxbox/config/enigma/userbouquet.") + id + QStringLiteral(".tv");
}

template<qsizetype N>
QList<LineUpService> makeServices(Personality personality, const ServiceRow (&rows)[N])
{
    QList<LineUpService> services;
    for (const ServiceRow& row : rows) {
        const bool e2 = personality == Personality::Enigma2;
        if (e2 && row.enigma1Only)
            continue;
        if (!e2 && row.kind == ServiceKind::Marker)
            continue; // the Enigma1 listing has no markers
        LineUpService s;
        s.reference = serviceReference(personality, row);
        s.name = QString::fromUtf16((!e2 && row.e1Name) ? row.e1Name : row.name);
        s.provider = QString::fromUtf8(row.provider);
        s.orbitalPosition = row.orbital;
        s.kind = row.kind;
        s.hasEpg = row.hasEpg;
        s.language = row.language;
        services.append(s);
    }
    return services;
}

} // namespace

quint64 referenceKey(const QString& reference)
{
    quint64 h = 0xcbf29ce484222325ULL;
    for (const QChar c : reference) {
        h ^= c.unicode();
        h *= 0x100000001b3ULL;
    }
    return h;
}

LineUp LineUp::makeDefault(Personality personality)
{
    LineUp lineUp;
    const BouquetRow rows[] = {
        {u"Favourites (TV)", "favourites", 0x33fc5},
        {u"Doku & Serien", "dbe01", 0x33fc6},
        {u"Neu", "dbe02", 0x33fc7},
        {u"Last Scanned", "LastScanned", 0x33fc8},
    };
    for (const BouquetRow& row : rows) {
        LineUpBouquet b;
        b.name = QString::fromUtf16(row.name);
        b.reference = bouquetReference(personality, QString::fromLatin1(row.e2File), row.e1Id);
        lineUp.m_bouquets.append(b);
    }
    lineUp.m_bouquets[0].services = makeServices(personality, favourites);
    lineUp.m_bouquets[1].services = makeServices(personality, documentaries);
    lineUp.m_bouquets[3].services = makeServices(personality, lastScanned);
    lineUp.buildIndex();
    return lineUp;
}

LineUp LineUp::makeGenerated(Personality personality, int bouquets, int servicesPerBouquet, quint64 seed)
{
    static const char16_t* const themes[] = {u"Favoriten", u"Sport & Spiel", u"Nachrichten", u"Kinder",
                                             u"Musik",     u"Dokus",         u"Ελληνικά",    u"عربي",
                                             u"Filme",     u"Regional",      u"Über alles",  u"Serien"};
    static const char16_t* const heads[] = {u"Kanal",  u"Sport", u"Welt",   u"Kino", u"Musik", u"Info",
                                            u"Heimat", u"Reise", u"Wissen", u"Tele", u"Rhein", u"Alpen"};
    static const char16_t* const tails[] = {u"Eins", u"Zwei", u"Plus", u"Süd",  u"Nord",    u"Ost",
                                            u"West", u"& Co", u"Max",  u"Gold", u"Klassik", u"Live"};
    static const char16_t* const greek[] = {u"Κανάλι", u"Ελλάδα", u"Αθήνα", u"Ειδήσεις"};
    static const char16_t* const arabic[] = {u"قناة", u"أخبار", u"رياضة", u"دراما"};
    static const char* const providers[] = {"ARD", "ZDFvision", "BetaDigital", "Sky",
                                            "ERT", "Nilesat",   "ORF"};
    constexpr auto count = [](const auto& array) { return int(std::size(array)); };

    const bool e2 = personality == Personality::Enigma2;
    LineUp lineUp;
    SimRandom random(mix64(seed, 0x6c696e65ULL));
    for (int b = 0; b < bouquets; ++b) {
        LineUpBouquet bouquet;
        bouquet.name =
            QString::fromUtf16(themes[(b + int(seed % 7)) % count(themes)]) + u' ' + QString::number(b + 1);
        bouquet.reference = bouquetReference(
            personality, QStringLiteral("gen%1").arg(b + 1, 4, 10, QLatin1Char('0')), 0x40000 + b);
        bouquet.services.reserve(servicesPerBouquet);
        for (int s = 0; s < servicesPerBouquet; ++s) {
            const qint64 g = qint64(b) * servicesPerBouquet + s;
            ServiceRow row{};
            row.type = (random.bounded(3) == 0) ? 0x19 : 1;
            row.sid = int(g % 60000) + 1;
            row.tsid = 0x400 + int(g / 60000);
            row.onid = 1;
            row.ns = 0xC00000;
            row.kind = ServiceKind::Normal;
            LineUpService service;
            service.reference = serviceReference(personality, row);
            const int flavour = random.bounded(20);
            if (flavour == 0) {
                service.language = Language::Greek;
                service.name =
                    QString::fromUtf16(greek[random.bounded(count(greek))]) + u' ' + QString::number(g + 1);
                service.orbitalPosition = 130;
            } else if (flavour == 1) {
                service.language = Language::Arabic;
                service.name =
                    QString::fromUtf16(arabic[random.bounded(count(arabic))]) + u' ' + QString::number(g + 1);
                service.orbitalPosition = 70;
            } else {
                service.language = flavour < 6 ? Language::English : Language::German;
                service.name = QString::fromUtf16(heads[random.bounded(count(heads))]) + u' ' +
                               QString::fromUtf16(tails[random.bounded(count(tails))]) +
                               ((flavour % 4 == 0 && e2) ? QStringLiteral(" HD") : QString()) + u' ' +
                               QString::number(g + 1);
            }
            service.provider = QString::fromLatin1(providers[random.bounded(count(providers))]);
            service.hasEpg = random.bounded(10) != 0;
            bouquet.services.append(service);
        }
        lineUp.m_bouquets.append(bouquet);
    }
    lineUp.buildIndex();
    return lineUp;
}

void LineUp::buildIndex()
{
    m_serviceIndex.clear();
    m_bouquetIndex.clear();
    m_serviceCount = 0;
    for (int b = 0; b < m_bouquets.size(); ++b) {
        LineUpBouquet& bouquet = m_bouquets[b];
        bouquet.xmlReference = text::xml(bouquet.reference);
        bouquet.xmlName = text::xml(bouquet.name);
        m_bouquetIndex.insert(bouquet.reference, b);
        for (int s = 0; s < bouquet.services.size(); ++s) {
            LineUpService& service = bouquet.services[s];
            service.key = referenceKey(service.reference);
            service.xmlReference = text::xml(service.reference);
            service.xmlName = text::xml(service.name);
            if (!m_serviceIndex.contains(service.reference))
                m_serviceIndex.insert(service.reference, {b, s});
            ++m_serviceCount;
        }
    }
}

const LineUpBouquet* LineUp::bouquet(const QString& reference) const
{
    const auto it = m_bouquetIndex.constFind(reference);
    return it == m_bouquetIndex.cend() ? nullptr : &m_bouquets.at(*it);
}

const LineUpService* LineUp::service(const QString& reference) const
{
    const auto it = m_serviceIndex.constFind(reference);
    return it == m_serviceIndex.cend() ? nullptr : &m_bouquets.at(it->first).services.at(it->second);
}

int LineUp::bouquetIndexOfService(const QString& reference) const
{
    const auto it = m_serviceIndex.constFind(reference);
    return it == m_serviceIndex.cend() ? -1 : it->first;
}

const LineUpService* LineUp::firstService() const
{
    for (const LineUpBouquet& bouquet : m_bouquets) {
        for (const LineUpService& service : bouquet.services) {
            if (!service.isMarker())
                return &service;
        }
    }
    return nullptr;
}

QList<Bouquet> LineUp::toPublic() const
{
    QList<Bouquet> result;
    result.reserve(m_bouquets.size());
    for (const LineUpBouquet& bouquet : m_bouquets) {
        Bouquet b{bouquet.reference, bouquet.name, {}};
        b.services.reserve(bouquet.services.size());
        for (const LineUpService& s : bouquet.services)
            b.services.append({s.reference, s.name, s.provider, s.orbitalPosition, s.isMarker(), s.hasEpg});
        result.append(b);
    }
    return result;
}

} // namespace boxsim
