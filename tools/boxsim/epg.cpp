#include "tools/boxsim/epg.h"

#include "tools/boxsim/simrandom.h"
#include "tools/boxsim/textutil.h"

#include <array>

namespace boxsim {

namespace {

struct ProgrammeRow
{
    const char16_t* title;
    const char16_t* description;
    const char16_t* extended;
    int genreId;
};

const char16_t* genreText(int id)
{
    switch (id) {
    case 16:
        return u"Drama and Films: movie/drama (general)";
    case 17:
        return u"Drama and Films: detective/thriller";
    case 21:
        return u"Drama and Films: soap/melodrama/folkloric";
    case 32:
        return u"News/Current Affairs/Social: news/current affairs (general)";
    case 34:
        return u"News/Current Affairs/Social: news magazine";
    case 49:
        return u"Show/Game Show/Leisure hobbies: show/game show (general)";
    case 51:
        return u"Show/Game Show/Leisure hobbies: talk show";
    case 64:
        return u"Sports: sports (general)";
    case 80:
        return u"Children/Youth: children's/youth programmes (general)";
    case 96:
        return u"Music/Ballet/Dance: music/ballet/dance (general)";
    case 144:
        return u"Education/Science/Factual: education/science/factual topics (general)";
    default:
        return u"";
    }
}

const char16_t* shortGenreText(int id)
{
    switch (id / 16) {
    case 1:
        return id == 17 ? u"Thriller" : (id == 21 ? u"Soap" : u"Movie");
    case 2:
        return id == 34 ? u"Magazine" : u"News";
    case 3:
        return id == 51 ? u"Talk" : u"Show";
    case 4:
        return u"Sports";
    case 5:
        return u"Children";
    case 6:
        return u"Music";
    case 9:
        return u"Documentary";
    default:
        return u"Other";
    }
}

// Pools per language, each non-empty. Texts carry what real EPG carries: umlauts, '&', '<',
// quotes and line breaks.
constexpr ProgrammeRow germanPool[] = {
    {u"Tagesschau", u"",
     u"Themen u. a.:\n* Bundestag beschließt Haushalt\n* Unwetter in Süddeutschland\n\nDas Wetter", 32},
    {u"Tatort: Schöne Bescherung", u"Fernsehfilm Deutschland 2023",
     u"Kommissarin Lürsen & Kommissar Stedefreund ermitteln: In der Nacht vor Heiligabend wird ein Paketbote "
     u"tot aufgefunden.\nDie Spur führt in ein Logistikzentrum am Bremer Hafen – und zu einem alten "
     u"\"Bekannten\"."
     u"\n\nRegie: Max Mustermann",
     17},
    {u"Tagesthemen", u"mit Wetter", u"Berichte, Analysen und Kommentare zum Tag.\nModeration: Ingo Zamperoni",
     34},
    {u"maischberger", u"Talk", u"Zu Gast: Politiker <Bundestag> & Journalisten im Gespräch.", 51},
    {u"Der Bergdoktor", u"Schatten der Vergangenheit",
     u"Martin Gruber kämpft um das Leben einer jungen Bergsteigerin.\nGastrolle: Hans Sigl", 21},
    {u"heute journal", u"", u"Nachrichten und Hintergründe.\nWetter", 32},
    {u"Wer wird Millionär?", u"Quizshow", u"Vier Kandidaten kämpfen um die Million.", 49},
    {u"Fußball: 2. Bundesliga", u"26. Spieltag", u"Live aus dem Stadion an der Alten Försterei.", 64},
    {u"Die Sendung mit der Maus", u"Lach- und Sachgeschichten", u"Heute: Wie kommt der Käse in die Löcher?",
     80},
    {u"Musikantenstadl", u"Unterhaltung", u"Volksmusik & Schlager aus Österreich.", 96},
    {u"Terra X: Faszination Erde", u"Dokumentation", u"Die Alpen – Gletscher, Gämsen & Geröll.", 144},
    {u"Gute Zeiten, schlechte Zeiten", u"Folge 7824", u"", 21},
    {u"Wetter vor acht", u"", u"", 32},
    {u"Spielfilm: Über den Dächern", u"Deutschland 2019", u"Ein Drama über drei Generationen.\n\nFSK 12", 16},
};

constexpr ProgrammeRow englishPool[] = {
    {u"BBC News at Six", u"", u"The latest national and international news.", 32},
    {u"The One Show", u"Magazine", u"Topical magazine programme with Alex Jones & Roman Kemp.", 34},
    {u"EastEnders", u"Episode 6891", u"Tensions rise at the Queen Vic.", 21},
    {u"Storage Wars & Co", u"Season 3, Episode 12", u"The bidders meet in California.\nDarren finds a safe.",
     49},
    {u"Planet Earth", u"Mountains", u"Life at the edge: snow leopards & ibex.", 144},
    {u"Premier League Highlights", u"", u"All the goals <and> all the drama.", 64},
    {u"The \"Great\" Escape", u"Film, 1963", u"Allied prisoners plan a mass escape.", 16},
    {u"Top of the Pops", u"", u"", 96},
};

constexpr ProgrammeRow greekPool[] = {
    {u"Ειδήσεις", u"Κεντρικό δελτίο ειδήσεων", u"Ενημέρωση για την Ελλάδα και τον κόσμο.", 32},
    {u"Καλημέρα Ελλάδα", u"Ενημερωτική εκπομπή", u"", 34},
    {u"Ελληνική ταινία", u"Κωμωδία", u"Μια οικογένεια & ένα νησί.", 16},
    {u"Αθλητικά", u"", u"Ποδόσφαιρο: αποτελέσματα της ημέρας.", 64},
    {u"Ντοκιμαντέρ", u"Η Κρήτη", u"Ταξίδι στην ιστορία του νησιού.", 144},
};

constexpr ProgrammeRow arabicPool[] = {
    {u"نشرة الأخبار", u"", u"أهم الأخبار العربية والعالمية", 32},
    {u"ما وراء الخبر", u"برنامج حواري", u"تحليل ونقاش", 51},
    {u"وثائقي", u"الصحراء", u"رحلة عبر الصحراء الكبرى", 144},
    {u"الرياضة", u"", u"ملخص المباريات", 64},
    {u"مسلسل", u"الحلقة 12", u"", 21},
};

struct Pools
{
    QList<Programme> programmes;
    std::array<int, 4> first{};
    std::array<int, 4> count{};
};

const Pools& pools()
{
    static const Pools instance = [] {
        Pools p;
        const auto add = [&p](Language language, const auto& rows) {
            const int index = int(language);
            p.first[index] = int(p.programmes.size());
            p.count[index] = int(std::size(rows));
            for (const ProgrammeRow& row : rows) {
                Programme programme;
                programme.title = QString::fromUtf16(row.title);
                programme.description = QString::fromUtf16(row.description);
                programme.descriptionExtended = QString::fromUtf16(row.extended);
                programme.genreId = row.genreId;
                programme.genre = QString::fromUtf16(genreText(row.genreId));
                programme.shortGenre = QString::fromUtf16(shortGenreText(row.genreId));
                programme.xmlTitle = text::xml(programme.title);
                programme.xmlDescription = text::xml(programme.description);
                programme.xmlDescriptionExtended = text::xml(programme.descriptionExtended);
                programme.xmlGenre = text::xml(programme.genre);
                p.programmes.append(programme);
            }
        };
        add(Language::German, germanPool);
        add(Language::English, englishPool);
        add(Language::Greek, greekPool);
        add(Language::Arabic, arabicPool);
        return p;
    }();
    return instance;
}

constexpr int durationsMinutes[] = {5, 15, 25, 30, 30, 45, 50, 60, 60, 90, 105, 120};
constexpr qint64 Day = 86400;
constexpr qint64 MaxCachedDays = 200000;

qint64 floorDiv(qint64 a, qint64 b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

} // namespace

EpgGenerator::EpgGenerator(quint64 seed)
    : m_seed(seed)
{}

void EpgGenerator::setSeed(quint64 seed)
{
    m_seed = seed;
    m_days.clear();
}

const Programme& EpgGenerator::programme(const EpgEvent& event)
{
    return pools().programmes.at(event.programme);
}

const Programme& EpgGenerator::programme(int index)
{
    return pools().programmes.at(index);
}

int EpgGenerator::programmeCount()
{
    return int(pools().programmes.size());
}

QList<EpgEvent> EpgGenerator::day(const LineUpService& service, qint64 dayNumber) const
{
    if (!service.hasEpg || service.isMarker())
        return {};
    const QPair<quint64, qint64> key{service.key, dayNumber};
    const auto it = m_days.constFind(key);
    if (it != m_days.cend())
        return *it;
    if (m_days.size() > MaxCachedDays)
        m_days.clear();

    const Pools& p = pools();
    const int language = int(service.language);
    SimRandom random(mix64(mix64(m_seed, service.key), quint64(dayNumber)));
    QList<EpgEvent> events;
    events.reserve(40);
    const qint64 dayStart = dayNumber * Day;
    qint64 start = dayStart;
    int index = 0;
    while (start < dayStart + Day) {
        EpgEvent event;
        event.start = start;
        event.duration = durationsMinutes[random.bounded(int(std::size(durationsMinutes)))] * 60;
        if (event.start + event.duration > dayStart + Day)
            event.duration = int(dayStart + Day - event.start);
        // Event ids are 16-bit on the receiver; unique per service within the EPG window.
        event.id = 1 + int((quint64(dayNumber) * 300 + quint64(index)) % 65000);
        event.programme = p.first[language] + random.bounded(p.count[language]);
        events.append(event);
        start = event.end();
        ++index;
    }
    m_days.insert(key, events);
    return events;
}

QList<EpgEvent> EpgGenerator::events(const LineUpService& service, qint64 from, qint64 to) const
{
    QList<EpgEvent> result;
    if (!service.hasEpg || service.isMarker() || to <= from)
        return result;
    for (qint64 d = floorDiv(from, Day); d * Day < to; ++d) {
        const QList<EpgEvent> events = day(service, d);
        for (const EpgEvent& event : events) {
            if (event.end() > from && event.start < to)
                result.append(event);
        }
    }
    return result;
}

std::optional<EpgEvent> EpgGenerator::at(const LineUpService& service, qint64 t) const
{
    const QList<EpgEvent> events = day(service, floorDiv(t, Day));
    for (const EpgEvent& event : events) {
        if (event.start <= t && t < event.end())
            return event;
    }
    return std::nullopt;
}

std::optional<EpgEvent> EpgGenerator::after(const LineUpService& service, qint64 t) const
{
    const std::optional<EpgEvent> current = at(service, t);
    if (!current)
        return std::nullopt;
    return at(service, current->end());
}

std::optional<EpgEvent> EpgGenerator::byId(const LineUpService& service, int id, qint64 from, qint64 to) const
{
    const QList<EpgEvent> events = this->events(service, from, to);
    for (const EpgEvent& event : events) {
        if (event.id == id)
            return event;
    }
    return std::nullopt;
}

Event EpgGenerator::toPublic(const EpgEvent& event, const LineUpService& service) const
{
    const Programme& p = programme(event);
    Event e;
    e.id = event.id;
    e.start = event.start;
    e.duration = event.duration;
    e.title = p.title;
    e.description = p.description;
    e.descriptionExtended = p.descriptionExtended;
    e.genreId = p.genreId;
    e.genre = p.genre;
    e.serviceReference = service.reference;
    e.serviceName = service.name;
    return e;
}

} // namespace boxsim
