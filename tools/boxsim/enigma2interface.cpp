#include "tools/boxsim/enigma2interface.h"

#include "tools/boxsim/receiverstate.h"
#include "tools/boxsim/screenpicture.h"
#include "tools/boxsim/textutil.h"
#include "tools/boxsim/transportstream.h"

#include <QDateTime>
#include <QSet>

#include <algorithm>
#include <cmath>

namespace boxsim {

namespace {

constexpr char XmlDeclaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
constexpr char EmptyEventList[] = "<e2eventlist>\n</e2eventlist>\n";

Answer xmlAnswer(QByteArray body)
{
    Answer answer;
    answer.contentType = "text/xml; charset=UTF-8";
    answer.body = std::move(body);
    return answer;
}

QByteArray trueFalse(bool value)
{
    return value ? QByteArrayLiteral("True") : QByteArrayLiteral("False");
}

// What the receiver answers for a service, bouquet or event it does not know.
Answer emptyEventList()
{
    return xmlAnswer(XmlDeclaration + QByteArray(EmptyEventList));
}

Answer simpleResult(bool state, const QString& text)
{
    QByteArray out = XmlDeclaration;
    out += "<e2simplexmlresult>\n\t<e2state>";
    out += trueFalse(state);
    out += "</e2state>\n\t<e2statetext>";
    text::appendXml(out, text);
    out += "</e2statetext>\n</e2simplexmlresult>\n";
    return xmlAnswer(out);
}

void element(QByteArray& out, const char* indent, const char* name, const QByteArray& xmlValue)
{
    out += indent;
    out += '<';
    out += name;
    out += '>';
    out += xmlValue;
    out += "</";
    out += name;
    out += ">\n";
}

void element(QByteArray& out, const char* indent, const char* name, const QString& value)
{
    element(out, indent, name, text::xml(value));
}

void numberElement(QByteArray& out, const char* indent, const char* name, qint64 value)
{
    out += indent;
    out += '<';
    out += name;
    out += '>';
    text::appendNumber(out, value);
    out += "</";
    out += name;
    out += ">\n";
}

// One e2event of an event list; without an event the receiver writes "None" everywhere.
void appendEvent(QByteArray& out, const EpgEvent* event, const LineUpService& service,
                 const QByteArray& currentTime)
{
    out += "\t<e2event>\n";
    if (event) {
        const Programme& p = EpgGenerator::programme(*event);
        numberElement(out, "\t\t", "e2eventid", event->id);
        numberElement(out, "\t\t", "e2eventstart", event->start);
        numberElement(out, "\t\t", "e2eventduration", event->duration);
        element(out, "\t\t", "e2eventcurrenttime", currentTime);
        element(out, "\t\t", "e2eventtitle", p.xmlTitle);
        element(out, "\t\t", "e2eventdescription", p.xmlDescription);
        element(out, "\t\t", "e2eventdescriptionextended", p.xmlDescriptionExtended);
        element(out, "\t\t", "e2eventservicereference", service.xmlReference);
        element(out, "\t\t", "e2eventservicename", service.xmlName);
        out += "\t\t<e2eventgenre id=\"";
        text::appendNumber(out, p.genreId);
        out += "\">";
        out += p.xmlGenre;
        out += "</e2eventgenre>\n";
    } else {
        out += "\t\t<e2eventid>None</e2eventid>\n"
               "\t\t<e2eventstart>None</e2eventstart>\n"
               "\t\t<e2eventduration>None</e2eventduration>\n";
        element(out, "\t\t", "e2eventcurrenttime", currentTime);
        out += "\t\t<e2eventtitle>None</e2eventtitle>\n"
               "\t\t<e2eventdescription>None</e2eventdescription>\n"
               "\t\t<e2eventdescriptionextended>None</e2eventdescriptionextended>\n";
        element(out, "\t\t", "e2eventservicereference", service.xmlReference);
        element(out, "\t\t", "e2eventservicename", service.xmlName);
        out += "\t\t<e2eventgenre id=\"0\"></e2eventgenre>\n";
    }
    out += "\t</e2event>\n";
}

QByteArray htmlPage(const QByteArray& title, const QByteArray& heading, const QByteArray& text)
{
    return "<html>\n  <head><title>" + title + "</title></head>\n  <body>\n    <h1>" + heading +
           "</h1>\n    <p>" + text + "</p>\n  </body>\n</html>\n";
}

QString lengthText(int seconds)
{
    if (seconds < 0)
        return QStringLiteral("?:??");
    return QString::number(seconds / 60) + u':' +
           QStringLiteral("%1").arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

bool isHd(const QString& reference)
{
    return reference.startsWith(QLatin1String("1:0:19:"));
}

QString serviceIdPart(const QString& reference, int index)
{
    const QStringList parts = reference.split(u':');
    bool ok = false;
    const int value = parts.value(index).toInt(&ok, 16);
    return ok ? QString::number(value) : QStringLiteral("0");
}

struct NamedEvent
{
    const LineUpService* service;
    EpgEvent event;
};

// The event that sRef and eventid name, when its service has it in the EPG window.
std::optional<NamedEvent> namedEvent(ReceiverState& state, const IncomingRequest& request)
{
    const LineUpService* service = state.lineUp().service(request.value(QStringLiteral("sRef")));
    if (!service)
        return std::nullopt;
    const int id = int(text::toInteger(request.value(QStringLiteral("eventid")), -1));
    const std::optional<EpgEvent> event = state.epg().byId(*service, id, state.epgFrom(), state.epgTo());
    if (!event)
        return std::nullopt;
    return NamedEvent{service, *event};
}

} // namespace

Enigma2Interface::Enigma2Interface(ReceiverState* state)
    : m_state(state)
{
    m_routes = {
        {QStringLiteral("/web/about"), {&Enigma2Interface::about}},
        {QStringLiteral("/web/currenttime"), {&Enigma2Interface::currentTime}},
        {QStringLiteral("/web/getallservices"), {&Enigma2Interface::allServices}},
        {QStringLiteral("/web/getcurrent"), {&Enigma2Interface::currentService}},
        {QStringLiteral("/web/powerstate"), {&Enigma2Interface::powerState}},
        {QStringLiteral("/web/signal"), {&Enigma2Interface::signal}},
        {QStringLiteral("/web/vol"), {&Enigma2Interface::volume}},
        {QStringLiteral("/web/remotecontrol"), {&Enigma2Interface::remoteControl, {"command"}}},
        {QStringLiteral("/grab"), {&Enigma2Interface::grab}},
        {QStringLiteral("/file"), {&Enigma2Interface::file, {"file"}}},
        {QStringLiteral("/web/recordnow"), {&Enigma2Interface::recordNow}},
        {QStringLiteral("/web/epgservice"), {&Enigma2Interface::epgService, {"sRef"}}},
        {QStringLiteral("/web/epgmulti"), {&Enigma2Interface::epgMulti, {"bRef"}}},
        {QStringLiteral("/web/epgnow"), {&Enigma2Interface::epgNow, {"bRef"}}},
        {QStringLiteral("/web/epgnext"), {&Enigma2Interface::epgNext, {"bRef"}}},
        {QStringLiteral("/web/epgsimilar"), {&Enigma2Interface::epgSimilar, {"sRef", "eventid"}}},
        {QStringLiteral("/web/epgsearch"), {&Enigma2Interface::epgSearch, {"search"}}},
        {QStringLiteral("/web/zap"), {&Enigma2Interface::zap, {"sRef"}}},
        {QStringLiteral("/web/message"), {&Enigma2Interface::message, {"text", "type"}}},
        {QStringLiteral("/web/messageanswer"), {&Enigma2Interface::messageAnswer}},
        {QStringLiteral("/web/movielist"), {&Enigma2Interface::movieList}},
        {QStringLiteral("/web/moviedelete"), {&Enigma2Interface::movieDelete, {"sRef"}}},
        {QStringLiteral("/web/timerlist"), {&Enigma2Interface::timerList}},
        {QStringLiteral("/web/timercleanup"), {&Enigma2Interface::timerCleanup}},
        {QStringLiteral("/web/timeraddbyeventid"),
         {&Enigma2Interface::timerAddByEventId, {"sRef", "eventid"}}},
        {QStringLiteral("/web/timerdelete"), {&Enigma2Interface::timerDelete, {"sRef", "begin", "end"}}},
    };
}

Answer Enigma2Interface::answer(const IncomingRequest& request)
{
    const auto it = m_routes.constFind(request.path);
    if (it == m_routes.cend())
        return errorAnswer(404);
    m_state->update();
    for (const char* name : it->required) {
        if (!request.has(QLatin1String(name)))
            return missingParameter(QLatin1String(name));
    }
    return (this->*it->handler)(request);
}

Answer Enigma2Interface::refusal(const IncomingRequest& request) const
{
    if (request.path == QLatin1String("/web/remotecontrol")) {
        QByteArray out = XmlDeclaration;
        out += "<e2remotecontrol>\n\t<e2result>False</e2result>\n";
        element(out, "\t", "e2resulttext", QStringLiteral("RC command refused"));
        out += "</e2remotecontrol>\n";
        return xmlAnswer(out);
    }
    if (request.path == QLatin1String("/web/vol")) {
        QByteArray out = XmlDeclaration;
        out += "<e2volume>\n\t<e2result>False</e2result>\n";
        element(out, "\t", "e2resulttext", QStringLiteral("Volume command refused"));
        numberElement(out, "\t", "e2current", m_state->volume());
        out += "\t<e2ismuted>" + trueFalse(m_state->isMuted()) + "</e2ismuted>\n</e2volume>\n";
        return xmlAnswer(out);
    }
    return simpleResult(false, QStringLiteral("Command refused by the receiver"));
}

Answer Enigma2Interface::errorAnswer(int status) const
{
    Answer answer;
    answer.status = status;
    answer.contentType = "text/html";
    switch (status) {
    case 401:
        answer.body =
            htmlPage("401 - Unauthorized", "Unauthorized", "You need to log in to access this resource.");
        break;
    case 404:
        answer.body = htmlPage("404 - No Such Resource", "No Such Resource", "No such child resource.");
        break;
    default:
        answer.body = htmlPage("500 - Internal Server Error", "Internal Server Error",
                               "An error occurred rendering the requested page.");
        break;
    }
    return answer;
}

QByteArray Enigma2Interface::realm() const
{
    return "Enigma2 WebInterface";
}

void Enigma2Interface::finish(Answer& answer) const
{
    // The receiver's web server streams its XML answers chunked, without Content-Length.
    answer.chunked = answer.status == 200;
}

Answer Enigma2Interface::missingParameter(const QString& name) const
{
    Answer answer = errorAnswer(500);
    answer.body = htmlPage("500 - Internal Server Error", "Internal Server Error",
                           "Missing parameter '" + text::xml(name) + "'.");
    return answer;
}

Answer Enigma2Interface::about(const IncomingRequest&)
{
    const LineUpService* service = m_state->liveService();
    const QString reference = m_state->currentReference();
    const qint64 free = m_state->diskFree();
    QByteArray out = XmlDeclaration;
    out.reserve(2048);
    out += "<e2abouts>\n\t<e2about>\n"
           "\t\t<e2oeversion>OE-Alliance 5.3</e2oeversion>\n"
           "\t\t<e2enigmaversion>2024-03-10</e2enigmaversion>\n"
           "\t\t<e2distroversion>openatv</e2distroversion>\n"
           "\t\t<e2imageversion>7.4</e2imageversion>\n"
           "\t\t<e2driverdate>20231017</e2driverdate>\n"
           "\t\t<e2webifversion>OWIF 1.5.2</e2webifversion>\n"
           "\t\t<e2fpversion>None</e2fpversion>\n"
           "\t\t<e2model>Uno 4K SE</e2model>\n"
           "\t\t<e2lanmac>00:1d:ec:0a:1b:2c</e2lanmac>\n"
           "\t\t<e2landhcp>True</e2landhcp>\n"
           "\t\t<e2lanip>192.168.178.44</e2lanip>\n"
           "\t\t<e2lanmask>255.255.255.0</e2lanmask>\n"
           "\t\t<e2langw>192.168.178.1</e2langw>\n"
           "\t\t<e2hddinfo>\n"
           "\t\t\t<model>ATA(ST2000LM015-2E81)</model>\n";
    out += "\t\t\t<capacity>" +
           QByteArray::number(double(m_state->diskCapacity()) / (1024.0 * 1024 * 1024 * 1024), 'f', 1) +
           " TB</capacity>\n";
    out +=
        "\t\t\t<free>" + QByteArray::number(double(free) / (1024.0 * 1024 * 1024), 'f', 1) + " GB</free>\n";
    out += "\t\t\t<mount>/media/hdd</mount>\n"
           "\t\t</e2hddinfo>\n"
           "\t\t<e2tunerinfo>\n";
    for (const char* tuner : {"Tuner A", "Tuner B"}) {
        out += "\t\t\t<e2nim>\n\t\t\t\t<name>";
        out += tuner;
        out += "</name>\n\t\t\t\t<type>Vuplus DVB-S NIM(7376 FBC) (DVB-S2)</type>\n"
               "\t\t\t\t<live></live>\n\t\t\t\t<rec></rec>\n\t\t\t</e2nim>\n";
    }
    out += "\t\t</e2tunerinfo>\n";
    const bool hd = isHd(reference);
    element(out, "\t\t", "e2servicename", service ? service->xmlName : QByteArray());
    element(out, "\t\t", "e2servicenamespace", serviceIdPart(reference, 6));
    element(out, "\t\t", "e2serviceaspect", QByteArrayLiteral("3"));
    element(out, "\t\t", "e2serviceprovider", service ? service->provider : QString());
    element(out, "\t\t", "e2videowidth", hd ? QByteArrayLiteral("1280") : QByteArrayLiteral("720"));
    element(out, "\t\t", "e2videoheight", hd ? QByteArrayLiteral("720") : QByteArrayLiteral("576"));
    element(out, "\t\t", "e2servicevideosize",
            hd ? QByteArrayLiteral("1280x720") : QByteArrayLiteral("720x576"));
    out += "\t\t<e2apid>5102</e2apid>\n\t\t<e2vpid>5101</e2vpid>\n\t\t<e2pcrpid>5101</e2pcrpid>\n"
           "\t\t<e2pmtpid>5100</e2pmtpid>\n\t\t<e2txtpid>5104</e2txtpid>\n";
    element(out, "\t\t", "e2tsid", serviceIdPart(reference, 4));
    element(out, "\t\t", "e2onid", serviceIdPart(reference, 5));
    element(out, "\t\t", "e2sid", serviceIdPart(reference, 3));
    out += "\t</e2about>\n</e2abouts>\n";
    return xmlAnswer(out);
}

Answer Enigma2Interface::currentTime(const IncomingRequest&)
{
    const QTime time = QDateTime::fromSecsSinceEpoch(m_state->now()).time();
    QByteArray out = XmlDeclaration;
    out += "<e2currenttime>\n\t";
    out += QString::asprintf("%2d:%02d:%02d", time.hour(), time.minute(), time.second()).toLatin1();
    out += "\n</e2currenttime>\n";
    return xmlAnswer(out);
}

Answer Enigma2Interface::allServices(const IncomingRequest&)
{
    const LineUp& lineUp = m_state->lineUp();
    QByteArray out;
    out.reserve(256 + qsizetype(lineUp.serviceCount()) * 180 + lineUp.bouquets().size() * 300);
    out += XmlDeclaration;
    out += "<e2servicelistrecursive>\n";
    for (const LineUpBouquet& bouquet : lineUp.bouquets()) {
        if (bouquet.services.isEmpty()) {
            // The receiver lists a bouquet without services as a plain service.
            out += "\t\t<e2service>\n";
            element(out, "\t\t\t", "e2servicereference", bouquet.xmlReference);
            element(out, "\t\t\t", "e2servicename", bouquet.xmlName);
            out += "\t\t</e2service>\n";
            continue;
        }
        out += "\t\t<e2bouquet>\n";
        element(out, "\t\t\t", "e2servicereference", bouquet.xmlReference);
        element(out, "\t\t\t", "e2servicename", bouquet.xmlName);
        out += "\t\t\t<e2servicelist>\n";
        for (const LineUpService& service : bouquet.services) {
            out += "\t\t\t<e2service>\n\t\t\t\t<e2servicereference>";
            out += service.xmlReference;
            out += "</e2servicereference>\n\t\t\t\t<e2servicename>";
            out += service.xmlName;
            out += "</e2servicename>\n\t\t\t</e2service>\n";
        }
        out += "\t\t\t</e2servicelist>\n\t\t</e2bouquet>\n";
    }
    out += "</e2servicelistrecursive>\n";
    return xmlAnswer(out);
}

Answer Enigma2Interface::currentService(const IncomingRequest&)
{
    const qint64 now = m_state->now();
    const QString reference = m_state->currentReference();
    const std::optional<Movie> movie = m_state->playingMovie();
    const LineUpService* service = movie ? nullptr : m_state->liveService();
    const QString name = movie ? movie->title : (service ? service->name : QString());
    const QString provider = service ? service->provider : QString();
    const bool hd = movie ? true : isHd(reference);

    QByteArray out = XmlDeclaration;
    out.reserve(4096);
    out += "<e2currentserviceinformation>\n\t<e2service>\n";
    element(out, "\t\t", "e2servicereference", reference);
    element(out, "\t\t", "e2servicename", name);
    element(out, "\t\t", "e2providername", provider);
    element(out, "\t\t", "e2videowidth", hd ? QByteArrayLiteral("1280") : QByteArrayLiteral("720"));
    element(out, "\t\t", "e2videoheight", hd ? QByteArrayLiteral("720") : QByteArrayLiteral("576"));
    element(out, "\t\t", "e2servicevideosize",
            hd ? QByteArrayLiteral("1280x720") : QByteArrayLiteral("720x576"));
    out += "\t\t<e2iswidescreen>\n1\t\t</e2iswidescreen>\n";
    out += "\t\t<e2apid>5102</e2apid>\n\t\t<e2vpid>5101</e2vpid>\n\t\t<e2pcrpid>5101</e2pcrpid>\n"
           "\t\t<e2pmtpid>5100</e2pmtpid>\n\t\t<e2txtpid>5104</e2txtpid>\n";
    element(out, "\t\t", "e2tsid", serviceIdPart(reference, 4));
    element(out, "\t\t", "e2onid", serviceIdPart(reference, 5));
    element(out, "\t\t", "e2sid", serviceIdPart(reference, 3));
    out += "\t</e2service>\n\t<e2eventlist>\n";

    std::optional<EpgEvent> events[2];
    if (service) {
        events[0] = m_state->epg().at(*service, now);
        events[1] = m_state->epg().after(*service, now);
    }
    for (const std::optional<EpgEvent>& event : events) {
        out += "\t\t<e2event>\n";
        element(out, "\t\t\t", "e2eventservicereference", reference);
        element(out, "\t\t\t", "e2eventservicename", name);
        element(out, "\t\t\t", "e2eventprovidername", provider);
        if (event) {
            const Programme& p = EpgGenerator::programme(*event);
            numberElement(out, "\t\t\t", "e2eventid", event->id);
            element(out, "\t\t\t", "e2eventname", p.xmlTitle);
            element(out, "\t\t\t", "e2eventtitle", p.xmlTitle);
            element(out, "\t\t\t", "e2eventdescription", p.xmlDescription);
            numberElement(out, "\t\t\t", "e2eventstart", event->start);
            numberElement(out, "\t\t\t", "e2eventduration", event->duration);
            // For the running event the rest of it; for the next one the time until it ends.
            numberElement(out, "\t\t\t", "e2eventremaining", event->end() - now);
            numberElement(out, "\t\t\t", "e2eventcurrenttime", now);
            element(out, "\t\t\t", "e2eventdescriptionextended", p.xmlDescriptionExtended);
            out += "\t\t\t<e2eventgenre id=\"";
            text::appendNumber(out, p.genreId);
            out += "\">" + p.xmlGenre + "</e2eventgenre>\n";
        } else {
            out += "\t\t\t<e2eventid></e2eventid>\n"
                   "\t\t\t<e2eventname>N/A</e2eventname>\n"
                   "\t\t\t<e2eventtitle>N/A</e2eventtitle>\n"
                   "\t\t\t<e2eventdescription>N/A</e2eventdescription>\n"
                   "\t\t\t<e2eventstart>0</e2eventstart>\n"
                   "\t\t\t<e2eventduration>0</e2eventduration>\n"
                   "\t\t\t<e2eventremaining>0</e2eventremaining>\n";
            numberElement(out, "\t\t\t", "e2eventcurrenttime", now);
            out += "\t\t\t<e2eventdescriptionextended>N/A</e2eventdescriptionextended>\n"
                   "\t\t\t<e2eventgenre id=\"0\"></e2eventgenre>\n";
        }
        out += "\t\t</e2event>\n";
    }
    out += "\t</e2eventlist>\n</e2currentserviceinformation>\n";
    return xmlAnswer(out);
}

Answer Enigma2Interface::powerState(const IncomingRequest& request)
{
    // The answer to a state change reports the state from before the change, as receivers do.
    QByteArray out = XmlDeclaration;
    out += "<e2powerstate>\n\t<e2instandby>\n";
    out += m_state->isStandby() ? "true" : "false";
    out += "\t</e2instandby>\n</e2powerstate>\n";
    if (request.has(QStringLiteral("newstate"))) {
        switch (text::toInteger(request.value(QStringLiteral("newstate")), -1)) {
        case 0:
            m_state->setStandby(!m_state->isStandby());
            break;
        case 1:
            m_state->powerAction(PowerAction::DeepStandby);
            break;
        case 2:
            m_state->powerAction(PowerAction::Reboot);
            break;
        case 3:
            m_state->powerAction(PowerAction::RestartGui);
            break;
        case 4:
            m_state->setStandby(false);
            break;
        case 5:
            m_state->setStandby(true);
            break;
        default:
            break;
        }
    }
    return xmlAnswer(out);
}

Answer Enigma2Interface::signal(const IncomingRequest&)
{
    const SignalSample sample = m_state->signal();
    QByteArray out = XmlDeclaration;
    out += "<e2frontendstatus>\n\t<e2snrdb>" + QByteArray::number(sample.snrDb, 'f', 2) + " dB</e2snrdb>\n";
    out += "\t<e2snr>" + QByteArray::number(sample.snrPercent) + " %</e2snr>\n";
    out += "\t<e2ber>" + QByteArray::number(sample.ber) + "</e2ber>\n";
    out += "\t<e2acg>" + QByteArray::number(sample.agcPercent) + " %</e2acg>\n</e2frontendstatus>\n";
    return xmlAnswer(out);
}

Answer Enigma2Interface::volume(const IncomingRequest& request)
{
    bool result = true;
    QString resultText = QStringLiteral("Status");
    if (request.has(QStringLiteral("set"))) {
        const QString set = request.value(QStringLiteral("set"));
        if (set == QLatin1String("mute")) {
            m_state->setMuted(!m_state->isMuted());
            resultText = QStringLiteral("Mute toggled");
        } else if (set == QLatin1String("up")) {
            m_state->changeVolume(m_state->volumeStep());
            resultText = QStringLiteral("Volume changed");
        } else if (set == QLatin1String("down")) {
            m_state->changeVolume(-m_state->volumeStep());
            resultText = QStringLiteral("Volume changed");
        } else if (set.startsWith(QLatin1String("set"))) {
            bool ok = false;
            const int level = set.mid(3).toInt(&ok, 10);
            if (ok) {
                m_state->setVolume(level);
                resultText = QStringLiteral("Volume set to ") + QString::number(m_state->volume());
            } else {
                result = false;
                resultText = QStringLiteral("Wrong parameter format 'set=") + set +
                             QStringLiteral("'. Use set=set15 ");
            }
        } else {
            result = false;
            resultText = QStringLiteral("Unknown Volume command ") + set;
        }
    }
    QByteArray out = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<e2volume>\n";
    out += "\t<e2result>" + trueFalse(result) + "</e2result>\n";
    element(out, "\t", "e2resulttext", resultText);
    numberElement(out, "\t", "e2current", m_state->volume());
    out += "\t<e2ismuted>" + trueFalse(m_state->isMuted()) + "</e2ismuted>\n</e2volume>\n";
    return xmlAnswer(out);
}

Answer Enigma2Interface::remoteControl(const IncomingRequest& request)
{
    const QString command = request.value(QStringLiteral("command"));
    bool ok = false;
    const int code = command.toInt(&ok, 10);
    QByteArray out = XmlDeclaration;
    out += "<e2remotecontrol>\n";
    if (ok) {
        m_state->pressKey(code, request.value(QStringLiteral("type")) == QLatin1String("long"));
        out += "\t<e2result>True</e2result>\n";
        element(out, "\t", "e2resulttext",
                QStringLiteral("RC command '") + command + QStringLiteral("' has been issued"));
    } else {
        out += "\t<e2result>False</e2result>\n";
        element(out, "\t", "e2resulttext",
                QStringLiteral("the command was not in the form 'command=<int>': ") + command);
    }
    out += "</e2remotecontrol>\n";
    return xmlAnswer(out);
}

Answer Enigma2Interface::file(const IncomingRequest& request)
{
    const QString path = request.value(QStringLiteral("file"));
    const QList<Movie> movies = m_state->movies();
    const bool stored = std::any_of(movies.cbegin(), movies.cend(),
                                    [&path](const Movie& movie) { return movie.fileName == path; });
    if (!stored)
        return errorAnswer(404);
    Answer answer;
    answer.contentType = "video/mp2t";
    constexpr int recordingPackets = 200;
    answer.body = TransportStream().packets(recordingPackets);
    return answer;
}

Answer Enigma2Interface::grab(const IncomingRequest&)
{
    ScreenContent content;
    content.standby = m_state->isStandby();
    content.time = QDateTime::fromSecsSinceEpoch(m_state->now()).toString(QStringLiteral("HH:mm:ss"));
    if (const std::optional<Movie> movie = m_state->playingMovie()) {
        content.channel = movie->title;
        content.event = m_state->isPaused() ? QStringLiteral("||") : QStringLiteral(">");
    } else if (const LineUpService* service = m_state->liveService()) {
        content.channel = service->name;
        if (const std::optional<EpgEvent> event = m_state->epg().at(*service, m_state->now()))
            content.event = EpgGenerator::programme(*event).title;
    }
    // The keys of the last moments, as the screen still shows their effect.
    const QList<RemoteKeyPress> keys = m_state->pressedKeys();
    constexpr qsizetype shownKeys = 8;
    for (qsizetype i = std::max<qsizetype>(0, keys.size() - shownKeys); i < keys.size(); ++i)
        content.lastKeys.append(QString::number(keys.at(i).code) +
                                (keys.at(i).longPress ? QStringLiteral("L") : QString()));
    Answer answer;
    answer.contentType = "image/png";
    answer.body = drawScreenPicture(content);
    return answer;
}

Answer Enigma2Interface::recordNow(const IncomingRequest&)
{
    if (!m_state->startInstantRecording())
        return simpleResult(false, QStringLiteral("Instant record not possible during playback"));
    return simpleResult(true, QStringLiteral("Instant record for current Event started"));
}

Answer Enigma2Interface::epgService(const IncomingRequest& request)
{
    const LineUpService* service = m_state->lineUp().service(request.value(QStringLiteral("sRef")));
    if (!service)
        return emptyEventList();
    QByteArray out = XmlDeclaration;
    const QList<EpgEvent> events = m_state->windowEvents(*service);
    out.reserve(out.size() + events.size() * 900 + 64);
    out += "<e2eventlist>\n";
    const QByteArray currentTime = "0";
    for (const EpgEvent& event : events)
        appendEvent(out, &event, *service, currentTime);
    out += "</e2eventlist>\n";
    return xmlAnswer(out);
}

Answer Enigma2Interface::epgMulti(const IncomingRequest& request)
{
    const LineUpBouquet* bouquet = m_state->lineUp().bouquet(request.value(QStringLiteral("bRef")));
    if (!bouquet)
        return emptyEventList();
    QByteArray out = XmlDeclaration;
    QByteArray currentTime;
    text::appendNumber(currentTime, m_state->now());
    out.reserve(qsizetype(bouquet->services.size()) * 100 * 900);
    out += "<e2eventlist>\n";
    for (const LineUpService& service : bouquet->services) {
        const QList<EpgEvent> events = m_state->windowEvents(service);
        for (const EpgEvent& event : events)
            appendEvent(out, &event, service, currentTime);
    }
    out += "</e2eventlist>\n";
    return xmlAnswer(out);
}

Answer Enigma2Interface::epgNow(const IncomingRequest& request)
{
    return epgNowNext(request, false);
}

Answer Enigma2Interface::epgNext(const IncomingRequest& request)
{
    return epgNowNext(request, true);
}

Answer Enigma2Interface::epgNowNext(const IncomingRequest& request, bool next)
{
    const LineUpBouquet* bouquet = m_state->lineUp().bouquet(request.value(QStringLiteral("bRef")));
    if (!bouquet)
        return emptyEventList();
    QByteArray out = XmlDeclaration;
    const qint64 now = m_state->now();
    QByteArray currentTime;
    text::appendNumber(currentTime, now);
    out.reserve(qsizetype(bouquet->services.size()) * 1000 + 128);
    out += "<e2eventlist>\n";
    const EpgGenerator& epg = m_state->epg();
    for (const LineUpService& service : bouquet->services) {
        const std::optional<EpgEvent> event = next ? epg.after(service, now) : epg.at(service, now);
        appendEvent(out, event ? &*event : nullptr, service, currentTime);
    }
    out += "</e2eventlist>\n";
    return xmlAnswer(out);
}

Answer Enigma2Interface::searchEvents(const QList<bool>& accepted, int excludeId,
                                      const QString& excludeService, const QByteArray& currentTime)
{
    QByteArray out = XmlDeclaration;
    out += "<e2eventlist>\n";
    QSet<QString> seen;
    for (const LineUpBouquet& bouquet : m_state->lineUp().bouquets()) {
        for (const LineUpService& service : bouquet.services) {
            if (!service.hasEpg || service.isMarker() || seen.contains(service.reference))
                continue;
            seen.insert(service.reference);
            const QList<EpgEvent> events = m_state->windowEvents(service);
            for (const EpgEvent& event : events) {
                if (!accepted.at(event.programme))
                    continue;
                if (event.id == excludeId && service.reference == excludeService)
                    continue;
                appendEvent(out, &event, service, currentTime);
            }
        }
    }
    out += "</e2eventlist>\n";
    return xmlAnswer(out);
}

Answer Enigma2Interface::epgSimilar(const IncomingRequest& request)
{
    const std::optional<NamedEvent> named = namedEvent(*m_state, request);
    if (!named)
        return emptyEventList();
    const QString title = EpgGenerator::programme(named->event).title;
    QList<bool> accepted(EpgGenerator::programmeCount());
    for (int i = 0; i < accepted.size(); ++i)
        accepted[i] = EpgGenerator::programme(i).title == title;
    return searchEvents(accepted, named->event.id, named->service->reference, QByteArrayLiteral("0"));
}

Answer Enigma2Interface::epgSearch(const IncomingRequest& request)
{
    const QString search = request.value(QStringLiteral("search")).trimmed();
    QList<bool> accepted(EpgGenerator::programmeCount());
    for (int i = 0; i < accepted.size(); ++i)
        accepted[i] =
            !search.isEmpty() && EpgGenerator::programme(i).title.contains(search, Qt::CaseInsensitive);
    return searchEvents(accepted, -1, QString(), QByteArrayLiteral("None"));
}

Answer Enigma2Interface::zap(const IncomingRequest& request)
{
    const QString reference = request.value(QStringLiteral("sRef"));
    // Receivers accept any reference here, also ones that lead nowhere.
    m_state->zap(reference);
    return simpleResult(true, QStringLiteral("Active service is now '") + reference + u'\'');
}

Answer Enigma2Interface::message(const IncomingRequest& request)
{
    ScreenMessage message;
    message.text = request.value(QStringLiteral("text"));
    message.type = int(text::toInteger(request.value(QStringLiteral("type")), -1));
    message.timeout = int(text::toInteger(request.value(QStringLiteral("timeout")), -1));
    message.time = m_state->now();
    if (message.type < 0 || message.type > 3)
        return simpleResult(false, QStringLiteral("Unsupported message type"));
    m_state->showMessage(message);
    return simpleResult(true, QStringLiteral("Message sent successfully!"));
}

Answer Enigma2Interface::messageAnswer(const IncomingRequest&)
{
    switch (m_state->takeMessageAnswer()) {
    case MessageAnswer::Yes:
        return simpleResult(true, QStringLiteral("Answer is YES!"));
    case MessageAnswer::No:
        return simpleResult(true, QStringLiteral("Answer is NO!"));
    case MessageAnswer::NoAnswer:
        break;
    }
    return simpleResult(false, QStringLiteral("No answer in time"));
}

Answer Enigma2Interface::movieList(const IncomingRequest&)
{
    const QList<Movie> movies = m_state->movies();
    QByteArray out = XmlDeclaration;
    out.reserve(512 + movies.size() * 1200);
    out += "<e2movielist>\n";
    for (const Movie& movie : movies) {
        out += "\t\t<e2movie>\n";
        element(out, "\t\t\t", "e2servicereference", movie.reference);
        element(out, "\t\t\t", "e2title", movie.title);
        element(out, "\t\t\t", "e2description", movie.description);
        element(out, "\t\t\t", "e2descriptionextended", movie.descriptionExtended);
        element(out, "\t\t\t", "e2servicename", movie.serviceName);
        numberElement(out, "\t\t\t", "e2time", movie.time);
        element(out, "\t\t\t", "e2length", lengthText(movie.lengthSeconds));
        element(out, "\t\t\t", "e2tags", movie.tags);
        element(out, "\t\t\t", "e2filename", movie.fileName);
        numberElement(out, "\t\t\t", "e2filesize", movie.fileSize);
        out += "\t\t</e2movie>\n";
    }
    out += "\t<e2locations>\n"
           "\t<e2location>Filme</e2location>\n"
           "\t<e2location>Serien</e2location>\n"
           "\t<e2location>Kinder &amp; Familie</e2location>\n"
           "\t</e2locations>\n</e2movielist>\n";
    return xmlAnswer(out);
}

Answer Enigma2Interface::movieDelete(const IncomingRequest& request)
{
    const QString reference = request.value(QStringLiteral("sRef"));
    const std::optional<Movie> removed = m_state->deleteMovie(reference);
    if (!removed)
        return simpleResult(false, QStringLiteral("Could not delete Movie '") + reference +
                                       QStringLiteral("' / service error"));
    return simpleResult(true, QStringLiteral("The movie '") + removed->title +
                                  QStringLiteral("' has been deleted successfully"));
}

Answer Enigma2Interface::timerList(const IncomingRequest&)
{
    const QList<Timer> timers = m_state->timers();
    QByteArray out = XmlDeclaration;
    out.reserve(256 + timers.size() * 1800);
    out += "<e2timerlist>\n";
    for (const Timer& timer : timers) {
        const int state = int(timer.state);
        const qint64 prepare = timer.begin - ReceiverState::PrepareTime;
        out += "\t<e2timer>\n";
        element(out, "\t\t", "e2servicereference", timer.serviceReference);
        element(out, "\t\t", "e2servicename", timer.serviceName);
        element(out, "\t\t", "e2eit", timer.eventId < 0 ? QString() : QString::number(timer.eventId));
        element(out, "\t\t", "e2name", timer.name);
        element(out, "\t\t", "e2description", timer.description);
        element(out, "\t\t", "e2descriptionextended",
                timer.eventId < 0 && timer.descriptionExtended.isEmpty() ? QStringLiteral("N/A")
                                                                         : timer.descriptionExtended);
        numberElement(out, "\t\t", "e2disabled", timer.disabled ? 1 : 0);
        numberElement(out, "\t\t", "e2timebegin", timer.begin);
        numberElement(out, "\t\t", "e2timeend", timer.end);
        numberElement(out, "\t\t", "e2duration", timer.end - timer.begin);
        numberElement(out, "\t\t", "e2startprepare", prepare);
        numberElement(out, "\t\t", "e2justplay", timer.justPlay ? 1 : 0);
        numberElement(out, "\t\t", "e2afterevent", timer.afterEvent);
        element(out, "\t\t", "e2location",
                timer.location.isEmpty() ? QStringLiteral("None") : timer.location);
        out += "\t\t<e2tags></e2tags>\n";
        QStringList log;
        if (state >= 1)
            log.append(QStringLiteral("(%1, 5, 'activating state 1')").arg(prepare));
        if (state >= 2)
            log.append(QStringLiteral("(%1, 5, 'activating state 2')").arg(timer.begin));
        if (state >= 3)
            log.append(QStringLiteral("(%1, 5, 'activating state 3')")
                           .arg(timer.justPlay ? timer.begin : timer.end));
        element(out, "\t\t", "e2logentries", u'[' + log.join(QStringLiteral(", ")) + u']');
        QString fileName;
        if (!timer.justPlay && state >= 2) {
            QString name = timer.name;
            name.replace(u':', u'_');
            fileName = timer.location +
                       QDateTime::fromSecsSinceEpoch(timer.begin).toString(QStringLiteral("yyyyMMdd HHmm")) +
                       QStringLiteral(" - ") + timer.serviceName + QStringLiteral(" - ") + name;
        }
        element(out, "\t\t", "e2filename", fileName);
        out += "\t\t<e2backoff>0</e2backoff>\n\t\t<e2nextactivation></e2nextactivation>\n";
        out += "\t\t<e2firsttryprepare>" + trueFalse(state == 0) + "</e2firsttryprepare>\n";
        numberElement(out, "\t\t", "e2state", state);
        out += "\t\t<e2repeated>0</e2repeated>\n\t\t<e2dontsave>0</e2dontsave>\n\t\t<e2cancled>False</"
               "e2cancled>\n";
        numberElement(out, "\t\t", "e2toggledisabled", timer.disabled ? 0 : 1);
        element(out, "\t\t", "e2toggledisabledimg",
                timer.disabled ? QByteArrayLiteral("on") : QByteArrayLiteral("off"));
        out += "\t\t<e2alwayszap>0</e2alwayszap>\n\t\t<e2pipzap>0</e2pipzap>\n\t</e2timer>\n";
    }
    out += "</e2timerlist>\n";
    return xmlAnswer(out);
}

Answer Enigma2Interface::timerCleanup(const IncomingRequest&)
{
    m_state->cleanupTimers();
    return simpleResult(true, QStringLiteral("List of Timers has been cleaned"));
}

Answer Enigma2Interface::timerAddByEventId(const IncomingRequest& request)
{
    const std::optional<NamedEvent> named = namedEvent(*m_state, request);
    if (!named)
        return simpleResult(false, QStringLiteral("EventId not found"));
    const bool justPlay = text::toInteger(request.value(QStringLiteral("justplay")), 0) == 1;
    const Timer timer = ReceiverState::timerForEvent(*named->service, named->event, justPlay);
    const TimerAddResult result = m_state->addTimer(timer);
    if (!result.added)
        return simpleResult(false, QStringLiteral("Conflicting Timer(s) detected! ") +
                                       result.conflicts.join(QStringLiteral(" / ")));
    return simpleResult(true, QStringLiteral("Timer '") + timer.name + QStringLiteral("' added"));
}

Answer Enigma2Interface::timerDelete(const IncomingRequest& request)
{
    const std::optional<Timer> removed = m_state->removeTimer(
        request.value(QStringLiteral("sRef")), text::toInteger(request.value(QStringLiteral("begin")), -1),
        text::toInteger(request.value(QStringLiteral("end")), -1));
    if (!removed)
        return simpleResult(false, QStringLiteral("No matching Timer found"));
    return simpleResult(true, QStringLiteral("The timer '") + removed->name +
                                  QStringLiteral("' has been deleted successfully"));
}

} // namespace boxsim
