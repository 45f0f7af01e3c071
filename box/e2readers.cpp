#include "box/e2readers.h"

#include "box/e2replyreader.h"
#include "box/e2text.h"
#include "box/localtimetexts.h"
#include "model/bouquet.h"
#include "model/channel.h"
#include "model/currentservice.h"
#include "model/epgitem.h"
#include "model/records.h"

#include <QString>

#include <algorithm>
#include <array>
#include <limits>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// Rough size of one listed entry in an answer, to size the lists before reading.
constexpr qsizetype bytesPerEvent = 700;
constexpr qsizetype bytesPerTimer = 1200;
constexpr qsizetype bytesPerMovie = 900;

// Fills the item from one e2event and tells whether it is of use in the now/next lists: it
// needs a real start, and the later of its start and duration must be a number. Receivers
// list services without EPG with None in both, or with 0 in both on the current service.
bool readEvent(E2ReplyReader& reader, EpgItem& item, LocalTimeTexts& times)
{
    bool laterConverted = false;
    std::optional<uint> start;
    item.duration = -1;
    while (reader.nextChild()) {
        const QStringView name = reader.name();
        if (name == u"e2eventid") {
            item.eventId = E2Text::plainValue(reader.text());
        } else if (name == u"e2eventstart") {
            const std::optional<uint> value = E2Text::uintValue(reader.text());
            laterConverted = value.has_value();
            start = value.value_or(0) > 0 ? value : std::nullopt;
            item.start = start.value_or(0);
            item.startDate = start ? times.dateText(*start) : QString();
            item.startTime = start ? times.timeText(*start) : QString();
        } else if (name == u"e2eventduration") {
            const std::optional<int> duration = E2Text::intValue(reader.text());
            laterConverted = duration.has_value();
            item.duration = duration && *duration >= 1 ? *duration : -1;
        } else if (name == u"e2eventcurrenttime") {
            item.currentTime = E2Text::plainValue(reader.text());
        } else if (name == u"e2eventtitle") {
            item.title = E2Text::displayText(reader.text());
        } else if (name == u"e2eventdescription") {
            item.description = E2Text::displayText(reader.text());
        } else if (name == u"e2eventdescriptionextended") {
            item.descriptionExtended = E2Text::displayText(reader.text());
        } else if (name == u"e2eventservicereference") {
            item.serviceReference = E2Text::referenceText(reader.text());
        } else if (name == u"e2eventservicename") {
            item.serviceName = E2Text::displayText(reader.text());
        } else {
            reader.skipElement();
        }
    }
    // Without a duration the event ends a second before it starts, as the image expects.
    item.end = start ? *start + uint(item.duration) : 0;
    return laterConverted && start;
}

enum class UntimedEvents
{
    Drop,
    Keep
};

bool readEventList(const QString& text, const QString& bouquetReference, UntimedEvents untimed,
                   OwnedList<EpgItem>& events, const Clock& clock)
{
    events.clear();
    E2ReplyReader reader(text);
    if (!reader.openRoot("e2eventlist"_L1))
        return false;
    LocalTimeTexts times(clock);
    OwnedList<EpgItem> read;
    read.reserve(size_t(text.size() / bytesPerEvent));
    reader.forEachElement(u"e2event", [&] {
        auto item = std::make_unique<EpgItem>();
        const bool timed = readEvent(reader, *item, times);
        if (timed || untimed == UntimedEvents::Keep) {
            item->bouquetReference = bouquetReference;
            read.push_back(std::move(item));
        }
    });
    if (!reader.finish())
        return false;
    events = std::move(read);
    return true;
}

std::unique_ptr<Channel> readChannel(E2ReplyReader& reader)
{
    auto channel = std::make_unique<Channel>();
    while (reader.nextChild()) {
        const QStringView name = reader.name();
        if (name == u"e2servicereference")
            channel->serviceReference = E2Text::referenceText(reader.text());
        else if (name == u"e2servicename")
            channel->name = E2Text::displayText(reader.text());
        else
            reader.skipElement();
    }
    return channel;
}

std::unique_ptr<Bouquet> readBouquet(E2ReplyReader& reader)
{
    auto bouquet = std::make_unique<Bouquet>();
    while (reader.nextChild()) {
        const QStringView name = reader.name();
        if (name == u"e2servicereference") {
            bouquet->reference = E2Text::referenceText(reader.text());
        } else if (name == u"e2servicename") {
            bouquet->name = E2Text::displayText(reader.text());
        } else if (name == u"e2servicelist") {
            reader.forEachElement(u"e2service", [&] { bouquet->addChannel(readChannel(reader)); });
        } else {
            reader.skipElement();
        }
    }
    return bouquet;
}

