// tavrel-boxsim: the simulated receiver as a program, for the demo and for trying the
// application against an Enigma2 or Enigma1 web interface without a receiver.

#include "tools/boxsim/boxsim.h"
#include "tools/boxsim/faultparser.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <csignal>

namespace {

QTextStream& out()
{
    static QTextStream stream(stdout);
    return stream;
}

QTextStream& err()
{
    static QTextStream stream(stderr);
    return stream;
}

volatile std::sig_atomic_t stopRequested = 0;

void requestStop(int)
{
    stopRequested = 1;
}

int fail(const QString& message)
{
    err() << "tavrel-boxsim: " << message << Qt::endl;
    return 2;
}

} // namespace

int main(int argc, char* argv[])
{
    // The picture of the TV screen is drawn with fonts; the simulator never shows a window.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The offscreen platform wants a runtime folder and complains on stderr without one, which
    // would stand before the simulator's own messages.
    const QTemporaryDir runtimeFolder;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtimeFolder.isValid())
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeFolder.path()));
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tavrel-boxsim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Simulated satellite receiver: serves the Enigma2 (/web/) or Enigma1 (/cgi-bin/ and pages) web "
        "interface with a living state (line-up, EPG, zapping, power, volume, timers, movies, playback, "
        "messages, signal) for tests and demos."));
    parser.addHelpOption();
    const QCommandLineOption webifOption(
        QStringLiteral("webif"), QStringLiteral("Web interface: e2 (Enigma2, default) or e1 (Enigma1)."),
        QStringLiteral("e2|e1"), QStringLiteral("e2"));
    const QCommandLineOption portOption(
        QStringLiteral("port"), QStringLiteral("TCP port; 0 (default) picks a free one, which is printed."),
        QStringLiteral("port"), QStringLiteral("0"));
    const QCommandLineOption addressOption(QStringLiteral("address"),
                                           QStringLiteral("Address to listen on (default 127.0.0.1)."),
                                           QStringLiteral("address"), QStringLiteral("127.0.0.1"));
    const QCommandLineOption userOption(
        QStringLiteral("user"), QStringLiteral("Require HTTP Basic authentication with this user name."),
        QStringLiteral("name"));
    const QCommandLineOption passwordOption(QStringLiteral("password"),
                                            QStringLiteral("Password for --user (default empty)."),
                                            QStringLiteral("password"));
    const QCommandLineOption timeOption(
        QStringLiteral("time"),
        QStringLiteral(
            "Fixed clock in seconds since 1970; the clock then stands still. Default: system time."),
        QStringLiteral("seconds"));
    const QCommandLineOption seedOption(
        QStringLiteral("seed"),
        QStringLiteral("Seed of the generated line-up, EPG, signal values and jitter (default 1)."),
        QStringLiteral("number"), QStringLiteral("1"));
    const QCommandLineOption lineupOption(
        QStringLiteral("lineup"),
        QStringLiteral("Channel line-up: 'default' (hand-made) or BxS, e.g. 20x1000 for 20 bouquets of 1000 "
                       "generated services."),
        QStringLiteral("default|BxS"), QStringLiteral("default"));
    const QCommandLineOption replayOption(
        QStringLiteral("replay"),
        QStringLiteral(
            "Answer from files in DIR instead of the living receiver: DIR + path + .xml/.html/.txt "
            "(query ignored), 404 when missing."),
        QStringLiteral("dir"));
    const QCommandLineOption faultOption(
        QStringLiteral("fault"),
        QStringLiteral(
            "Fault, repeatable: [PATH=]ITEM[,ITEM...] with items latency:MS[:JITTER], hang, "
            "cut[:PERCENT], 500, 404, 412, malformed, trickle[:BYTES[:MS]], refuse, badauth, refusal, "
            "drop, times:N. "
            "Without PATH it hits every path; PATH may end in '*'."),
        QStringLiteral("fault"));
    const QCommandLineOption downtimeOption(
        QStringLiteral("downtime"),
        QStringLiteral(
            "Milliseconds the receiver stays unreachable after reboot, GUI restart and deep standby "
            "(default 8000, 3000, 10000)."),
        QStringLiteral("ms"));
    const QCommandLineOption answerOption(
        QStringLiteral("message-answer"),
        QStringLiteral("The viewer's answer to yes/no questions: yes (default), no or none."),
        QStringLiteral("yes|no|none"), QStringLiteral("yes"));
    const QCommandLineOption sessionGuardOption(
        QStringLiteral("session-guard"),
        QStringLiteral("Every /web/ request needs the sessionid that /web/session gives the client (address "
                       "and User-Agent), or it is answered 412."));
    const QCommandLineOption sessionLifetimeOption(
        QStringLiteral("session-lifetime"),
        QStringLiteral("Seconds on the receiver's clock a session id stays valid (default: for good)."),
        QStringLiteral("seconds"));
    const QCommandLineOption logOption(
        QStringLiteral("log"), QStringLiteral("Print every request (target, decoded query, user) and its "
                                              "answer status."));
    const QCommandLineOption streamPortOption(
        QStringLiteral("stream-port"),
        QStringLiteral("Enigma2: stream the channels on this TCP port as real receivers do on 8001 (GET "
                       "/<service reference>: a few seconds of MPEG transport stream); 0 picks a free one."),
        QStringLiteral("port"));
    parser.addOptions({webifOption, portOption, addressOption, userOption, passwordOption, timeOption,
                       seedOption, lineupOption, replayOption, faultOption, downtimeOption, answerOption,
                       sessionGuardOption, sessionLifetimeOption, logOption, streamPortOption});
    parser.process(app);

    const QString webif = parser.value(webifOption).toLower();
    if (webif != QLatin1String("e2") && webif != QLatin1String("e1"))
        return fail(QStringLiteral("--webif must be e2 or e1, not '%1'").arg(webif));
    const boxsim::Personality personality =
        webif == QLatin1String("e2") ? boxsim::Personality::Enigma2 : boxsim::Personality::Enigma1;
    boxsim::BoxSim box(personality);

    bool ok = false;
    const quint64 seed = parser.value(seedOption).toULongLong(&ok, 10);
    if (!ok)
        return fail(QStringLiteral("--seed needs a number"));
    box.setSeed(seed);

    if (parser.isSet(timeOption)) {
        const qint64 time = parser.value(timeOption).toLongLong(&ok, 10);
        if (!ok)
            return fail(QStringLiteral("--time needs seconds since 1970"));
        box.setFixedTime(time);
    }

    const QString lineup = parser.value(lineupOption);
    if (lineup != QLatin1String("default")) {
        const QStringList parts = lineup.split(u'x');
        bool okB = false;
        bool okS = false;
        const int bouquets = parts.value(0).toInt(&okB, 10);
        const int services = parts.value(1).toInt(&okS, 10);
        if (parts.size() != 2 || !okB || !okS || bouquets < 0 || services < 0)
            return fail(
                QStringLiteral("--lineup must be 'default' or BxS like 20x1000, not '%1'").arg(lineup));
        box.useGeneratedLineUp(bouquets, services);
    }

    if (parser.isSet(userOption))
        box.setCredentials(parser.value(userOption), parser.value(passwordOption));
    else if (parser.isSet(passwordOption))
        return fail(QStringLiteral("--password needs --user"));

    if (parser.isSet(replayOption) && !box.setReplayDirectory(parser.value(replayOption)))
        return fail(QStringLiteral("replay directory '%1' does not exist").arg(parser.value(replayOption)));

    const QStringList faults = parser.values(faultOption);
    for (const QString& text : faults) {
        QString error;
        const std::optional<boxsim::ParsedFault> parsed = boxsim::parseFault(text, &error);
        if (!parsed)
            return fail(QStringLiteral("bad --fault '%1': %2").arg(text, error));
        if (parsed->path.isEmpty())
            box.setFault(parsed->fault);
        else
            box.setPathFault(parsed->path, parsed->fault);
    }

    if (parser.isSet(downtimeOption)) {
        const int ms = parser.value(downtimeOption).toInt(&ok, 10);
        if (!ok || ms < 0)
            return fail(QStringLiteral("--downtime needs milliseconds"));
        for (const auto action :
             {boxsim::PowerAction::Reboot, boxsim::PowerAction::RestartGui, boxsim::PowerAction::DeepStandby})
            box.setDowntime(action, ms);
    }

    box.setSessionGuard(parser.isSet(sessionGuardOption));
    if (parser.isSet(sessionLifetimeOption)) {
        const qint64 secs = parser.value(sessionLifetimeOption).toLongLong(&ok, 10);
        if (!ok || secs <= 0)
            return fail(QStringLiteral("--session-lifetime needs seconds (1 or more)"));
        if (!parser.isSet(sessionGuardOption))
            return fail(QStringLiteral("--session-lifetime needs --session-guard"));
        box.setSessionLifetime(secs);
    }

    const QString answer = parser.value(answerOption).toLower();
    if (answer == QLatin1String("yes"))
        box.setMessageAnswer(boxsim::MessageAnswer::Yes);
    else if (answer == QLatin1String("no"))
        box.setMessageAnswer(boxsim::MessageAnswer::No);
    else if (answer == QLatin1String("none"))
        box.setMessageAnswer(boxsim::MessageAnswer::NoAnswer);
    else
        return fail(QStringLiteral("--message-answer must be yes, no or none"));

    if (parser.isSet(logOption)) {
        QObject::connect(
            &box, &boxsim::BoxSim::requestReceived, &app, [](const boxsim::LoggedRequest& request) {
                out() << '#' << request.sequence << ' '
                      << request.received.toString(QStringLiteral("HH:mm:ss.zzz")) << ' '
                      << QString::fromLatin1(request.method) << ' ' << QString::fromLatin1(request.target())
                      << "  user=" << (request.user.isEmpty() ? QStringLiteral("-") : request.user)
                      << (request.authorized ? QString() : QStringLiteral(" (not authorized)")) << '\n';
                for (const auto& item : request.queryItems)
                    out() << "      " << item.first << " = " << item.second << '\n';
                out().flush();
            });
        QObject::connect(&box, &boxsim::BoxSim::requestAnswered, &app, [](quint64 sequence, int status) {
            out() << '#' << sequence << " -> " << status << Qt::endl;
        });
    }

    QHostAddress address;
    if (!address.setAddress(parser.value(addressOption)))
        return fail(QStringLiteral("--address '%1' is not an IP address").arg(parser.value(addressOption)));
    const uint requestedPort = parser.value(portOption).toUInt(&ok, 10);
    if (!ok || requestedPort > 65535)
        return fail(QStringLiteral("--port needs a number from 0 to 65535"));
    const quint16 requested = quint16(requestedPort);
    const quint16 port = box.listen(requested, address);
    if (port == 0) {
        err() << "tavrel-boxsim: cannot listen on " << address.toString() << ':' << requested << ": "
              << box.errorString() << Qt::endl;
        return 1;
    }
    out() << "tavrel-boxsim: " << (personality == boxsim::Personality::Enigma2 ? "Enigma2" : "Enigma1")
          << " web interface listening on " << box.baseUrl().toString() << '/' << Qt::endl;
    out() << "port " << port << Qt::endl;
    if (parser.isSet(streamPortOption)) {
        const uint requestedStreamPort = parser.value(streamPortOption).toUInt(&ok, 10);
        if (!ok || requestedStreamPort > 65535 || personality != boxsim::Personality::Enigma2)
            return fail(
                QStringLiteral("--stream-port needs the Enigma2 web interface and a number from 0 to 65535"));
        // The web interface is of use without its streams: a port taken already is only told.
        const quint16 streamPort = box.listenForStreams(quint16(requestedStreamPort), address);
        if (streamPort == 0)
            err() << "tavrel-boxsim: cannot listen for streams on port " << requestedStreamPort << Qt::endl;
        else
            out() << "stream port " << streamPort << Qt::endl;
    }

    // Ctrl-C and kill end the event loop, so the receiver closes its connections properly.
    std::signal(SIGINT, requestStop);
    std::signal(SIGTERM, requestStop);
    QTimer stopCheck;
    QObject::connect(&stopCheck, &QTimer::timeout, &app, [] {
        if (stopRequested)
            QCoreApplication::quit();
    });
    stopCheck.start(100);
    return app.exec();
}
