#include "tools/boxsim/enigma1interface.h"

#include "tools/boxsim/receiverstate.h"
#include "tools/boxsim/textutil.h"

#include <QDateTime>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace boxsim {

namespace {

constexpr char RootBouquets[] = "4097:7:0:6:0:0:0:0:0:0:";
constexpr int LedCount = 10;

Answer page(QByteArray body, const QByteArray& contentType = "text/html; charset=UTF-8")
{
    Answer answer;
    answer.contentType = contentType;
    answer.body = std::move(body);
    return answer;
}

Answer noContent()
{
    Answer answer;
    answer.status = 204;
    return answer;
}

QByteArray utf8(const QString& s)
{
    return s.toUtf8();
}

QDateTime local(qint64 t)
{
    return QDateTime::fromSecsSinceEpoch(t);
}

// The C library's ctime() layout: "Thu Mar 14 20:17:42 2024".
QByteArray ctimeText(qint64 t)
{
    static const char* const days[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const QDateTime dt = local(t);
    const QDate d = dt.date();
    const QTime time = dt.time();
    return QString::asprintf("%s %s %2d %02d:%02d:%02d %d", days[d.dayOfWeek() - 1], months[d.month() - 1],
                             d.day(), time.hour(), time.minute(), time.second(), d.year())
        .toLatin1();
}

QByteArray minutesSeconds(int seconds)
{
    return QByteArray::number(seconds / 60) + ':' + QByteArray::number(seconds % 60).rightJustified(2, '0');
}

QByteArray genreClass(int genreId)
{
    return "genre0" + QByteArray::number((genreId / 16) % 10);
}

QByteArray leds(int percent)
{
    QByteArray out;
    const int on = std::clamp(percent / 10, 0, LedCount);
    for (int i = 0; i < LedCount; ++i) {
        out += "<td width=\"15\" height=\"8\"><img src=\"";
        out += i < on ? "led_on.gif" : "led_off.gif";
        out += "\" border=\"0\" width=\"15\" height=\"8\"></td>";
    }
    return out;
}

// Script string literals separated by commas; the receiver escapes nothing in them.
QByteArray quotedList(const QList<QByteArray>& items)
{
    QByteArray out;
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (i > 0)
            out += ", ";
        out += '"' + items.at(i) + '"';
    }
    return out;
}

QByteArray quotedArray(const QList<QByteArray>& items)
{
    return "new Array(" + quotedList(items) + ')';
}

constexpr char PageHead[] =
    "<html>\n"
    "\t<head>\n"
    "\t\t<link rel=\"stylesheet\" type=\"text/css\" href=\"webif.css\">\n"
    "\t\t<script language=\"javascript\" type=\"text/javascript\" src=\"window.js\"></script>\n"
    "\t\t<script language=\"javascript\" type=\"text/javascript\" src=\"index.js\"></script>\n";

constexpr char BodyStart[] =
    "\t<body id=\"mainbody\" style=\"padding: 10px; background-color: #F4F4F4\" leftmargin=\"0\" "
    "topmargin=\"0\" marginwidth=\"0\" marginheight=\"0\">\n";

} // namespace

Enigma1Interface::Enigma1Interface(ReceiverState* state)
    : m_state(state)
{
    m_routes = {
        {QStringLiteral("/cgi-bin/videocontrol"), &Enigma1Interface::videoControl},
        {QStringLiteral("/setVideo"), &Enigma1Interface::setVideo},
        {QStringLiteral("/cgi-bin/rc"), &Enigma1Interface::remoteControl},
        {QStringLiteral("/setVolume"), &Enigma1Interface::setVolume},
        {QStringLiteral("/cgi-bin/zapTo"), &Enigma1Interface::zapTo},
        {QStringLiteral("/cgi-bin/deleteMovie"), &Enigma1Interface::deleteMovie},
        {QStringLiteral("/cgi-bin/renameMovie"), &Enigma1Interface::renameMovie},
        {QStringLiteral("/cleanupTimerList"), &Enigma1Interface::cleanupTimers},
        {QStringLiteral("/cgi-bin/status"), &Enigma1Interface::status},
        {QStringLiteral("/body"), &Enigma1Interface::body},
        {QStringLiteral("/data"), &Enigma1Interface::data},
        {QStringLiteral("/cgi-bin/getServices"), &Enigma1Interface::services},
        {QStringLiteral("/cgi-bin/getcurrentepg"), &Enigma1Interface::currentEpg},
        {QStringLiteral("/getMultiEPG"), &Enigma1Interface::multiEpg},
        {QStringLiteral("/xml/timers"), &Enigma1Interface::timers},
        {QStringLiteral("/satFinder"), &Enigma1Interface::satFinder},
        {QStringLiteral("/cgi-bin/xmessage"), &Enigma1Interface::xmessage},
        {QStringLiteral("/addTimerEvent"), &Enigma1Interface::addTimerEvent},
        {QStringLiteral("/deleteTimerEvent"), &Enigma1Interface::deleteTimerEvent},
        {QStringLiteral("/cgi-bin/admin"), &Enigma1Interface::admin},
    };
}

Answer Enigma1Interface::answer(const IncomingRequest& request)
{
    const auto it = m_routes.constFind(request.path);
    if (it == m_routes.cend())
        return errorAnswer(404);
    m_state->update();
    return (this->**it)(request);
}