// A bouquet without services is listed as a plain service at the top of the answer.
std::unique_ptr<Bouquet> readEmptyBouquet(E2ReplyReader& reader)
{
    const std::unique_ptr<Channel> entry = readChannel(reader);
    auto bouquet = std::make_unique<Bouquet>();
    bouquet->reference = entry->serviceReference;
    bouquet->name = entry->name;
    return bouquet;
}

void readAbout(E2ReplyReader& reader, AboutInfo& about)
{
    while (reader.nextChild()) {
        const QStringView name = reader.name();
        if (name == u"e2enigmaversion") {
            about.enigmaVersion = E2Text::displayText(reader.text());
        } else if (name == u"e2imageversion") {
            about.imageVersion = E2Text::displayText(reader.text());
        } else if (name == u"e2webifversion") {
            about.webifVersion = E2Text::displayText(reader.text());
        } else if (name == u"e2fpversion") {
            about.fpVersion = E2Text::displayText(reader.text());
        } else if (name == u"e2model") {
            about.model = E2Text::displayText(reader.text());
        } else if (name == u"e2lanmac") {
            about.lanMac = E2Text::displayText(reader.text());
        } else if (name == u"e2landhcp") {
            const QStringView dhcp = reader.text();
            about.lanDhcp = dhcp != u"False" && !E2Text::isMissing(dhcp);
        } else if (name == u"e2lanip") {
            about.lanIp = E2Text::displayText(reader.text());
        } else if (name == u"e2lanmask") {
            about.lanMask = E2Text::displayText(reader.text());
        } else if (name == u"e2langw") {
            about.lanGateway = E2Text::displayText(reader.text());
        } else if (name == u"e2hddinfo") {
            while (reader.nextChild()) {
                const QStringView field = reader.name();
                if (field == u"model")
                    about.hddModel = E2Text::displayText(reader.text());
                else if (field == u"capacity")
                    about.hddCapacity = E2Text::displayText(reader.text());
                else if (field == u"free")
                    about.hddFree = E2Text::displayText(reader.text());
                else
                    reader.skipElement();
            }
        } else if (name == u"e2tunerinfo") {
            // With several tuners the last one listed remains.
            reader.forEachElement(u"e2nim", [&] {
                while (reader.nextChild()) {
                    const QStringView field = reader.name();
                    if (field == u"name")
                        about.tunerName = E2Text::displayText(reader.text());
                    else if (field == u"type")
                        about.tunerType = E2Text::displayText(reader.text());
                    else
                        reader.skipElement();
                }
            });
        } else {
            reader.skipElement();
        }
    }
}

void readTimer(E2ReplyReader& reader, TimerEntry& timer, LocalTimeTexts& times)
{
    timer.duration = -1;
    while (reader.nextChild()) {
        const QStringView name = reader.name();
        if (name == u"e2servicereference") {
            timer.serviceReference = E2Text::referenceText(reader.text());
        } else if (name == u"e2servicename") {
            timer.serviceName = E2Text::displayText(reader.text());
        } else if (name == u"e2eit") {
            timer.eit = E2Text::plainValue(reader.text());
        } else if (name == u"e2name") {
            timer.name = E2Text::displayText(reader.text());
        } else if (name == u"e2description") {
            timer.description = E2Text::displayText(reader.text());
        } else if (name == u"e2descriptionextended") {
            timer.descriptionExtended = E2Text::displayText(reader.text());
        } else if (name == u"e2disabled") {
            timer.disabled = E2Text::plainValue(reader.text());
        } else if (name == u"e2timebegin") {
            const std::optional<uint> begin = E2Text::uintValue(reader.text());
            timer.begin = begin.value_or(0);
            if (begin) {
                timer.dateText = times.dateText(*begin);
                timer.beginTimeText = times.timeText(*begin);
            }
        } else if (name == u"e2timeend") {
            // The receiver lists the end after the begin, so the list shows the end's date.
            const std::optional<uint> end = E2Text::uintValue(reader.text());
            timer.end = end.value_or(0);
            if (end) {
                timer.dateText = times.dateText(*end);
                timer.endTimeText = times.timeText(*end);
            }
        } else if (name == u"e2duration") {
            const std::optional<int> duration = E2Text::intValue(reader.text());
            timer.duration = duration && *duration >= 1 ? *duration : -1;
        } else if (name == u"e2startprepare") {
            timer.startPrepare = E2Text::plainValue(reader.text());
        } else if (name == u"e2justplay") {
            timer.justPlay = E2Text::plainValue(reader.text());
        } else if (name == u"e2afterevent") {
            timer.afterEvent = E2Text::plainValue(reader.text());
        } else if (name == u"e2location") {
            timer.location = E2Text::plainValue(reader.text());
        } else if (name == u"e2state") {
            timer.state = E2Text::plainValue(reader.text());
        } else if (name == u"e2cancled") {
            const QStringView cancelled = reader.text();
            if (cancelled == u"True")
                timer.cancelled = true;
            else if (cancelled == u"False")
                timer.cancelled = false;
        } else {
            reader.skipElement();
        }
    }
}

