#include "box/e1parsers.h"

#include "box/e1scraper.h"
#include "box/e2replyreader.h"
#include "box/e2text.h"
#include "box/htmldocument.h"
#include "box/localtimetexts.h"
#include "model/bouquet.h"
#include "model/channel.h"
#include "model/clock.h"
#include "model/epgitem.h"
#include "model/records.h"

#include <QDate>
#include <QDateTime>
#include <QRegularExpression>
#include <QString>
#include <QTime>

#include <algorithm>
#include <iterator>
#include <limits>
#include <optional>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

int intOr(QStringView text, int fallback)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? value : fallback;
}

// ---- status page -------------------------------------------------------------------------

// Moves to the value cell of a row of the status table. The receiver closes the label cell
// everywhere except in the last row.
bool skipToValueCell(E1Scraper& page, QStringView label)
{
    if (!page.skipPast(label))
        return false;
    page.consume(u"</td>");
    return page.consume(u"<td>");
}

std::optional<QStringView> cellText(E1Scraper& page, QStringView label)
{
    if (!skipToValueCell(page, label))
        return std::nullopt;
    return page.cutUntil(u"</td></tr>");
}

// "ON" or "OFF", followed by the end of the cell.
std::optional<bool> onOffCell(E1Scraper& page, QStringView label)
{
    if (!skipToValueCell(page, label))
        return std::nullopt;
    const std::optional<QStringView> state = page.take(3);
    if (!state)
        return std::nullopt;
    return *state != u"OFF";
}

// ---- data page -----------------------------------------------------------------------------

// var name = "text";
std::optional<QString> stringVariable(E1Scraper& page, QStringView name)
{
    if (!page.skipPastAssignment(name) || !page.consume(u"\""))
        return std::nullopt;
    const std::optional<QStringView> value = page.cutUntil(u"\";");
    return value ? std::optional<QString>(value->toString()) : std::nullopt;
}

// var name = 42;
std::optional<QString> plainVariable(E1Scraper& page, QStringView name)
{
    if (!page.skipPastAssignment(name))
        return std::nullopt;
    const std::optional<QStringView> value = page.cutUntil(u";");
    return value ? std::optional<QString>(value->trimmed().toString()) : std::nullopt;
}

// ---- service listing -----------------------------------------------------------------------

// A reference as the listing prints it: ten numbers in hex, each ended by ':' (the last ends the
// reference). What follows the tenth ':' (a path) is left to the caller.
bool startsWithReference(QStringView line)
{
    qsizetype position = 0;
    for (int field = 0; field < 10; ++field) {
        const qsizetype colon = line.indexOf(u':', position);
        if (colon <= position)
            return false;
        const QStringView number = line.sliced(position, colon - position);
        if (!std::all_of(number.begin(), number.end(), [](QChar c) {
                return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
            }))
            return false;
        position = colon + 1;
    }
    return true;
}

// No line of the listing holds control characters; a line that does is not the receiver's.
bool holdsControlCharacters(QStringView line)
{
    return std::any_of(line.begin(), line.end(), [](QChar c) { return c.unicode() < 0x20 && c != u'\t'; });
}

// <reference>;<name>, with ";selected" after the bouquet open on the receiver.
std::unique_ptr<Bouquet> readBouquetLine(QStringView line)
{
    if (!line.startsWith(u"4097:") || !startsWithReference(line))
        return nullptr;
    qsizetype referenceEnd = -1;
    qsizetype nameBegin = -1;
    // A bouquet reference ends in the file name of the bouquet; ".tv;" finds its end even when the
    // path holds a ';'.
    if (const qsizetype tv = line.indexOf(u".tv;"); tv >= 0) {
        referenceEnd = tv + 3;
        nameBegin = tv + 4;
    } else if (const qsizetype semicolon = line.indexOf(u';'); semicolon >= 0) {
        referenceEnd = semicolon;
        nameBegin = semicolon + 1;
    } else {
        return nullptr;
    }
    QStringView name = line.sliced(nameBegin);
    if (name.endsWith(u";selected"))
        name.chop(9);
    auto bouquet = std::make_unique<Bouquet>();
    bouquet->reference = line.first(referenceEnd).toString();
    bouquet->name = name.toString();
    return bouquet;
}