Answer Enigma1Interface::refusal(const IncomingRequest& request) const
{
    if (request.path == QLatin1String("/cgi-bin/xmessage"))
        return page("E: message refused", QByteArray());
    if (request.path == QLatin1String("/addTimerEvent"))
        return page("Timer event could not be created.", "text/plain");
    if (request.path == QLatin1String("/deleteTimerEvent"))
        return page("<html><body>Timer event could not be deleted.</body></html>\n");
    // The other commands answer nothing either way.
    return noContent();
}

Answer Enigma1Interface::errorAnswer(int status) const
{
    QByteArray text;
    switch (status) {
    case 401:
        text = "401 Unauthorized";
        break;
    case 404:
        text = "404 Not Found";
        break;
    default:
        text = "500 Internal Server Error";
        break;
    }
    Answer answer =
        page("<html><head><title>" + text + "</title></head><body><h1>" + text + "</h1></body></html>",
             "text/html");
    answer.status = status;
    return answer;
}

QByteArray Enigma1Interface::realm() const
{
    return "Enigma1 WebInterface";
}

bool Enigma1Interface::alwaysProtected(const QString& path) const
{
    return path == QLatin1String("/cgi-bin/status");
}

void Enigma1Interface::finish(Answer& answer) const
{
    // The receiver's server always sends Content-Length and closes the connection.
    answer.chunked = false;
    answer.closeConnection = true;
}

QString Enigma1Interface::referenceParameter(const IncomingRequest& request, const QString& name) const
{
    return text::enigma1DecodeReference(request.value(name));
}

Answer Enigma1Interface::videoControl(const IncomingRequest& request)
{
    const QString command = request.value(QStringLiteral("command"));
    if (command == QLatin1String("play")) {
        m_state->resumePlayback();
    } else if (command == QLatin1String("pause")) {
        if (m_state->isPaused())
            m_state->resumePlayback();
        else
            m_state->pausePlayback();
    } else if (command == QLatin1String("stop")) {
        if (m_state->isPlaying())
            m_state->stopPlayback();
        else
            m_state->stopInstantRecording();
    } else if (command == QLatin1String("forward")) {
        m_state->skip(ReceiverState::SkipSeconds);
    } else if (command == QLatin1String("rewind")) {
        m_state->skip(-ReceiverState::SkipSeconds);
    } else if (command == QLatin1String("record")) {
        m_state->startInstantRecording();
    }
    return noContent();
}

Answer Enigma1Interface::setVideo(const IncomingRequest& request)
{
    // Positions run from 0 to 20 across the recording.
    const qint64 position = text::toInteger(request.value(QStringLiteral("position")), -1);
    if (position >= 0 && m_state->isPlaying())
        m_state->setPlaybackPosition(
            int(std::clamp<qint64>(position, 0, 20) * m_state->playbackLength() / 20));
    return noContent();
}

Answer Enigma1Interface::remoteControl(const IncomingRequest& request)
{
    // "code[:seconds held[:repeat time]]"
    if (!request.items.isEmpty()) {
        const QStringList parts = request.items.first().first.split(QLatin1Char(':'));
        const qint64 code = text::toInteger(parts.first(), -1);
        if (code >= 0)
            m_state->pressKey(int(code), text::toInteger(parts.value(1), 0) > 0);
    }
    return noContent();
}

Answer Enigma1Interface::setVolume(const IncomingRequest& request)
{
    if (request.has(QStringLiteral("volume"))) {
        const qint64 volume = text::toInteger(request.value(QStringLiteral("volume")), -1);
        if (volume >= 0)
            m_state->setVolume(int(volume));
    }
    if (request.has(QStringLiteral("mute")))
        m_state->setMuted(text::toInteger(request.value(QStringLiteral("mute")), 0) != 0);
    return noContent();
}

Answer Enigma1Interface::zapTo(const IncomingRequest& request)
{
    const QString reference = referenceParameter(request, QStringLiteral("path"));
    if (!reference.isEmpty())
        m_state->zap(reference);
    return noContent();
}

Answer Enigma1Interface::deleteMovie(const IncomingRequest& request)
{
    m_state->deleteMovie(referenceParameter(request, QStringLiteral("ref")));
    return noContent();
}

Answer Enigma1Interface::renameMovie(const IncomingRequest& request)
{
    const QString title = request.value(QStringLiteral("desc"));
    if (!title.isEmpty())
        m_state->renameMovie(referenceParameter(request, QStringLiteral("ref")), title);
    return noContent();
}

Answer Enigma1Interface::cleanupTimers(const IncomingRequest&)
{
    m_state->cleanupTimers();
    return noContent();
}