// Recordings are often larger than 4 GB, so the byte count is read as a 64-bit number.
QString fileSizeText(QStringView text)
{
    const std::optional<qint64> bytes = E2Text::integerValue(text);
    const double megabytes = bytes && *bytes >= 0 ? double(*bytes) / 1e6 : 0.0;
    return QString::number(megabytes, 'g', 6) + u" MB";
}

void readMovie(E2ReplyReader& reader, MovieEntry& movie)
{
    while (reader.nextChild()) {
        const QStringView name = reader.name();
        if (name == u"e2servicereference")
            movie.serviceReference = E2Text::referenceText(reader.text());
        else if (name == u"e2title")
            movie.title = E2Text::displayText(reader.text());
        else if (name == u"e2description")
            movie.description = E2Text::displayText(reader.text());
        else if (name == u"e2descriptionextended")
            movie.descriptionExtended = E2Text::displayText(reader.text());
        else if (name == u"e2servicename")
            movie.serviceName = E2Text::displayText(reader.text());
        else if (name == u"e2time")
            movie.time = E2Text::uintValue(reader.text()).value_or(0);
        else if (name == u"e2length")
            movie.length = E2Text::displayText(reader.text());
        else if (name == u"e2filename")
            movie.fileName = E2Text::plainValue(reader.text());
        else if (name == u"e2filesize")
            movie.fileSizeText = fileSizeText(reader.text());
        else
            reader.skipElement();
    }
}

// The texts of the first children of the root, by position; absent children read empty.
template<size_t count>
std::array<QString, count> childTexts(E2ReplyReader& reader)
{
    std::array<QString, count> texts;
    for (size_t i = 0; i < count && reader.nextChild(); ++i)
        texts[i] = E2Text::plainValue(reader.text());
    return texts;
}

std::optional<int> percentValue(QStringView text)
{
    const std::optional<qint64> value = E2Text::leadingIntegerValue(text);
    if (!value || *value < std::numeric_limits<int>::min() || *value > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(*value);
}

// A signal value that holds no number: empty, a bare unit or a spelling of "missing".
bool isWithoutValue(const QString& text)
{
    QString rest = text;
    rest.remove(u'%');
    rest.remove("dB"_L1);
    rest = rest.trimmed();
    return rest.isEmpty() || rest == u"N/A" || rest == u"None";
}

} // namespace

bool parseE2PowerState(const QString& text)
{
    E2ReplyReader reader(text);
    if (!reader.openRoot("e2powerstate"_L1) || !reader.nextChild() || reader.name() != u"e2instandby")
        return false;
    const bool inStandby = reader.text() != u"false";
    return reader.finish() && inStandby;
}

bool parseE2Services(const QString& text, OwnedList<Bouquet>& bouquets)
{
    bouquets.clear();
    E2ReplyReader reader(text);
    if (!reader.openRoot("e2servicelistrecursive"_L1))
        return false;
    OwnedList<Bouquet> read;
    while (reader.nextChild()) {
        const QStringView name = reader.name();
        if (name == u"e2bouquet")
            read.push_back(readBouquet(reader));
        else if (name == u"e2service")
            read.push_back(readEmptyBouquet(reader));
        else
            reader.forEachElement(u"e2bouquet", [&] { read.push_back(readBouquet(reader)); });
    }
    if (!reader.finish() || read.empty())
        return false;
    bouquets = std::move(read);
    return true;
}

