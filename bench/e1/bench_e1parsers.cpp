// Throughput of the Enigma1 page readers on large generated pages, each measured against a
// baseline in the same run that does the least any reader of that page must do: splitting the
// service listing into lines, gumbo's bare parse of the multi-EPG page, a bare token scan of the
// timer XML. The ratio is what the readers cost on top of that.

#include "bench/throughput.h"
#include "box/e1parsers.h"
#include "model/bouquet.h"
#include "model/clock.h"
#include "model/epgitem.h"
#include "model/records.h"

#include <QByteArray>
#include <QString>

#include <gumbo.h>

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 eveningStamp = 1710442800;

QString serviceReference(int n)
{
    return u"1:0:1:" + QString::number(0x2000 + n, 16) + u":44d:1:c00000:0:0:0:";
}

// 20,000 services in 40 bouquets, with the listing's variants: the open bouquet, renamed
// services without provider and lost services.
QString serviceListing(int services, int bouquets)
{
    QString text;
    const int perBouquet = services / bouquets;
    for (int b = 0; b < bouquets; ++b) {
        text += u"4097:7:0:" + QString::number(0x33fc5 + b, 16) +
                u":0:0:0:0:0:0:/var/tuxbox/config/enigma/userbouquet." + QString::number(0x33fc5 + b, 16) +
                u".tv;Bouquet " + QString::number(b) + (b == 0 ? u";selected\n"_s : u"\n"_s);
        for (int s = 0; s < perBouquet; ++s) {
            const int n = b * perBouquet + s;
            text += serviceReference(n) + u';';
            if (n % 50 == 49)
                text += u"unnamed service;unnamed provider\n";
            else if (n % 20 == 19)
                text += u"Umbenannt " + QString::number(n) + u";192\n";
            else
                text += u"Sender " + QString::number(n) + u" & Co;Anbieter;192\n";
        }
    }
    return text;
}

QString epgCell(int service, int event)
{
    const QString reference = serviceReference(service);
    const QString title = u"Tatort: Schöne Bescherung " + QString::number(event);
    return u"<td class=\"genre02\" colspan=\"6\"><a href=\"javascript:record('" + reference + u"','" +
           QString::number(eveningStamp + event * 5400) + u"','5400','" + title +
           u"','Sender','0')\"><img "
           u"src=\"timer.gif\" border=\"0\" /></a>&#160;&#160;<span class=\"time\">14.03. - 20:15 "
           u"</span><span "
           u"class=\"duration\"> (90 min)</span><br /><a href=\"javascript:switchChannel('" +
           reference + u"', '0', '-1')\"><span class=\"event\"><b>" + title +
           u"</b></span></a><br />Genre: Thriller<br /><span class=\"description\">Kommissarin Lürsen & "
           u"Kommissar Stedefreund ermitteln <im Hafen>.</span></td>\n";
}

// A multi-EPG page of about the given size: one row per service, eight events each.
QString multiEpgPage(qsizetype size)
{
    QString text =
        u"<html>\n\t<head>\n\t\t<title>EPG-Overview</title>\n\t</head>\n\t<body>\n\t\t<table "
        u"id=\"mepg\" width=#TABLEWIDTH# border=\"1\" rules=\"all\">\n\t\t\t<thead>\n\t\t\t\t<tr><th "
        u"width=\"200\">CHANNEL<br /></th></tr>\n\t\t\t</thead>\n\t\t\t<tbody>\n"_s;
    for (int service = 0; text.size() < size; ++service) {
        text += u"<tr><td id=\"channel\" width=\"200\"><span class=\"channel\">Sender " +
                QString::number(service) + u"</span></td><td colspan=\"3\">&#160;</td>";
        for (int event = 0; event < 8; ++event)
            text += epgCell(service, event);
        text += u"<td colspan=\"20\">&#160;</td></tr>\n";
    }
    return text + u"\t\t\t</tbody>\n\t\t</table>\n\t</body>\n</html>\n";
}

