// Throughput of the Enigma2 answer readers on large generated answers, each measured against a
// bare token scan of the same text in the same run: the scan is what reading XML costs at all,
// the ratio is what the readers add on top.

#include "bench/throughput.h"
#include "box/e2readers.h"
#include "model/bouquet.h"
#include "model/clock.h"
#include "model/currentservice.h"
#include "model/epgitem.h"
#include "model/records.h"

#include <QString>

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 eveningStamp = 1710443700;
constexpr double ratioGoal = 2.5;

const QString xmlHead = u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"_s;

QString serviceReference(int bouquet, int service)
{
    return u"1:0:19:" + QString::number(0x2000 + bouquet * 100 + service, 16).toUpper() +
           u":3FB:1:C00000:0:0:0:";
}

QString description(int n)
{
    return u"Folge " + QString::number(n) +
           u": Kommissarin Lürsen &amp; Kommissar Stedefreund ermitteln in einem Logistikzentrum am "
           u"Bremer Hafen – und stoßen auf einen alten \"Bekannten\".\nRegie: Max Mustermann\n"
           u"Darsteller: Sabine Postel, Oliver Mommsen, Camilla Renschke";
}

QString services(int bouquets, int servicesPerBouquet)
{
    QString text = xmlHead + u"<e2servicelistrecursive>\n";
    for (int b = 0; b < bouquets; ++b) {
        text += u"\t<e2bouquet>\n\t\t<e2servicereference>1:7:1:0:0:0:0:0:0:0:FROM BOUQUET \"userbouquet.b" +
                QString::number(b) +
                u".tv\" ORDER BY bouquet</e2servicereference>\n\t\t<e2servicename>Bouquet " +
                QString::number(b) + u" &amp; Co</e2servicename>\n\t\t<e2servicelist>\n";
        for (int s = 0; s < servicesPerBouquet; ++s) {
            text += u"\t\t\t<e2service>\n\t\t\t\t<e2servicereference>" + serviceReference(b, s) +
                    u"</e2servicereference>\n\t\t\t\t<e2servicename>Sender " + QString::number(s) +
                    u" HD</e2servicename>\n\t\t\t</e2service>\n";
        }
        text += u"\t\t</e2servicelist>\n\t</e2bouquet>\n";
    }
    return text + u"</e2servicelistrecursive>\n";
}

QString event(int n, bool withEpg)
{
    if (!withEpg) {
        return u"\t<e2event>\n\t\t<e2eventid>None</e2eventid>\n\t\t<e2eventstart>None</e2eventstart>\n"
               u"\t\t<e2eventduration>None</e2eventduration>\n\t\t<e2eventcurrenttime>1710443862"
               u"</e2eventcurrenttime>\n\t\t<e2eventtitle>None</e2eventtitle>\n\t\t<e2eventdescription>None"
               u"</e2eventdescription>\n\t\t<e2eventdescriptionextended>None</e2eventdescriptionextended>\n"
               u"\t\t<e2eventservicereference>" +
               serviceReference(n / 100, n % 100) +
               u"</e2eventservicereference>\n\t\t<e2eventservicename>Sender " + QString::number(n) +
               u"</e2eventservicename>\n\t\t<e2eventgenre id=\"0\"></e2eventgenre>\n\t</e2event>\n";
    }
    return u"\t<e2event>\n\t\t<e2eventid>" + QString::number(20000 + n) +
           u"</e2eventid>\n\t\t<e2eventstart>" + QString::number(eveningStamp + (n % 48) * 1800) +
           u"</e2eventstart>\n\t\t<e2eventduration>" + QString::number(900 + (n % 8) * 450) +
           u"</e2eventduration>\n\t\t<e2eventcurrenttime>1710443862</e2eventcurrenttime>\n"
           u"\t\t<e2eventtitle>Tatort: Schöne Bescherung " +
           QString::number(n) +
           u"</e2eventtitle>\n\t\t<e2eventdescription>Fernsehfilm Deutschland 2023"
           u"</e2eventdescription>\n\t\t<e2eventdescriptionextended>" +
           description(n) + u"</e2eventdescriptionextended>\n\t\t<e2eventservicereference>" +
           serviceReference(n / 100, n % 100) +
           u"</e2eventservicereference>\n\t\t<e2eventservicename>Sender " + QString::number(n % 100) +
           u" HD</e2eventservicename>\n\t\t<e2eventgenre id=\"17\">Drama and Films: detective/thriller"
           u"</e2eventgenre>\n\t</e2event>\n";
}