bool parseE2CurrentService(const QString& text, CurrentServiceE2& service, const Clock& clock)
{
    service = CurrentServiceE2{};
    E2ReplyReader reader(text);
    if (!reader.openRoot("e2currentserviceinformation"_L1))
        return false;
    CurrentServiceE2 read;
    LocalTimeTexts times(clock);
    if (reader.nextChild()) {
        while (reader.nextChild()) {
            const QStringView name = reader.name();
            if (name == u"e2servicereference")
                read.serviceReference = E2Text::referenceText(reader.text());
            else if (name == u"e2servicename")
                read.serviceName = E2Text::displayText(reader.text());
            else if (name == u"e2providername")
                read.providerName = E2Text::displayText(reader.text());
            else if (name == u"e2videowidth")
                read.videoWidth = E2Text::plainValue(reader.text());
            else if (name == u"e2videoheight")
                read.videoHeight = E2Text::plainValue(reader.text());
            else if (name == u"e2servicevideosize")
                read.videoSize = E2Text::plainValue(reader.text());
            else
                reader.skipElement();
        }
        reader.forEachElement(u"e2event", [&] {
            auto item = std::make_unique<EpgItem>();
            if (readEvent(reader, *item, times))
                read.events.push_back(std::move(item));
        });
    }
    if (!reader.finish() || read.serviceReference.isEmpty())
        return false;
    service = std::move(read);
    return true;
}

bool parseE2BouquetEpg(const QString& text, const QString& bouquetReference, OwnedList<EpgItem>& events,
                       const Clock& clock)
{
    return readEventList(text, bouquetReference, UntimedEvents::Drop, events, clock);
}

bool parseE2EventList(const QString& text, OwnedList<EpgItem>& events, const Clock& clock)
{
    return readEventList(text, QString(), UntimedEvents::Keep, events, clock);
}

bool parseE2About(const QString& text, AboutInfo& about)
{
    about = AboutInfo{};
    E2ReplyReader reader(text);
    if (!reader.openRoot("e2abouts"_L1))
        return false;
    AboutInfo read;
    reader.forEachElement(u"e2about", [&] { readAbout(reader, read); });
    if (!reader.finish() || read.enigmaVersion.isEmpty())
        return false;
    about = std::move(read);
    return true;
}

bool parseE2CurrentTime(const QString& text, QString& time)
{
    time.clear();
    E2ReplyReader reader(text);
    if (!reader.openRoot("e2currenttime"_L1))
        return false;
    QString read = E2Text::plainValue(reader.text());
    if (!reader.finish())
        return false;
    time = std::move(read);
    return true;
}

bool parseE2Signal(const QString& text, SignalInfo& signal)
{
    signal = SignalInfo{};
    E2ReplyReader reader(text);
    if (!reader.openRoot("e2frontendstatus"_L1))
        return false;
    // By position: SNR in dB, SNR percentage, bit error rate, AGC percentage.
    const std::array<QString, 4> texts = childTexts<4>(reader);
    if (!reader.finish())
        return false;
    SignalInfo read;
    read.snrDbText = texts[0];
    read.snrText = texts[1];
    read.snrPercent = percentValue(read.snrText).value_or(0);
    read.berText = texts[2];
    read.ber = E2Text::intValue(read.berText).value_or(0);
    read.agcText = texts[3];
    const std::optional<int> agc = percentValue(read.agcText);
    if (agc) {
        read.agcPercent = *agc;
    } else if (std::all_of(texts.cbegin(), texts.cend(), isWithoutValue)) {
        // A unit with nothing before it (no tuned service, standby) is the receiver saying
        // there is nothing to measure: an empty reading, which the meters show as empty.
        read = SignalInfo{};
    } else {
        return false;
    }
    signal = std::move(read);
    return true;
}

bool parseE2Volume(const QString& text, bool& isMute, int& level)
{
    E2ReplyReader reader(text);
    if (!reader.openRoot("e2volume"_L1))
        return false;
    // By position: result, result text, level, mute state.
    const std::array<QString, 4> texts = childTexts<4>(reader);
    const std::optional<int> current = E2Text::intValue(texts[2]);
    if (!reader.finish() || !current)
        return false;
    level = *current;
    isMute = texts[3] != u"False";
    return true;
}

bool parseE2MessageAnswer(const QString& text, MessageAnswer& answer)
{
    E2ReplyReader reader(text);
    if (!reader.openRoot("e2simplexmlresult"_L1) || !reader.nextChild() || reader.name() != u"e2state")
        return false;
    reader.skipElement();
    const std::array<QString, 1> texts = childTexts<1>(reader);
    if (!reader.finish())
        return false;
    const QString& words = texts[0];
    if (words == u"Answer is YES!")
        answer = AnswerYes;
    else if (words == u"Answer is NO!")
        answer = AnswerNo;
    else if (words == u"No answer in time")
        answer = AnswerTimeout;
    else
        return false;
    return true;
}