Answer Enigma1Interface::status(const IncomingRequest&)
{
    const qint64 now = m_state->now();
    const std::optional<Movie> movie = m_state->playingMovie();
    const LineUpService* service = movie ? nullptr : m_state->liveService();
    const QString reference = m_state->currentReference();
    const QString name = movie ? movie->title : (service ? service->name : QString());
    const QString provider = service ? service->provider : QString();
    QByteArray out;
    out.reserve(1200);
    out +=
        "<html>\n<META http-equiv=Content-Type content=\"text/html; charset=UTF-8\">\n<head>\n"
        "<title>Enigma Status</title>\n<link rel=stylesheet type=\"text/css\" href=\"/webif.css\">\n</head>\n"
        "<body>\n<h1>Enigma status</h1>\n<table>\n";
    out += "<tr><td>Current time:</td><td>" + ctimeText(now) + "\n</td></tr>\n";
    out += "<tr><td>WebIf-Version:</td><td>6.0.4</td></tr>\n";
    out += QByteArray("<tr><td>Standby:</td><td>") + (m_state->isStandby() ? "ON" : "OFF") + "</td></tr>\n";
    out +=
        QByteArray("<tr><td>Recording:</td><td>") + (m_state->isRecording() ? "ON" : "OFF") + "</td></tr>\n";
    // Mode 0 is live TV, 2 the file player.
    out += QByteArray("<tr><td>Mode:</td><td>") + (movie ? "2" : "0") + "</td></tr>\n";
    out += "<tr><td>Current service reference:</td><td>" + text::enigma1EscapeReference(reference) +
           "</td></tr>\n";
    out += "<tr><td>name:</td><td>" + utf8(name) + "</td></tr>\n";
    out += "<tr><td>provider:</td><td>" + utf8(provider) + "</td></tr>\n";
    out += "<tr><td>vpid:</td><td>0065h (101d)</td></tr>\n<tr><td>apid:</td><td>0066h (102d)</td></tr>\n"
           "<tr><td>pcrpid:</td><td>0065h (101d)</td></tr>\n<tr><td>tpid:</td><td>0068h (104d)</td></tr>\n";
    const QStringList parts = reference.split(u':');
    out += "<tr><td>tsid:</td><td>" + parts.value(4).rightJustified(4, u'0').toLatin1() + "h</td></tr>\n";
    out += "<tr><td>onid:</td><td>" + parts.value(5).rightJustified(4, u'0').toLatin1() + "h</td></tr>\n";
    out += "<tr><td>sid:</td><td>" + parts.value(3).toLatin1() + "h</td></tr>\n";
    out += "<tr><td>pmt:</td><td>0064h</td></tr>\n";
    out += "<tr><td>vidformat:<td>720x576 16:9 25 fps</td></tr>\n</table>\n</body>\n</html>\n";
    return page(out);
}

Answer Enigma1Interface::body(const IncomingRequest& request)
{
    const QString mode = request.value(QStringLiteral("mode"));
    if (mode == QLatin1String("help"))
        return aboutPage();
    if (mode == QLatin1String("controlSatFinder"))
        return satFinderControlPage();
    if (mode == QLatin1String("zap") && request.value(QStringLiteral("zapmode")) == QLatin1String("3"))
        return moviePage();
    return errorAnswer(404);
}

Answer Enigma1Interface::moviePage()
{
    const QList<Movie> movies = m_state->movies();
    QList<QByteArray> titles;
    QList<QByteArray> references;
    for (const Movie& movie : movies) {
        titles.append(QString::asprintf("[%05lld MB] ", movie.fileSize / (1024 * 1024)).toLatin1() +
                      utf8(movie.title));
        references.append(text::enigma1EscapeReference(movie.reference));
    }
    if (movies.isEmpty()) {
        titles.append("none");
        references.append("none");
    }
    QByteArray out = "<script>parent.setTitle('ZAP: Movies');</script>";
    out += PageHead;
    out += "\t\t<script language=\"javascript\" type=\"text/javascript\" src=\"dhtml.js\"></script>\n"
           "\t\t<script language=\"javascript\" type=\"text/javascript\" src=\"zap.js\"></script>\n"
           "\t\t<script language=\"javascript\" type=\"text/javascript\">var channels = new Array();\n"
           "var channelRefs = new Array();\n"
           "var bouquets = new Array(\n\t\t\"Dummy bouquet\"\n\t\t);\n"
           "var bouquetRefs = new Array(\n\t\t\"Dummy bouquet ref\"\n\t\t);\n"
           "var currentBouquet = 0;\nvar currentChannel = -1;\nvar autoBouquetChange = 0;\n"
           "var zapMode = 3;\nvar zapSubMode = 1;\n\t\t\t\nfunction init()\n{\t\n";
    out += "\tchannels[0] = " + quotedArray(titles) + ";\n";
    out += "\tchannelRefs[0] = " + quotedArray(references) + ";\n";
    out += "\n\tloadBouquets(currentBouquet);\n\tloadChannels(currentBouquet, currentChannel);\n}</script>\n"
           "\t</head>\n";
    out += BodyStart;
    out +=
        "\t\t<form name=\"channelselector\">\n"
        "\t\t\t<select name=\"channel\" size=\"10\" onchange=\"javascript:update_desc_field()\"></select>\n"
        "\t\t\t<input name=\"description\" type=\"text\" size=\"82\">"
        "<input name=\"Rename\" type=\"button\" value=\"Rename\" onclick=\"javascript:renameMovie()\">\n"
        "\t\t</form>\n"
        "\t\t<input name=\"Delete\" type=\"button\" value=\"Delete\" onclick=\"javascript:deleteMovie()\">\n"
        "\t\t<script>init();</script>\n\t</body>\n</html>\n";
    return page(out);
}