// epgnow lists every service, one in ten of them without EPG.
QString eventList(int count, bool everyTenthWithoutEpg)
{
    QString text = xmlHead + u"<e2eventlist>\n";
    for (int n = 0; n < count; ++n)
        text += event(n, !(everyTenthWithoutEpg && n % 10 == 9));
    return text + u"</e2eventlist>\n";
}

QString timers(int count)
{
    QString text = xmlHead + u"<e2timerlist>\n";
    for (int n = 0; n < count; ++n) {
        const QString begin = QString::number(eveningStamp + n * 3600);
        text +=
            u"\t<e2timer>\n\t\t<e2servicereference>" + serviceReference(0, n % 100) +
            u"</e2servicereference>\n\t\t<e2servicename>Sender " + QString::number(n % 100) +
            u" HD</e2servicename>\n\t\t<e2eit>" + QString::number(n) + u"</e2eit>\n\t\t<e2name>Tatort " +
            QString::number(n) +
            u"</e2name>\n\t\t<e2description>Fernsehfilm</e2description>\n"
            u"\t\t<e2descriptionextended>" +
            description(n) + u"</e2descriptionextended>\n\t\t<e2disabled>0</e2disabled>\n\t\t<e2timebegin>" +
            begin + u"</e2timebegin>\n\t\t<e2timeend>" + QString::number(eveningStamp + n * 3600 + 5400) +
            u"</e2timeend>\n\t\t<e2duration>5400</e2duration>\n\t\t<e2startprepare>" + begin +
            u"</e2startprepare>\n\t\t<e2justplay>0</e2justplay>\n\t\t<e2afterevent>3</e2afterevent>\n"
            u"\t\t<e2location>/media/hdd/movie/</e2location>\n\t\t<e2tags></e2tags>\n"
            u"\t\t<e2logentries>[(1710443380, 15, 'record time changed')]</e2logentries>\n"
            u"\t\t<e2filename>/media/hdd/movie/Tatort.ts</e2filename>\n\t\t<e2backoff>0</e2backoff>\n"
            u"\t\t<e2nextactivation></e2nextactivation>\n\t\t<e2firsttryprepare>True</e2firsttryprepare>\n"
            u"\t\t<e2state>0</e2state>\n\t\t<e2repeated>0</e2repeated>\n\t\t<e2dontsave>0</e2dontsave>\n"
            u"\t\t<e2cancled>False</e2cancled>\n\t\t<e2toggledisabled>1</e2toggledisabled>\n"
            u"\t\t<e2toggledisabledimg>off</e2toggledisabledimg>\n\t</e2timer>\n";
    }
    return text + u"</e2timerlist>\n";
}

QString movies(int count)
{
    QString text = xmlHead + u"<e2movielist>\n";
    for (int n = 0; n < count; ++n) {
        const QString file =
            u"/media/hdd/movie/20240314 2010 - Sender HD - Tatort_ Folge " + QString::number(n) + u".ts";
        text += u"\t<e2movie>\n\t\t<e2servicereference>1:0:0:0:0:0:0:0:0:0:" + file +
                u"</e2servicereference>\n\t\t<e2title>Tatort: Folge " + QString::number(n) +
                u"</e2title>\n\t\t<e2description>Fernsehfilm Deutschland 2023</e2description>\n"
                u"\t\t<e2descriptionextended>" +
                description(n) +
                u"</e2descriptionextended>\n\t\t<e2servicename>Sender HD</e2servicename>\n"
                u"\t\t<e2time>" +
                QString::number(eveningStamp - n * 86400) +
                u"</e2time>\n\t\t<e2length>90:00</e2length>\n"
                u"\t\t<e2tags></e2tags>\n\t\t<e2filename>" +
                file + u"</e2filename>\n\t\t<e2filesize>" + QString::number(qint64(5368709120) + n) +
                u"</e2filesize>\n\t</e2movie>\n";
    }
    return text + u"\t<e2locations>\n\t\t<e2location>Filme</e2location>\n\t</e2locations>\n</e2movielist>\n";
}