bool parseE2MovieDeleteResult(const QString& text)
{
    E2ReplyReader reader(text);
    if (!reader.openRoot("e2simplexmlresult"_L1) || !reader.nextChild() || reader.name() != u"e2state")
        return false;
    const bool deleted = reader.text() == u"True";
    return reader.finish() && deleted;
}

bool parseE2TimerList(const QString& text, OwnedList<TimerEntry>& timers, const Clock& clock)
{
    timers.clear();
    E2ReplyReader reader(text);
    if (!reader.openRoot("e2timerlist"_L1))
        return false;
    LocalTimeTexts times(clock);
    OwnedList<TimerEntry> read;
    read.reserve(size_t(text.size() / bytesPerTimer));
    reader.forEachElement(u"e2timer", [&] {
        auto timer = std::make_unique<TimerEntry>();
        readTimer(reader, *timer, times);
        read.push_back(std::move(timer));
    });
    if (!reader.finish())
        return false;
    timers = std::move(read);
    return true;
}

bool parseE2MovieList(const QString& text, OwnedList<MovieEntry>& movies)
{
    movies.clear();
    E2ReplyReader reader(text);
    if (!reader.openRoot("e2movielist"_L1))
        return false;
    OwnedList<MovieEntry> read;
    read.reserve(size_t(text.size() / bytesPerMovie));
    reader.forEachElement(u"e2movie", [&] {
        auto movie = std::make_unique<MovieEntry>();
        readMovie(reader, *movie);
        read.push_back(std::move(movie));
    });
    if (!reader.finish())
        return false;
    movies = std::move(read);
    return true;
}

bool containsSuccessWord(const QString& text)
{
    return text.contains("successfully"_L1);
}

bool parseE2CommandResult(const QString& text, E2CommandResult& result)
{
    struct Form
    {
        QLatin1StringView root;
        QLatin1StringView state;
        QLatin1StringView words;
    };
    static constexpr std::array<Form, 3> forms{{
        {"e2simplexmlresult"_L1, "e2state"_L1, "e2statetext"_L1},
        {"e2remotecontrol"_L1, "e2result"_L1, "e2resulttext"_L1},
        {"e2volume"_L1, "e2result"_L1, "e2resulttext"_L1},
    }};
    for (const Form& form : forms) {
        E2ReplyReader reader(text);
        if (!reader.openRoot(form.root))
            continue;
        std::optional<bool> state;
        QString words;
        while (reader.nextChild()) {
            if (reader.name() == form.state) {
                const QStringView value = reader.text();
                if (value.compare(u"True", Qt::CaseInsensitive) == 0)
                    state = true;
                else if (value.compare(u"False", Qt::CaseInsensitive) == 0)
                    state = false;
            } else if (reader.name() == form.words) {
                words = E2Text::unescaped(reader.text());
            } else {
                reader.skipElement();
            }
        }
        if (!reader.finish() || !state)
            return false;
        result.accepted = *state;
        result.text = words;
        return true;
    }
    // A power state change is answered with the state; a readable one is the receiver's yes.
    E2ReplyReader reader(text);
    if (!reader.openRoot("e2powerstate"_L1) || !reader.nextChild() || reader.name() != u"e2instandby")
        return false;
    reader.skipElement();
    if (!reader.finish())
        return false;
    result = E2CommandResult{true, {}};
    return true;
}

bool parseE2TimerCommandResult(const QString& text)
{
    E2ReplyReader reader(text);
    if (reader.openRoot("e2simplexmlresult"_L1)) {
        std::optional<bool> state;
        while (reader.nextChild()) {
            if (!state && reader.name() == u"e2state") {
                const QStringView value = reader.text();
                if (value == u"True")
                    state = true;
                else if (value == u"False")
                    state = false;
            } else {
                reader.skipElement();
            }
        }
        if (reader.finish() && state)
            return *state;
    }
    return containsSuccessWord(text);
}

bool parseE2SessionId(const QString& text, QString& id)
{
    E2ReplyReader reader(text);
    if (!reader.openRoot("e2sessionid"_L1))
        return false;
    QString read = reader.text().trimmed().toString();
    if (!reader.finish() || read.isEmpty())
        return false;
    id = std::move(read);
    return true;
}