// <reference>;<name>;<provider>;<orbital position>. A renamed service has no provider field, and
// a service the receiver lost reads "unnamed service;unnamed provider".
std::unique_ptr<Channel> readServiceLine(QStringView line, const QString& bouquetName)
{
    const qsizetype referenceEnd = line.indexOf(u":;");
    if (referenceEnd < 0 || !startsWithReference(line.first(referenceEnd + 1)))
        return nullptr;
    const QStringView fields = line.sliced(referenceEnd + 2);
    const qsizetype nameEnd = fields.indexOf(u';');
    auto channel = std::make_unique<Channel>();
    channel->serviceReference = line.first(referenceEnd + 1).toString();
    channel->name = (nameEnd < 0 ? fields : fields.first(nameEnd)).toString();
    channel->bouquetName = bouquetName;
    return channel;
}

// Whether a service line holds all of its record: it ends in the orbital position, or in the
// provider of a service the receiver lost. Only a line the listing does not end with a line
// break can have been cut short.
bool isWholeServiceLine(QStringView line)
{
    const QStringView fields = line.sliced(line.indexOf(u":;") + 2);
    const qsizetype lastSeparator = fields.lastIndexOf(u';');
    if (lastSeparator < 0)
        return false;
    const QStringView last = fields.sliced(lastSeparator + 1);
    if (last == u"unnamed provider")
        return true;
    bool isNumber = false;
    static_cast<void>(last.toInt(&isNumber));
    return isNumber;
}

// ---- movie page ----------------------------------------------------------------------------