QString currentService()
{
    return xmlHead + u"<e2currentserviceinformation>\n\t<e2service>\n\t\t<e2servicereference>" +
           serviceReference(0, 0) +
           u"</e2servicereference>\n\t\t<e2servicename>Das Erste HD</e2servicename>\n\t\t<e2providername>ARD"
           u"</e2providername>\n\t\t<e2videowidth>1280</e2videowidth>\n\t\t<e2videoheight>720</"
           u"e2videoheight>\n"
           u"\t\t<e2servicevideosize>1280x720</e2servicevideosize>\n\t\t<e2iswidescreen>1</e2iswidescreen>\n"
           u"\t</e2service>\n\t<e2eventlist>\n" +
           event(0, true) + event(1, true) + u"\t</e2eventlist>\n</e2currentserviceinformation>\n";
}

QString about()
{
    return xmlHead +
           u"<e2abouts>\n\t<e2about>\n\t\t<e2enigmaversion>2024-03-10</e2enigmaversion>\n"
           u"\t\t<e2imageversion>7.4</e2imageversion>\n\t\t<e2webifversion>OWIF 1.5.2</e2webifversion>\n"
           u"\t\t<e2fpversion>None</e2fpversion>\n\t\t<e2model>Uno 4K SE</e2model>\n"
           u"\t\t<e2lanmac>00:1d:ec:0a:1b:2c</e2lanmac>\n\t\t<e2landhcp>True</e2landhcp>\n"
           u"\t\t<e2lanip>192.168.178.44</e2lanip>\n\t\t<e2lanmask>255.255.255.0</e2lanmask>\n"
           u"\t\t<e2langw>192.168.178.1</e2langw>\n\t\t<e2hddinfo>\n\t\t\t<model>ATA(ST2000LM015)</model>\n"
           u"\t\t\t<capacity>1.8 TB</capacity>\n\t\t\t<free>1243.7 GB</free>\n\t\t</e2hddinfo>\n"
           u"\t\t<e2tunerinfo>\n\t\t\t<e2nim>\n\t\t\t\t<name>Tuner A</name>\n\t\t\t\t<type>DVB-S2</type>\n"
           u"\t\t\t</e2nim>\n\t\t</e2tunerinfo>\n\t</e2about>\n</e2abouts>\n";
}

QString simpleResult(const QString& state, const QString& text)
{
    return xmlHead + u"<e2simplexmlresult>\n\t<e2state>" + state + u"</e2state>\n\t<e2statetext>" + text +
           u"</e2statetext>\n</e2simplexmlresult>\n";
}

struct Case
{
    std::string name;
    QString text;
    std::function<bool(const QString&)> read;
};