Answer Enigma1Interface::aboutPage()
{
    QByteArray out = PageHead;
    out += "\t</head>\n";
    out += BodyStart;
    out += "\t\t<script>parent.setTitle('HELP');</script><img src=\"box.jpg\" width=\"630\" "
           "border=\"0\"><br><br>"
           "<table id=\"epg\" width=\"100%\" border=\"0\" cellspacing=\"0\" cellpadding=\"5\">\n"
           "\t<thead>\n\t\t<tr>\n\t\t\t<th colspan=\"2\">About Box</th>\n\t\t</tr>\n\t</thead>\n\t<tbody>\n";
    const auto row = [&out](const QByteArray& label, const QByteArray& value) {
        out += "\t\t<tr><td>" + label + "</td><td>" + value + "</td></tr>\n";
    };
    row("Model", "ST7020");
    row("Manufacturer", "Example-Multimedia");
    row("Processor", "STB04500, 252MHz");
    row("Harddisk", "WDC WD1600JB-00REA0 (master, " +
                        QByteArray::number(m_state->diskCapacity() / (1024 * 1024)) + " MB)");
    row("USB Stick", "none");
    row("Linux Kernel",
        "Linux version 2.6.9 (build@receiver) (gcc version 3.4.4) #1 Thu May 15 17:20:41 CEST 2008\n");
    row("Firmware", "release 1.2.2, 15.05.2008");
    row("FP Firmware", " 1.07");
    row("Web Interface", "6.0.4");
    out += "\t</tbody>\n</table>\n\n\n\t</body>\n</html>\n\n";
    return page(out);
}

Answer Enigma1Interface::satFinderControlPage()
{
    const QList<Satellite>& satellites = m_state->satellites();
    QList<QByteArray> names;
    for (const Satellite& satellite : satellites)
        names.append(utf8(satellite.name));
    const QByteArray namesText = quotedList(names);

    QByteArray out = PageHead;
    out += "\t</head>\n";
    out += BodyStart;
    out += "\t\t<script>parent.setTitle('CONTROL: Satfinder');</script>"
           "<script language=\"javascript\" type=\"text/javascript\" src=\"zap.js\"></script>\n"
           "<script language=\"javascript\" type=\"text/javascript\">var channels = new Array();\n"
           "var channelRefs = new Array();\n";
    out += "var bouquets = new Array(\n\t\t" + namesText + "\n\t\t);\n";
    out += "var bouquetRefs = new Array(\n\t\t" + namesText + "\n\t\t);\n";
    out += "var currentBouquet = " + QByteArray::number(m_state->satfinderSatellite()) + ";\n";
    out += "var currentChannel = " + QByteArray::number(m_state->satfinderTransponder()) + ";\n";
    out += "var autoBouquetChange = 0;\nvar zapMode = -1;\nvar zapSubMode = 0;\n\t\t\t\nfunction "
           "init()\n{\t\n\t";
    for (qsizetype s = 0; s < satellites.size(); ++s) {
        QList<QByteArray> labels;
        for (const Transponder& transponder : satellites.at(s).transponders)
            labels.append(utf8(transponder.label));
        out += "channels[" + QByteArray::number(s) + "] = " + quotedArray(labels) + ';';
    }
    out += "\n\t";
    for (qsizetype s = 0; s < satellites.size(); ++s) {
        QList<QByteArray> params;
        for (const Transponder& transponder : satellites.at(s).transponders)
            params.append(utf8(transponder.params));
        out += "channelRefs[" + QByteArray::number(s) + "] = " + quotedArray(params) + ';';
    }
    out +=
        "\n\n\tloadBouquets(currentBouquet);\n\tloadChannels(currentBouquet, currentChannel);\n}</script>\n"
        "<form name=\"channelselector\">\n"
        "\t<select onChange=\"bouquetChange()\" name=\"bouquet\" size=15></select>\n"
        "\t<select onChange=\"tuneTransponder('none')\" name=\"channel\" size=15></select>\n"
        "</form>\n<script>init();</script>\n\n\t</body>\n</html>\n\n";
    return page(out);
}