// "[04412 MB] Tatort": the size in megabytes, then the title.
bool isMovieTitle(QStringView title)
{
    if (!title.startsWith(u'['))
        return false;
    const qsizetype close = title.indexOf(u" MB] ");
    if (close < 2)
        return false;
    const QStringView size = title.sliced(1, close - 1);
    return std::all_of(size.begin(), size.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// The receiver prints references with nothing but letters, digits, ':' and escapes.
bool isPrintedReference(QStringView reference)
{
    return !reference.isEmpty() && std::all_of(reference.begin(), reference.end(), [](QChar c) {
        return c.unicode() < 128 && (c.isLetterOrNumber() || c == u':' || c == u'%');
    });
}

// ---- EPG pages -----------------------------------------------------------------------------

// The first three arguments of the receiver's record link:
// javascript:record('<reference>','<start>','<duration>','<title>','<service>','<end action>')
struct RecordCall
{
    QStringView reference;
    QStringView start;
    QStringView duration;
};

std::optional<RecordCall> readRecordCall(QStringView href)
{
    constexpr QStringView call = u"javascript:record('";
    constexpr QStringView separator = u"','";
    const qsizetype open = href.indexOf(call);
    if (open < 0)
        return std::nullopt;
    const QStringView arguments = href.sliced(open + call.size());
    const qsizetype first = arguments.indexOf(separator);
    const qsizetype second = first < 0 ? -1 : arguments.indexOf(separator, first + separator.size());
    const qsizetype third = second < 0 ? -1 : arguments.indexOf(separator, second + separator.size());
    if (third < 0)
        return std::nullopt;
    return RecordCall{arguments.first(first),
                      arguments.sliced(first + separator.size(), second - first - separator.size()),
                      arguments.sliced(second + separator.size(), third - second - separator.size())};
}

// The event table of the current EPG page, told by its id "epg".
std::optional<HtmlElement> tableWithId(const HtmlDocument& page, QLatin1StringView id)
{
    for (const HtmlElement& table : page.select(u"table")) {
        if (table.attribute("id"_L1) == id)
            return table;
    }
    return std::nullopt;
}

bool isRecordLink(const HtmlElement& link)
{
    return link.attribute("href"_L1).contains(u"javascript:record('");
}

// A time stamp in the range the image stores.
uint clampedStamp(qint64 seconds)
{
    return uint(std::clamp(seconds, qint64(0), qint64(std::numeric_limits<uint>::max())));
}

// Reads events from the rows (current EPG) or cells (multi-EPG) of an EPG page.
class EpgPageReader
{
public:
    EpgPageReader(const QString& bouquetRef, const Clock& clock)
        : m_bouquetRef(bouquetRef)
        , m_times(clock)
    {}

    // One event from the part of the page that holds its record link, title and description.
    // False when the part holds a record link but the page does not close it: the page was cut
    // off or garbled there.
    bool readEvent(const HtmlElement& part, const QString& serviceName);

    // The page counts when the last record link carried a duration.
    bool lastDurationRead() const { return m_lastDurationRead; }
    OwnedList<EpgItem> takeEvents() { return std::exchange(m_events, {}); }

private:
    const QString& m_bouquetRef;
    LocalTimeTexts m_times;
    OwnedList<EpgItem> m_events;
    bool m_lastDurationRead = false;
};

bool EpgPageReader::readEvent(const HtmlElement& part, const QString& serviceName)
{
    std::optional<HtmlElement> link;
    for (const HtmlElement& candidate : part.select(u"a")) {
        if (isRecordLink(candidate)) {
            link = candidate;
            break;
        }
    }
    if (!link)
        return true;
    if (!part.isClosed())
        return false;
    const QString href = link->attribute("href"_L1);
    const std::optional<RecordCall> call = readRecordCall(href);
    bool startRead = false;
    bool durationRead = false;
    const uint start = call ? call->start.toUInt(&startRead) : 0;
    const int duration = call ? call->duration.toInt(&durationRead) : 0;
    m_lastDurationRead = durationRead;
    const std::optional<HtmlElement> description = part.first(u"span.description");
    // A link without a start names no event.
    if (!description || !startRead || start == 0)
        return true;
    const std::optional<HtmlElement> title = part.first(u"span.event");

    auto item = std::make_unique<EpgItem>();
    item->serviceName = serviceName;
    item->bouquetReference = m_bouquetRef;
    item->serviceReference = E1Text::unescapedReference(call->reference);
    item->start = start;
    item->duration = durationRead && duration >= 1 ? duration : -1;
    // Without a duration the event ends a second before it starts, as the image expects.
    item->end = clampedStamp(qint64(start) + item->duration);
    item->startDate = m_times.dateText(start);
    item->startTime = m_times.timeText(start);
    // The receiver prints '<' in event texts as it is; such a text must not lose its "<...>".
    item->title = title ? title->plainText(UnknownTags::AsText) : QString();
    item->descriptionExtended = description->plainText(UnknownTags::AsText);
    m_events.push_back(std::move(item));
    return true;
}

// ---- multi-EPG ----------------------------------------------------------------------------

// The multi-EPG of a big bouquet runs to megabytes; parsed as one document its tree takes many
// times that and as long again. Its rows are read one at a time instead, each as a table of its
// own.
struct TableSpan
{
    qsizetype begin = 0; // after the table's start tag
    qsizetype end = 0;   // where its end tag starts
};

// The span of the table with the id "mepg"; none when the page has none or does not close it.
std::optional<TableSpan> multiEpgTable(const QString& text)
{
    static const QRegularExpression start(uR"(<table\b[^>]*?\sid\s*=\s*(["']?)mepg\1[\s/>])"_s,
                                          QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = start.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const qsizetype end = text.lastIndexOf(u"</table", -1, Qt::CaseInsensitive);
    if (end < match.capturedEnd())
        return std::nullopt;
    return TableSpan{match.capturedEnd(), end};
}

// Where the first row start tag at or after from begins; end when none does before it.
qsizetype nextRowStart(QStringView page, qsizetype from, qsizetype end)
{
    for (qsizetype found = page.indexOf(u"<tr", from, Qt::CaseInsensitive); found >= 0 && found < end;
         found = page.indexOf(u"<tr", found + 3, Qt::CaseInsensitive)) {
        const qsizetype after = found + 3;
        if (after < page.size() && (page[after] == u'>' || page[after] == u'/' || page[after].isSpace()))
            return found;
    }
    return end;
}

// One row per service: its name in the first span, then one cell per event. Rows without a name
// (the heading) hold no events.
bool readMultiEpgRow(QStringView markup, EpgPageReader& reader)
{
    const HtmlDocument document(u"<table>"_s + markup + u"</table>"_s);
    const std::optional<HtmlElement> row = document.first(u"tr");
    const std::optional<HtmlElement> name = row ? row->first(u"span") : std::nullopt;
    if (!name)
        return true;
    if (!row->isClosed())
        return false;
    const QString serviceName = name->plainText();
    for (const HtmlElement& cell : row->children()) {
        if (cell.matches(u"td") && !reader.readEvent(cell, serviceName))
            return false;
    }
    return true;
}

// ---- timer list ----------------------------------------------------------------------------

// "hh:mm", also with a one-digit hour or minute ("8:05", "20:5").
std::optional<QTime> timeOfDay(QStringView text)
{
    const qsizetype colon = text.indexOf(u':');
    if (colon < 1 || colon > 2 || text.size() - colon - 1 < 1 || text.size() - colon - 1 > 2)
        return std::nullopt;
    bool hourRead = false;
    bool minuteRead = false;
    const int hour = text.first(colon).toInt(&hourRead);
    const int minute = text.sliced(colon + 1).toInt(&minuteRead);
    if (!hourRead || !minuteRead || hour < 0 || minute < 0)
        return std::nullopt;
    const QTime time(hour, minute);
    return time.isValid() ? std::optional<QTime>(time) : std::nullopt;
}

// Seconds since 1970 of a date and time of day on the user's clock. The offset from UTC at the
// wall time read as UTC is right unless the offset changes in between; a second look settles that.
qint64 localToEpoch(const Clock& clock, QDate date, QTime time)
{
    const qint64 wall = QDateTime(date, time, Qt::UTC).toSecsSinceEpoch();
    const qint64 guess = wall - clock.toLocal(wall).offsetFromUtc();
    return wall - clock.toLocal(guess).offsetFromUtc();
}

// Begin, end and end time from the date, the time of day and the duration. Repeating timers are
// dated 01.01.1970 by the receiver; they keep that day.
void completeTimes(TimerEntry& timer, const std::optional<QString>& durationText, const Clock& clock)
{
    bool durationRead = false;
    const uint seconds = durationText ? durationText->toUInt(&durationRead) : 0;
    const bool fits = durationRead && seconds <= uint(std::numeric_limits<int>::max());
    timer.duration = fits && seconds >= 1 ? int(seconds) : -1;
    const qint64 length = fits ? qint64(seconds) : 0;

    const QDate date = QDate::fromString(timer.dateText, u"dd.MM.yyyy");
    const std::optional<QTime> time = timeOfDay(timer.beginTimeText);
    if (!time)
        return;
    timer.endTimeText = time->addSecs(int(length % (24 * 60 * 60))).toString(u"hh:mm");
    if (!date.isValid())
        return;
    const qint64 begin = localToEpoch(clock, date, *time);
    timer.begin = clampedStamp(begin);
    timer.end = clampedStamp(qint64(timer.begin) + length);
}

std::unique_ptr<TimerEntry> readTimer(E2ReplyReader& reader, const Clock& clock)
{
    auto timer = std::make_unique<TimerEntry>();
    std::optional<QString> durationText;
    while (reader.nextChild()) {
        const QStringView name = reader.name();
        if (name == u"type") {
            timer->type = reader.text().toString();
        } else if (name == u"action") {
            timer->action = reader.text().toString();
        } else if (name == u"status") {
            timer->status = reader.text().toString();
        } else if (name == u"typedata") {
            timer->typeData = reader.text().toString();
        } else if (name == u"service") {
            while (reader.nextChild()) {
                const QStringView field = reader.name();
                if (field == u"reference")
                    timer->serviceReference = E1Text::unescapedReference(reader.text());
                else if (field == u"name")
                    timer->serviceName = E2Text::unescaped(reader.text());
                else
                    reader.skipElement();
            }
        } else if (name == u"event") {
            while (reader.nextChild()) {
                const QStringView field = reader.name();
                if (field == u"date")
                    timer->dateText = reader.text().toString();
                else if (field == u"time")
                    timer->beginTimeText = reader.text().toString();
                else if (field == u"start")
                    timer->startText = reader.text().toString();
                else if (field == u"duration")
                    durationText = reader.text().toString();
                else if (field == u"description")
                    timer->description = E2Text::unescaped(reader.text());
                else if (field == u"extrapath")
                    timer->extraPath = reader.text().toString();
                else
                    reader.skipElement();
            }
        } else {
            reader.skipElement();
        }
    }
    completeTimes(*timer, durationText, clock);
    return timer;
}

// ---- satellite finder ----------------------------------------------------------------------

// A percentage cell after its label: <td>SNR:</td><td align="center">71%</td>.
std::optional<QStringView> meterCell(E1Scraper& page, QStringView label)
{
    if (!page.skipPast(label) || !page.skipPast(u"<td align=\"center\">"))
        return std::nullopt;
    return page.cutUntil(u"</td>");
}

int percentValue(QStringView cell)
{
    const qsizetype percent = cell.indexOf(u'%');
    return intOr(percent < 0 ? cell : cell.first(percent), 0);
}

// The check box in front of "&nbsp;LOCK" or "&nbsp;SYNC" is checked when its tag ends in "checked".
std::optional<bool> checkBox(E1Scraper& page, QStringView caption)
{
    constexpr QStringView checked = u"checked";
    const qsizetype found = page.find(caption);
    if (found < 0)
        return std::nullopt;
    const qsizetype from = found - checked.size();
    const bool isChecked = from >= page.position() && page.text().sliced(from, checked.size()) == checked;
    page.moveTo(found);
    return isChecked;
}

// An index the page names into one of its own lists; anything outside the list selects the first
// entry.
int guardedIndex(int index, qsizetype count)
{
    return index >= 0 && index < count ? index : 0;
}

// ---- about page ----------------------------------------------------------------------------

QString* aboutField(AboutInfoE1& about, const QString& label)
{
    if (label == u"Model")
        return &about.model;
    if (label == u"Manufacturer")
        return &about.manufacturer;
    if (label == u"Processor")
        return &about.processor;
    if (label == u"Harddisk")
        return &about.harddisk;
    if (label == u"USB Stick")
        return &about.usbStick;
    if (label == u"Linux Kernel")
        return &about.linuxKernel;
    if (label == u"Firmware")
        return &about.firmware;
    if (label == u"Web Interface")
        return &about.webInterface;
    return nullptr;
}

} // namespace

bool parseStatusPageE1(const QString& text, StatusInfoE1& status)
{
    status = StatusInfoE1{};
    E1Scraper page(text);
    StatusInfoE1 read;

    const std::optional<QStringView> currentTime = cellText(page, u"Current time:");
    if (!currentTime)
        return false;
    // The receiver ends the time with a line break inside the cell.
    read.currentTime = currentTime->trimmed().toString();

    const std::optional<bool> standby = onOffCell(page, u"Standby:");
    if (!standby)
        return false;
    read.standby = *standby;
    const std::optional<bool> recording = onOffCell(page, u"Recording:");
    if (!recording)
        return false;
    read.recording = *recording;

    if (!skipToValueCell(page, u"Mode:"))
        return false;
    const std::optional<QStringView> modeDigit = page.take(1);
    bool modeRead = false;
    const uint mode = modeDigit ? modeDigit->toUInt(&modeRead) : 0;
    if (!modeRead)
        return false;
    read.mode = mode <= uint(BoxModeStandby) ? int(mode) : int(BoxModeOther);

    const std::optional<QStringView> reference = cellText(page, u"Current service reference:");
    if (!reference)
        return false;
    read.serviceReference = E1Text::unescapedReference(*reference);
    const std::optional<QStringView> name = cellText(page, u"name:");
    if (!name)
        return false;
    read.serviceName = name->toString();
    const std::optional<QStringView> provider = cellText(page, u"provider:");
    if (!provider)
        return false;
    read.provider = provider->toString();
    const std::optional<QStringView> videoFormat = cellText(page, u"vidformat:");
    if (!videoFormat)
        return false;
    read.videoFormat = videoFormat->toString();

    status = std::move(read);
    return true;
}

bool parseDataPageE1(const QString& text, DeviceData& data)
{
    data = DeviceData{};
    E1Scraper page(text);
    if (!page.skipTo(u"updateCycleTime"))
        return false;
    DeviceData read;

    std::optional<QString> value;
    if (!(value = stringVariable(page, u"nowD")))
        return false;
    read.nowD = *value;
    if (!(value = stringVariable(page, u"nowSt")))
        return false;
    read.nowSt = *value;
    if (!(value = stringVariable(page, u"diskGB")))
        return false;
    read.diskGB = *value;
    if (!(value = stringVariable(page, u"diskH")))
        return false;
    read.diskH = *value;
    if (!(value = stringVariable(page, u"upTime")))
        return false;
    read.upTime = *value;
    if (!(value = plainVariable(page, u"volume")))
        return false;
    read.volume = intOr(*value, 0);
    if (!(value = plainVariable(page, u"mute")))
        return false;
    read.mute = intOr(*value, 0) != 0;
    if (!(value = stringVariable(page, u"videoTime")))
        return false;
    read.videoTime = *value;
    if (!(value = plainVariable(page, u"videoPosition")))
        return false;
    bool positionRead = false;
    read.videoPosition = value->toInt(&positionRead);
    if (!positionRead)
        return false;
    read.videoActive = read.videoTime != u"0:00" && read.videoPosition != 0;
    if (!(value = plainVariable(page, u"agc")))
        return false;
    read.agc = *value;
    if (!(value = plainVariable(page, u"snr")))
        return false;
    read.snr = *value;
    if (!(value = plainVariable(page, u"ber")))
        return false;
    read.ber = *value;
    // The values stand in one script; a script that does not end was cut off.
    if (!page.skipPast(u"</script>"))
        return false;

    data = std::move(read);
    return true;
}

bool parseServiceListE1(const QString& text, OwnedList<Bouquet>& bouquets)
{
    bouquets.clear();
    const QStringView listing(text);
    OwnedList<Bouquet> read;
    // Services follow the bouquet line they belong to; before the first one they belong nowhere.
    Bouquet* current = nullptr;
    qsizetype lineBegin = 0;
    while (lineBegin < listing.size()) {
        qsizetype lineEnd = listing.indexOf(u'\n', lineBegin);
        const bool lastUnended = lineEnd < 0;
        if (lastUnended)
            lineEnd = listing.size();
        const QStringView line = listing.sliced(lineBegin, lineEnd - lineBegin).trimmed();
        lineBegin = lineEnd + 1;
        if (line.isEmpty())
            continue;
        // A line that is neither a bouquet nor a service is no part of a listing, and a last line
        // that stops inside its record was cut off: either way the list would be short or wrong.
        if (holdsControlCharacters(line))
            return false;
        if (std::unique_ptr<Bouquet> bouquet = readBouquetLine(line)) {
            if (lastUnended && bouquet->name.isEmpty())
                return false;
            current = bouquet.get();
            read.push_back(std::move(bouquet));
        } else if (std::unique_ptr<Channel> channel =
                       readServiceLine(line, current ? current->name : QString())) {
            if (lastUnended && !isWholeServiceLine(line))
                return false;
            if (current)
                current->addChannel(std::move(channel));
        } else {
            return false;
        }
    }
    if (read.empty())
        return false;
    bouquets = std::move(read);
    return true;
}

bool parseMovieListE1(const QString& text, OwnedList<MovieEntry>& movies)
{
    movies.clear();
    if (!text.contains(u"ZAP: Movies"))
        return false;
    E1Scraper page(text);
    if (!page.skipPast(u"function init()") || !page.skipPast(u"new Array("))
        return false;
    const std::optional<QStringList> titles = page.readStringArray();
    if (!titles || !page.skipPast(u"new Array("))
        return false;
    const std::optional<QStringList> references = page.readStringArray();
    if (!references)
        return false;
    // The receiver lists a single "none" when there are no recordings. A real title always starts
    // with its size ("[04412 MB] ..."), so it cannot read "none".
    if (*titles == QStringList{u"none"_s})
        return true;
    // Both arrays come from the same list of recordings: when they differ in length, or an item
    // is not what the receiver prints, the page is not whole.
    if (titles->size() != references->size())
        return false;
    OwnedList<MovieEntry> read;
    read.reserve(size_t(titles->size()));
    for (qsizetype i = 0; i < titles->size(); ++i) {
        if (!isMovieTitle(titles->at(i)) || !isPrintedReference(references->at(i)))
            return false;
        auto movie = std::make_unique<MovieEntry>();
        movie->title = titles->at(i);
        movie->serviceReference = E1Text::unescapedReference(references->at(i));
        read.push_back(std::move(movie));
    }
    movies = std::move(read);
    return true;
}

bool parseCurrentEpgE1(const QString& text, const QString& bouquetRef, OwnedList<EpgItem>& events,
                       const Clock& clock)
{
    events.clear();
    const HtmlDocument page(text);
    const std::optional<HtmlElement> table = tableWithId(page, "epg"_L1);
    // The heading of the table names the service.
    const std::optional<HtmlElement> heading = table ? table->first(u"th") : std::nullopt;
    // A table the page does not close was cut off: events would be missing or garbled.
    if (!heading || !table->isClosed())
        return false;
    const QString serviceName = heading->plainText();
    EpgPageReader reader(bouquetRef, clock);
    for (const HtmlElement& row : table->select(u"tr")) {
        if (!reader.readEvent(row, serviceName))
            return false;
    }
    if (!reader.lastDurationRead())
        return false;
    events = reader.takeEvents();
    return true;
}

bool parseMultiEpgE1(const QString& text, const QString& bouquetRef, OwnedList<EpgItem>& events,
                     const Clock& clock, const std::function<void(OwnedList<EpgItem>&)>& reduceRow)
{
    events.clear();
    const std::optional<TableSpan> table = multiEpgTable(text);
    // A table, row or event cell the page does not close was cut off or garbled there.
    if (!table)
        return false;
    EpgPageReader reader(bouquetRef, clock);
    OwnedList<EpgItem> read;
    const QStringView page(text);
    for (qsizetype row = nextRowStart(page, table->begin, table->end); row < table->end;) {
        const qsizetype next = nextRowStart(page, row + 1, table->end);
        if (!readMultiEpgRow(page.sliced(row, next - row), reader))
            return false;
        OwnedList<EpgItem> rowEvents = reader.takeEvents();
        if (reduceRow)
            reduceRow(rowEvents);
        std::move(rowEvents.begin(), rowEvents.end(), std::back_inserter(read));
        row = next;
    }
    if (!reader.lastDurationRead())
        return false;
    events = std::move(read);
    return true;
}

bool parseTimerListE1(const QString& text, OwnedList<TimerEntry>& timers, const Clock& clock)
{
    timers.clear();
    E2ReplyReader reader(text);
    if (!reader.openRoot("timers"_L1))
        return false;
    OwnedList<TimerEntry> read;
    // The receiver glues the entries together without separators; that is well-formed XML.
    reader.forEachElement(u"timer", [&] { read.push_back(readTimer(reader, clock)); });
    if (!reader.finish())
        return false;
    timers = std::move(read);
    return true;
}

bool parseSatfinderDataE1(const QString& text, SatfinderData& data)
{
    data = SatfinderData{};
    E1Scraper page(text);
    SatfinderData read;

    const std::optional<QStringView> snr = meterCell(page, u"SNR:");
    if (!snr)
        return false;
    read.snr = percentValue(*snr);
    const std::optional<bool> lock = checkBox(page, u">&nbsp;LOCK");
    if (!lock)
        return false;
    read.lock = *lock;
    const std::optional<QStringView> agc = meterCell(page, u"AGC:");
    if (!agc)
        return false;
    read.agc = percentValue(*agc);
    const std::optional<bool> sync = checkBox(page, u">&nbsp;SYNC");
    if (!sync)
        return false;
    read.sync = *sync;
    const std::optional<QStringView> ber = meterCell(page, u"BER:");
    if (!ber)
        return false;
    bool berRead = false;
    read.ber = ber->toInt(&berRead);
    if (!berRead)
        return false;

    data = read;
    return true;
}

bool parseSatfinderConfigE1(const QString& text, SatfinderConfig& config)
{
    config = SatfinderConfig{};
    if (!text.contains(u"CONTROL: Satfinder"))
        return false;
    E1Scraper page(text);
    SatfinderConfig read;

    if (!page.skipPastAssignment(u"bouquets") || !page.consume(u"new Array("))
        return false;
    std::optional<QStringList> satellites = page.readStringArray();
    if (!satellites)
        return false;
    read.satellites = std::move(*satellites);

    if (!page.skipPastAssignment(u"currentBouquet"))
        return false;
    const std::optional<QStringView> bouquet = page.cutUntil(u";");
    if (!bouquet)
        return false;
    const int currentBouquet = intOr(bouquet->trimmed(), 0);
    if (!page.skipPastAssignment(u"currentChannel"))
        return false;
    const std::optional<QStringView> channel = page.cutUntil(u";");
    bool channelRead = false;
    const int currentChannel = channel ? channel->trimmed().toInt(&channelRead) : 0;
    if (!channelRead)
        return false;

    // In init(): one transponder name array per satellite, then one parameter array per satellite.
    if (!page.skipPast(u"function init()"))
        return false;
    for (QList<QStringList>* lists : {&read.channelNames, &read.channelRefs}) {
        for (qsizetype i = 0; i < read.satellites.size(); ++i) {
            if (!page.skipPast(u"new Array("))
                return false;
            std::optional<QStringList> entries = page.readStringArray();
            if (!entries)
                return false;
            lists->append(std::move(*entries));
        }
    }

    read.currentBouquet = guardedIndex(currentBouquet, read.satellites.size());
    const qsizetype transponders =
        read.channelNames.isEmpty() ? 0 : read.channelNames.at(read.currentBouquet).size();
    read.currentChannel = guardedIndex(currentChannel, transponders);
    config = std::move(read);
    return true;
}

bool parseAboutPageE1(const QString& text, AboutInfoE1& about)
{
    about = AboutInfoE1{};
    const HtmlDocument page(text);
    AboutInfoE1 read;
    bool modelFound = false;
    for (const HtmlElement& row : page.select(u"tr")) {
        const std::optional<HtmlElement> label = row.first(u"td");
        if (!label)
            continue;
        QString* field = aboutField(read, label->plainText());
        const std::optional<HtmlElement> value = field ? label->nextSibling() : std::nullopt;
        if (!value)
            continue;
        *field = value->plainText();
        modelFound = modelFound || field == &read.model;
    }
    if (!modelFound)
        return false;
    about = std::move(read);
    return true;
}

bool answerIsSuccess(const QString& text)
{
    return text.contains(u"successfully");
}