std::vector<Case> cases()
{
    static const ManualClock clock(eveningStamp, 3600);
    const Clock& c = clock;
    const QString epgnow = eventList(20000, true);
    const QString epgmulti = eventList(20000, false);
    return {
        {"services 200x100", services(200, 100),
         [](const QString& t) {
             OwnedList<Bouquet> out;
             return parseE2Services(t, out);
         }},
        {"bouquet EPG epgnow 20000", epgnow,
         [&c](const QString& t) {
             OwnedList<EpgItem> out;
             return parseE2BouquetEpg(t, u"bq"_s, out, c);
         }},
        {"bouquet EPG epgmulti 20000", epgmulti,
         [&c](const QString& t) {
             OwnedList<EpgItem> out;
             return parseE2BouquetEpg(t, u"bq"_s, out, c);
         }},
        {"event list 20000", epgmulti,
         [&c](const QString& t) {
             OwnedList<EpgItem> out;
             return parseE2EventList(t, out, c);
         }},
        {"timer list 1000", timers(1000),
         [&c](const QString& t) {
             OwnedList<TimerEntry> out;
             return parseE2TimerList(t, out, c);
         }},
        {"movie list 5000", movies(5000),
         [](const QString& t) {
             OwnedList<MovieEntry> out;
             return parseE2MovieList(t, out);
         }},
        {"current service", currentService(),
         [&c](const QString& t) {
             CurrentServiceE2 out;
             return parseE2CurrentService(t, out, c);
         }},
        {"about", about(),
         [](const QString& t) {
             AboutInfo out;
             return parseE2About(t, out);
         }},
        {"power state",
         xmlHead + u"<e2powerstate>\n\t<e2instandby>\nfalse\t</e2instandby>\n</e2powerstate>\n",
         [](const QString& t) { return !parseE2PowerState(t); }},
        {"current time", xmlHead + u"<e2currenttime>\n\t20:17:42\n</e2currenttime>\n",
         [](const QString& t) {
             QString out;
             return parseE2CurrentTime(t, out);
         }},
        {"signal",
         xmlHead + u"<e2frontendstatus>\n\t<e2snrdb>12.34 dB</e2snrdb>\n\t<e2snr>78 %</e2snr>\n"
                   u"\t<e2ber>0</e2ber>\n\t<e2acg>93 %</e2acg>\n</e2frontendstatus>\n",
         [](const QString& t) {
             SignalInfo out;
             return parseE2Signal(t, out);
         }},
        {"volume",
         xmlHead + u"<e2volume>\n\t<e2result>True</e2result>\n\t<e2resulttext>Status</e2resulttext>\n"
                   u"\t<e2current>45</e2current>\n\t<e2ismuted>False</e2ismuted>\n</e2volume>\n",
         [](const QString& t) {
             bool muted = false;
             int level = 0;
             return parseE2Volume(t, muted, level);
         }},
        {"message answer", simpleResult(u"True"_s, u"Answer is YES!"_s),
         [](const QString& t) {
             MessageAnswer out = AnswerNo;
             return parseE2MessageAnswer(t, out);
         }},
        {"movie delete", simpleResult(u"True"_s, u"The movie 'Tatort' has been deleted successfully"_s),
         [](const QString& t) { return parseE2MovieDeleteResult(t); }},
        {"timer command", simpleResult(u"True"_s, u"Timer 'Tatort: Schöne Bescherung' added"_s),
         [](const QString& t) { return parseE2TimerCommandResult(t); }},
    };
}

// Returns whether every reader met the goal.
bool printTable(const ThroughputReporter& reporter, const std::vector<Case>& readCases)
{
    bool met = true;
    std::printf("\n%-28s %10s %10s %7s\n", "reader", "MB/s", "scan MB/s", "ratio");
    for (const Case& c : readCases) {
        const std::optional<double> read = reporter.megabytesPerSecond("read/" + c.name);
        const std::optional<double> scanned = reporter.megabytesPerSecond("scan/" + c.name);
        if (!read || !scanned)
            continue;
        const double ratio = *scanned / *read;
        met = met && ratio <= ratioGoal;
        std::printf("%-28s %10.1f %10.1f %6.2fx%s\n", c.name.c_str(), *read, *scanned, ratio,
                    ratio <= ratioGoal ? "" : "  above goal");
    }
    std::printf("goal: every reader within %.1fx of the scan\n", ratioGoal);
    return met;
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<Case> readCases = cases();
    for (const Case& c : readCases) {
        const qint64 bytes = c.text.toUtf8().size();
        if (!c.read(c.text)) {
            std::fprintf(stderr, "reader failed on its own answer: %s\n", c.name.c_str());
            return 1;
        }
        registerThroughput("scan/" + c.name, bytes, [&c] { return xmlScan(c.text); });
        registerThroughput("read/" + c.name, bytes, [&c] { return c.read(c.text); });
    }
    benchmark::Initialize(&argc, argv);
    ThroughputReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const bool met = printTable(reporter, readCases);
    benchmark::Shutdown();
    return met ? 0 : 2;
}