Answer Enigma1Interface::data(const IncomingRequest&)
{
    const qint64 now = m_state->now();
    const std::optional<Movie> movie = m_state->playingMovie();
    const LineUpService* service = movie ? nullptr : m_state->liveService();
    std::optional<EpgEvent> current;
    std::optional<EpgEvent> next;
    if (service) {
        current = m_state->epg().at(*service, now);
        next = m_state->epg().after(*service, now);
    }
    const auto eventTime = [](const std::optional<EpgEvent>& e) -> QByteArray {
        return e ? local(e->start).toString(QStringLiteral("HH:mm")).toLatin1() : QByteArray();
    };
    const auto eventDuration = [](const std::optional<EpgEvent>& e) -> QByteArray {
        return e ? "(" + QByteArray::number(e->duration / 60) + ")" : QByteArray();
    };
    const auto eventTitle = [](const std::optional<EpgEvent>& e) -> QByteArray {
        return e ? EpgGenerator::programme(*e).title.toUtf8() : QByteArray();
    };
    const qint64 free = m_state->diskFree();
    const double freeGb = double(free) / (1024.0 * 1024 * 1024);
    const int freeMinutes = int(freeGb / 1.93 * 60);
    const qint64 up = std::max<qint64>(0, now - m_state->bootTime());
    const SignalSample signal = m_state->signal();
    const bool playing = movie.has_value();
    const int position = playing ? m_state->playbackPosition() : 0;
    const int length = playing ? m_state->playbackLength() : 1;

    QByteArray out;
    out.reserve(2048);
    out += "<html>\n<head>\n<script type=\"text/javascript\">\nfunction update()\n{\n"
           "\tparent.headerUpdateEPGData(serviceName, nowT, nowD, nowSt, nextT, nextD, nextSt);\n"
           "\tparent.headerUpdateVolumeBar(volume, mute);\n"
           "\tparent.updateVideoBar(videoPosition, videoTime, diskGB, diskH);\n"
           "}\n</script>\n</head>\n<body onLoad=\"update()\">\n<script>\n"
           "\t<!-- variables set by box -->\n\tvar updateCycleTime = 10000;\n\t<!-- power state -->\n";
    out += "\tvar standby = " + QByteArray(m_state->isStandby() ? "1" : "0") + ";\n";
    out += "\t<!-- service & epg data -->\n";
    out += "\tvar serviceName = \"" + utf8(movie ? movie->title : (service ? service->name : QString())) +
           "\";\n";
    out += "\tvar nowT = \"" + eventTime(current) + "\";\n";
    out += "\tvar nowD = \"" + eventDuration(current) + "\";\n";
    out += "\tvar nowSt = \"" + eventTitle(current) + "\";\n";
    out += "\tvar nextT = \"" + eventTime(next) + "\";\n";
    out += "\tvar nextD = \"" + eventDuration(next) + "\";\n";
    out += "\tvar nextSt = \"" + eventTitle(next) + "\";\n";
    out += "\t<!-- status bar -->\n";
    out += "\tvar diskGB = \"" + QByteArray::number(freeGb, 'f', 2) + " GB\";\n";
    out += "\tvar diskH = \"~" + QByteArray::number(freeMinutes / 60) + " h, " +
           QByteArray::number(freeMinutes % 60) + " min\";\n";
    out += "\tvar apid = \"0x66\";\n\tvar vpid = \"0x65\";\n\tvar ip = \"192.168.178.30\";\n"
           "\tvar lock = \"unlocked\";\n";
    out += "\tvar upTime = \"" + QByteArray::number(up / 3600) + ':' +
           QByteArray::number((up / 60) % 60).rightJustified(2, '0') + " h up\";\n";
    out += "\t<!-- volume bar -->\n";
    out += "\tvar volume = " + QByteArray::number(m_state->isMuted() ? 0 : m_state->volume()) + ";\n";
    out += "\tvar mute = " + QByteArray(m_state->isMuted() ? "1" : "0") + ";\n";
    out += "\t<!-- channel stats -->\n\tvar dolby = 0;\n\tvar crypt = 0;\n\tvar format = 1;\n\t<!-- "
           "recording -->\n";
    out += "\tvar recording = " + QByteArray(m_state->isRecording() ? "1" : "0") + ";\n";
    out +=
        "\t<!-- vlc streaming -->\n\tvar vlcparms = \"http://192.168.178.30:31339/0,0064,0065,0066,0067\";\n";
    out +=
        "\tvar serviceReference = \"" + text::enigma1EscapeReference(m_state->currentReference()) + "\";\n";
    out += "\tvar videoTime = \"" + minutesSeconds(position) + "\";\n";
    out += "\tvar videoPosition = " + QByteArray::number(playing ? position * 20 / std::max(1, length) : 0) +
           ";\n";
    out += "\t<!-- stream info -->\n";
    out += "\tvar agc = " + QByteArray::number(signal.agcPercent) + ";\n";
    out += "\tvar snr = " + QByteArray::number(signal.snrPercent) + ";\n";
    out += "\tvar ber = " + QByteArray::number(signal.ber) + ";\n";
    out +=
        "\t<!-- streaming client status -->\n\tvar streamingClientStatus = 0;\n</script>\n</body>\n</html>\n";
    return page(out);
}

Answer Enigma1Interface::services(const IncomingRequest& request)
{
    const QString reference = referenceParameter(request, QStringLiteral("ref"));
    const bool listContent = request.value(QStringLiteral("listContent")) == QLatin1String("true");
    const LineUp& lineUp = m_state->lineUp();
    const int selected = lineUp.bouquetIndexOfService(m_state->liveReference());

    const auto appendServices = [](QByteArray& out, const LineUpBouquet& bouquet) {
        for (const LineUpService& service : bouquet.services) {
            out += utf8(service.reference) + ';';
            switch (service.kind) {
            case ServiceKind::Lost:
                out += "unnamed service;unnamed provider\n";
                break;
            case ServiceKind::Renamed:
                out += utf8(service.name) + ';' + QByteArray::number(service.orbitalPosition) + '\n';
                break;
            default:
                out += utf8(service.name) + ';' + utf8(service.provider) + ';' +
                       QByteArray::number(service.orbitalPosition) + '\n';
                break;
            }
        }
    };

    QByteArray out;
    if (reference == QLatin1String(RootBouquets)) {
        out.reserve(lineUp.serviceCount() * 80 + 1024);
        for (int b = 0; b < lineUp.bouquets().size(); ++b) {
            const LineUpBouquet& bouquet = lineUp.bouquets().at(b);
            out += utf8(bouquet.reference) + ';' + utf8(bouquet.name);
            if (b == selected)
                out += ";selected";
            out += '\n';
            if (listContent)
                appendServices(out, bouquet);
        }
    } else if (const LineUpBouquet* bouquet = lineUp.bouquet(reference)) {
        appendServices(out, *bouquet);
    }
    return page(out, "text/plain; charset=utf-8");
}