// The timer list as the receiver sends it: entries glued together, repeating ones dated 1970.
QString timerList(int count)
{
    QString text = u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n\t<timers>\n"_s;
    for (int n = 0; n < count; ++n) {
        const bool repeating = n % 10 == 0;
        text +=
            u"\t<timer>\n\t<type>" + (repeating ? u"REPEATING"_s : u"SINGLE"_s) +
            u"</type>\n\t<days></days>\n\t<action>DVR</action>\n\t<postaction></postaction>\n\t<status>ACTIVE"
            u"</status>\n\t<typedata>" +
            QString::number(44 + n) + u"</typedata>\n\t<service>\n\t\t<reference>" +
            serviceReference(n % 100) + u"</reference>\n\t\t<name>Sender " + QString::number(n % 100) +
            u"</name>\n\t</service>\n\t<event>\n\t\t<date>" +
            (repeating ? u"01.01.1970"_s : u"14.03.2024"_s) + u"</date>\n\t\t<time>" +
            QString::asprintf("%02d:%02d", n % 24, n % 60) + u"</time>\n\t\t<start>" +
            QString::number(eveningStamp + n * 3600) +
            u"</start>\n\t\t<duration>5400</duration>\n\t\t"
            u"<description>Tom &amp; Jerry - Die &amp;#39;Kult&amp;#39;-Edition " +
            QString::number(n) + u"</description>\n\t</event>\n</timer>";
    }
    return text + u"\n</timers>";
}

bool lineSplit(const QString& text)
{
    QStringView rest(text);
    qsizetype lines = 0;
    while (!rest.isEmpty()) {
        qsizetype end = rest.indexOf(u'\n');
        if (end < 0)
            end = rest.size();
        benchmark::DoNotOptimize(rest.first(end).trimmed());
        rest = rest.sliced(std::min(end + 1, rest.size()));
        ++lines;
    }
    return lines > 0;
}

bool gumboParse(const QByteArray& bytes)
{
    GumboOptions options = kGumboDefaultOptions;
    options.max_errors = 0;
    GumboOutput* output = gumbo_parse_with_options(&options, bytes.constData(), size_t(bytes.size()));
    const bool parsed = output != nullptr;
    gumbo_destroy_output(&kGumboDefaultOptions, output);
    return parsed;
}

struct Case
{
    std::string name;
    std::string baselineName;
    QString text;
    std::function<bool(const QString&)> read;
    std::function<bool()> baseline;
};

std::vector<Case> cases()
{
    static const ManualClock clock(eveningStamp, 3600);
    std::vector<Case> all;
    const QString listing = serviceListing(20000, 40);
    all.push_back({"service listing 20000", "line split", listing,
                   [](const QString& t) {
                       OwnedList<Bouquet> out;
                       return parseServiceListE1(t, out) && out.size() == 40;
                   },
                   [listing] { return lineSplit(listing); }});
    const QString multiEpg = multiEpgPage(1000 * 1000);
    const QByteArray multiEpgBytes = multiEpg.toUtf8();
    all.push_back({"multi-EPG 1 MB", "gumbo parse", multiEpg,
                   [](const QString& t) {
                       OwnedList<EpgItem> out;
                       return parseMultiEpgE1(t, u"bouquet"_s, out, clock) && !out.empty();
                   },
                   [multiEpgBytes] { return gumboParse(multiEpgBytes); }});
    const QString timers = timerList(1000);
    all.push_back({"timer list 1000", "XML token scan", timers,
                   [](const QString& t) {
                       OwnedList<TimerEntry> out;
                       return parseTimerListE1(t, out, clock) && out.size() == 1000;
                   },
                   [timers] { return xmlScan(timers); }});
    return all;
}

void printTable(const ThroughputReporter& reporter, const std::vector<Case>& readCases)
{
    std::printf("\n%-24s %9s  %-16s %9s %7s\n", "parser", "MB/s", "baseline", "MB/s", "ratio");
    for (const Case& c : readCases) {
        const std::optional<double> read = reporter.megabytesPerSecond("read/" + c.name);
        const std::optional<double> base = reporter.megabytesPerSecond("baseline/" + c.name);
        if (!read || !base)
            continue;
        std::printf("%-24s %9.1f  %-16s %9.1f %6.2fx\n", c.name.c_str(), *read, c.baselineName.c_str(), *base,
                    *base / *read);
    }
    std::printf("ratio: how many times longer the parser takes than its baseline\n");
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<Case> readCases = cases();
    for (const Case& c : readCases) {
        const qint64 bytes = c.text.toUtf8().size();
        if (!c.read(c.text) || !c.baseline()) {
            std::fprintf(stderr, "parser failed on its own page: %s\n", c.name.c_str());
            return 1;
        }
        registerThroughput("baseline/" + c.name, bytes, [&c] { return c.baseline(); });
        registerThroughput("read/" + c.name, bytes, [&c] { return c.read(c.text); });
    }
    benchmark::Initialize(&argc, argv);
    ThroughputReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printTable(reporter, readCases);
    benchmark::Shutdown();
    return 0;
}