Answer Enigma1Interface::currentEpg(const IncomingRequest& request)
{
    const qint64 now = m_state->now();
    const QString reference =
        request.has(QStringLiteral("ref")) ? referenceParameter(request, QStringLiteral("ref")) : QString();
    const LineUpService* service = reference.isEmpty()
                                       ? (m_state->isPlaying() ? nullptr : m_state->liveService())
                                       : m_state->lineUp().service(reference);
    QList<EpgEvent> events;
    if (service)
        events = m_state->epg().events(*service, now, m_state->epgTo());

    QByteArray out;
    out.reserve(1024 + events.size() * 700);
    out += "<html>\n\t<head>\n\t\t<title>Service Electronic Program Guide (EPG)</title>\n"
           "\t\t<link rel=\"stylesheet\" type=\"text/css\" href=\"/webif.css\">\n"
           "\t\t<script language=\"javascript\" type=\"text/javascript\" src=\"/window.js\"></script>\n"
           "\t\t<script language=\"javascript\" type=\"text/javascript\" src=\"/epg.js\"></script>\n"
           "\t</head>\n\t<body>\n"
           "\t\t<table id=\"epg\" width=\"100%\" border=\"0\" cellspacing=\"0\" cellpadding=\"5\">\n"
           "\t\t\t<thead>\n\t\t\t\t<tr>\n\t\t\t\t\t<th colspan=\"3\">";
    out += service ? utf8(service->name) : QByteArray();
    out += "</th>\n\t\t\t\t</tr>\n\t\t\t</thead>\n\t\t\t<tbody>\n\t\t\t\t";
    const QByteArray escapedReference =
        service ? text::enigma1EscapeReference(service->reference) : QByteArray();
    for (const EpgEvent& event : std::as_const(events)) {
        const Programme& p = EpgGenerator::programme(event);
        const QByteArray title = utf8(p.title);
        out += "<tr valign=\"middle\">\n\t<td><span class=\"time\">" +
               local(event.start).toString(QStringLiteral("dd.MM.yyyy HH:mm")).toLatin1() + "</span></td>\n";
        out += "\t<td>\n\t\t<a href=\"javascript:record('" + escapedReference + "','" +
               QByteArray::number(event.start) + "','" + QByteArray::number(event.duration) + "','" + title +
               "','" + utf8(service->name) +
               "','0')\">\n\t\t\t<img src=\"timer.gif\" border=\"0\">\n\t\t</a>\n\t</td>\n";
        QString description = p.descriptionExtended.isEmpty() ? p.description : p.descriptionExtended;
        description.replace(u'\n', u' ');
        out += "\t<td class=\"" + genreClass(p.genreId) + "\"> \n\t\t<span class=\"event\">" + title +
               "</span>\n\t\t<br>Genre: " + utf8(p.shortGenre) + "<br>\n\t\t<span class=\"description\">" +
               utf8(description) + "</span>\n\t</td>\n</tr>\n";
    }
    out += "\n\t\t\t</tbody>\n\t\t</table>\n\t</body>\n</html>\n";
    return page(out);
}

Answer Enigma1Interface::multiEpg(const IncomingRequest& request)
{
    constexpr qint64 Slot = 900;
    constexpr int Columns = 96;
    const qint64 now = m_state->now();
    const qint64 windowStart = now / Slot * Slot - 3600;
    const qint64 windowEnd = windowStart + Columns * Slot;
    const LineUpBouquet* bouquet =
        m_state->lineUp().bouquet(referenceParameter(request, QStringLiteral("ref")));

    QByteArray out;
    out += "<html>\n\t<head>\n\t\t<title>EPG-Overview</title>\n"
           "\t\t<link rel=\"stylesheet\" type=\"text/css\" href=\"/webif.css\">\n"
           "\t\t<script language=\"javascript\" type=\"text/javascript\" src=\"window.js\"></script>\n"
           "\t\t<script language=\"javascript\" type=\"text/javascript\" src=\"epg.js\"></script>\n"
           "\t</head>\n\t<body onLoad=\"maximizeWindow()\">\n"
           "\t\t<table id=\"mepg\" width=#TABLEWIDTH# border=\"1\" rules=\"all\" cellspacing=\"0\" "
           "cellpadding=\"0\">\n"
           "\t\t\t<thead>\n\t\t\t\t<tr><th width=\"200\">CHANNEL<br /><img src=\"trans.gif\" border=\"0\" "
           "height=\"1\" "
           "width=\"200\" /></th>";
    for (int c = 0; c < Columns; ++c) {
        const QDateTime t = local(windowStart + c * Slot);
        out += "<th width=\"75\">" + t.toString(QStringLiteral("dd.MM.")).toLatin1() + "<br />" +
               t.toString(QStringLiteral("HH:mm")).toLatin1() +
               " <br /><img src=\"trans.gif\" border=\"0\" height=\"1\" width=\"75\" /></th>";
    }
    out += "</tr>\n\t\t\t</thead>\n\t\t\t<tbody>\n\t\t\t\t";
    const auto filler = [&out](int span) {
        if (span > 0)
            out += "<td colspan=\"" + QByteArray::number(span) + "\">&#160;</td>";
    };
    if (bouquet) {
        for (const LineUpService& service : bouquet->services) {
            const QList<EpgEvent> events = m_state->epg().events(service, windowStart, windowEnd);
            if (events.isEmpty())
                continue;
            const QByteArray name = utf8(service.name);
            const QByteArray reference = text::enigma1EscapeReference(service.reference);
            out += "<tr><td id=\"channel\" width=\"200\"><span class=\"channel\">" + name + "</span></td>";
            int column = 0;
            for (const EpgEvent& event : events) {
                const qint64 start = std::max(event.start, windowStart);
                const qint64 end = std::min(event.end(), windowEnd);
                const int first = std::max(column, int((start - windowStart + Slot / 2) / Slot));
                const int last =
                    std::min(Columns, std::max(first + 1, int((end - windowStart + Slot / 2) / Slot)));
                if (first >= Columns)
                    break;
                filler(first - column);
                const Programme& p = EpgGenerator::programme(event);
                const QByteArray title = utf8(p.title);
                const QDateTime begin = local(event.start);
                out +=
                    "<td class=\"" + genreClass(p.genreId) + "\" colspan=\"" +
                    QByteArray::number(last - first) + "\"><a href=\"javascript:record('" + reference +
                    "','" + QByteArray::number(event.start) + "','" + QByteArray::number(event.duration) +
                    "','" + title + "','" + name +
                    "','0')\"><img src=\"timer.gif\" border=\"0\" /></a>&#160;&#160;<span class=\"time\">" +
                    begin.toString(QStringLiteral("dd.MM. - HH:mm")).toLatin1() +
                    " </span><span class=\"duration\"> (" + QByteArray::number(event.duration / 60) +
                    " min)</span><br /><span class=\"event\"><b>" + title +
                    "</b></span><br />Genre: " + utf8(p.shortGenre) + "<br /><span class=\"description\">" +
                    utf8(p.description.isEmpty() ? p.title : p.description) + "</span></td>\n";
                column = last;
            }
            filler(Columns - column);
            out += "</tr>\n";
        }
    }
    out += "\n\t\t\t</tbody>\n\t\t</table>\n\t</body>\n</html>\n";
    return page(out);
}

Answer Enigma1Interface::timers(const IncomingRequest&)
{
    const QList<Timer> timers = m_state->timers();
    QByteArray out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n\t<timers>\n";
    bool first = true;
    for (const Timer& timer : timers) {
        const bool ended = timer.state == TimerState::Ended;
        // Type data: 0x2C for a waiting recording, 0x2A for a waiting zap; a finished timer loses
        // 0x20 and gains 0x100.
        int typeData = timer.justPlay ? 0x2A : 0x2C;
        if (ended)
            typeData = (typeData & ~0x20) | 0x100;
        QString description = timer.name;
        description.replace(u'\'', QStringLiteral("&#39;"));
        const QDateTime begin = local(timer.begin);
        out += first ? "\t<timer>\n" : "<timer>\n";
        first = false;
        out += "\t<type>SINGLE</type>\n\t<days></days>\n";
        out += QByteArray("\t<action>") + (timer.justPlay ? "ZAP" : "DVR") + "</action>\n";
        out += "\t<postaction></postaction>\n";
        out += QByteArray("\t<status>") + (ended ? "FINISHED" : "ACTIVE") + "</status>\n";
        out += "\t<typedata>" + QByteArray::number(typeData) + "</typedata>\n";
        out += "\t<service>\n\t\t<reference>" + text::enigma1EscapeReference(timer.serviceReference) +
               "</reference>\n\t\t<name>" + text::xml(timer.serviceName) + "</name>\n\t</service>\n";
        out +=
            "\t<event>\n\t\t<date>" + begin.toString(QStringLiteral("dd.MM.yyyy")).toLatin1() + "</date>\n";
        out += "\t\t<time>" + begin.toString(QStringLiteral("HH:mm")).toLatin1() + "</time>\n";
        out += "\t\t<start>" + QByteArray::number(timer.begin) + "</start>\n";
        out += "\t\t<duration>" + QByteArray::number(timer.end - timer.begin) + "</duration>\n";
        out += "\t\t<description>" + text::xml(description) + "</description>\n\t</event>\n</timer>";
    }
    out += "\n</timers>";
    // The receiver sends this page without a Content-Type.
    return page(out, QByteArray());
}

Answer Enigma1Interface::satFinder(const IncomingRequest& request)
{
    const SignalSample sample = m_state->tuneSatfinder(QString::fromUtf8(text::formDecode(request.rawQuery)));
    QByteArray out = "<html>\n\t<head>\n\t\t<title>Satfinder</title>\n"
                     "\t\t<link rel=\"stylesheet\" type=\"text/css\" href=\"webif.css\">\n"
                     "\t\t<meta http-equiv=\"refresh\" content=\"1\">\n"
                     "\t</head>\n\t<body>\n\t\t<table border=\"1\" cellpadding=\"0\" cellspacing=\"0\">\n";
    const auto measurement = [&out](const char* label, const QByteArray& value, const char* box,
                                    bool checked) {
        out += QByteArray("\t\t<tr>\n\t\t\t<td>") + label + "</td>\n\t\t\t<td align=\"center\">" + value +
               "</td>\n";
        if (box)
            out += QByteArray("\t\t\t<td>\n\t\t\t\t<input name=\"") + QByteArray(box).toLower() +
                   "\" type=\"checkbox\" value=\"on\" disabled" + (checked ? " checked" : "") + ">&nbsp;" +
                   box + "\n\t\t\t</td>\n";
        else
            out += "\t\t\t<td>&nbsp;</td>\n";
        out += "\t\t</tr>\n";
    };
    const auto bar = [&out](int percent) {
        out += "\t\t<tr>\n\t\t\t<td colspan=\"3\" height=\"20\" align=\"middle\">\n"
               "\t\t\t\t<table border=\"0\" cellspacing=\"0\" cellpadding=\"0\">\n\t\t\t\t<tr>\n\t\t\t\t\t" +
               leds(percent) + "\n\t\t\t\t</tr>\n\t\t\t\t</table>\n\t\t\t</td>\n\t\t</tr>\n";
    };
    measurement("SNR:", QByteArray::number(sample.snrPercent) + '%', "LOCK", sample.locked);
    bar(sample.snrPercent);
    measurement("AGC:", QByteArray::number(sample.agcPercent) + '%', "SYNC", sample.sync);
    bar(sample.agcPercent);
    measurement("BER:", QByteArray::number(sample.ber), nullptr, false);
    bar(std::min(100, sample.ber / 100));
    out += "\t\t</table>\n\t</body>\n</html>\n";
    return page(out);
}

Answer Enigma1Interface::xmessage(const IncomingRequest& request)
{
    QByteArray result = "+ok";
    if (!request.has(QStringLiteral("timeout")))
        result = "E: no timeout set";
    else if (!request.has(QStringLiteral("caption")))
        result = "E: no caption set";
    else if (!request.has(QStringLiteral("body")))
        result = "E: no body set";
    if (result == "+ok") {
        ScreenMessage message;
        message.caption = request.value(QStringLiteral("caption"));
        message.text = request.value(QStringLiteral("body"));
        message.timeout = int(text::toInteger(request.value(QStringLiteral("timeout")), -1));
        message.time = m_state->now();
        m_state->showMessage(message);
    }
    return page(result, QByteArray());
}

Answer Enigma1Interface::addTimerEvent(const IncomingRequest& request)
{
    const QString reference = referenceParameter(request, QStringLiteral("ref"));
    const qint64 start = text::toInteger(request.value(QStringLiteral("start")), -1);
    const qint64 duration = text::toInteger(request.value(QStringLiteral("duration")), -1);
    if (reference.isEmpty() || start < 0 || duration <= 0)
        return page("Timer event could not be created: wrong parameters.", "text/plain");
    Timer timer;
    timer.serviceReference = reference;
    timer.serviceName = request.value(QStringLiteral("channel"));
    timer.name = request.value(QStringLiteral("descr"));
    timer.begin = start;
    timer.end = start + duration;
    timer.afterEvent = int(text::toInteger(request.value(QStringLiteral("after_event")), 0));
    timer.location = QStringLiteral("/hdd/movie/");
    if (const LineUpService* service = m_state->lineUp().service(reference)) {
        if (timer.serviceName.isEmpty())
            timer.serviceName = service->name;
        if (const std::optional<EpgEvent> event = m_state->epg().at(*service, start))
            timer.eventId = event->id;
    }
    const TimerAddResult result = m_state->addTimer(timer);
    if (!result.added)
        return page(
            "Timer event could not be created because time of the event overlaps with an already existing "
            "event.",
            "text/plain");
    return page("Timer event was created successfully.", "text/plain");
}

Answer Enigma1Interface::deleteTimerEvent(const IncomingRequest& request)
{
    const QString reference = referenceParameter(request, QStringLiteral("ref"));
    const qint64 start = text::toInteger(request.value(QStringLiteral("start")), -1);
    const bool removed = m_state->removeTimer(reference, start, std::nullopt).has_value();
    QByteArray out =
        "<html>\n\t<head>\n\t\t<title>Complete</title>\n"
        "\t\t<link rel=\"stylesheet\" type=\"text/css\" href=\"webif.css\">\n"
        "\t\t<script>\n\t\t\tfunction init() { window.setTimeout(\"window.close()\", 5000); }\n"
        "\t\t</script>\n\t</head>\n"
        "\t<body onLoad=\"init()\" onUnload=\"parent.window.opener.location.reload(true)\">\n\t\t";
    out += removed ? "Timer event deleted successfully."
                   : "Timer event could not be deleted because it does not exist.";
    out += "\n\t</body>\n</html>\n";
    return page(out);
}

Answer Enigma1Interface::admin(const IncomingRequest& request)
{
    struct AdminCommand
    {
        const char* name;
        const char* text;
        void (*act)(ReceiverState& state);
    };
    static const AdminCommand commands[] = {
        {"shutdown", "Shutdown initiated...",
         [](ReceiverState& state) { state.powerAction(PowerAction::DeepStandby); }},
        {"reboot", "Reboot initiated...",
         [](ReceiverState& state) { state.powerAction(PowerAction::Reboot); }},
        {"restart", "Restart initiated...",
         [](ReceiverState& state) { state.powerAction(PowerAction::RestartGui); }},
        {"wakeup", "Wakeup initiated...", [](ReceiverState& state) { state.setStandby(false); }},
        {"standby", "Standby initiated...", [](ReceiverState& state) { state.setStandby(true); }},
    };
    const QString command = request.value(QStringLiteral("command"));
    const auto known =
        std::find_if(std::begin(commands), std::end(commands),
                     [&command](const AdminCommand& c) { return command == QLatin1String(c.name); });
    const bool isKnown = known != std::end(commands);
    const QByteArray text = isKnown ? known->text : "Unknown admin command.";
    Answer answer =
        page("<html><META http-equiv=Content-Type content=\"text/html; charset=UTF-8\">\n<head><title>" +
             command.toUtf8() + "</title></head><body>" + text + "</body></html>");
    // The page is ready before the receiver goes down.
    if (isKnown)
        known->act(*m_state);
    return answer;
}

} // namespace boxsim
