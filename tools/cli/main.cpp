#include "box/requestse1.h"
#include "box/requestse2.h"
#include "box/wakeonlan.h"
#include "model/clock.h"
#include "model/records.h"
#include "model/tavreldatabase.h"
#include "settings/settings.h"
#include "tools/cli/commandoptions.h"
#include "tools/cli/commandrun.h"
#include "tools/cli/e1commands.h"
#include "tools/cli/e2commands.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

constexpr auto commandsHelp = R"(Enigma2 commands (--webif e2):
  dump services | epg-now BOUQUET_REF | epg SERVICE_REF | current | status | about | signal
       | timers | movies | search TEXT | similar SERVICE_REF EVENT_ID
  zap SERVICE_REF            volume 0-100             mute
  power standby|wakeup|restart|reboot|shutdown
  message TEXT [--question] [--timeout SECONDS]       answer
  timer-add SERVICE_REF EVENT_ID [--zap]              timer-delete SERVICE_REF BEGIN END
  movie-delete MOVIE_REF     record                   key ok|exit
Either receiver:
  wake --mac MAC [--wake-address ADDRESS[:PORT]]      Wake-on-LAN packet (UDP port 9) to the
       broadcast address of the LAN that holds --host, or to ADDRESS
Enigma1 commands (--webif e1):
  dump services | epg-now BOUQUET_REF | epg | status | about | timers | movies | satfinder
       | satfinder-data PARAMETERS
  zap SERVICE_REF            volume 0-63              mute
  power standby|wakeup|restart|reboot|shutdown
  message TEXT [--caption CAPTION] [--until-confirmed] [--timeout SECONDS]
  timer-add SERVICE_REF START DURATION TITLE CHANNEL  timer-delete SERVICE_REF START TYPEDATA
  movie-delete MOVIE_REF     movie-rename MOVIE_REF TITLE                position N
  play|pause|stop|forward|rewind|record               key ok|exit|volup|voldown
Dumps print JSON on standard output. Exit codes: 0 success, 1 usage, 2 network error,
3 time-out, 4 user name or password refused, 5 the receiver refused or sent an unreadable answer.)";

int usage(const QString& message);

// Needs no web interface: the receiver's network card answers the packet while it sleeps.
int wake(const QString& mac, const QString& target, const QString& receiverHost)
{
    if (WakeOnLan::macBytes(mac).isEmpty())
        return usage(QStringLiteral("wake needs --mac with six pairs of hex digits, like 00:1d:ec:0a:1b:2c"));
    if (!WakeOnLan::parseTarget(target, receiverHost))
        return usage(QStringLiteral("--wake-address takes an IP address with an optional port"));
    const QString problem = WakeOnLan::send(mac, target, receiverHost);
    if (!problem.isEmpty()) {
        QTextStream(stderr) << "tavrel-cli: " << problem << '\n';
        return CommandRun::NetworkError;
    }
    return CommandRun::Success;
}

int usage(const QString& message)
{
    QTextStream(stderr) << "tavrel-cli: " << message << "\nTry 'tavrel-cli --help'.\n";
    return CommandRun::UsageError;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("TavrelControl Lite"));
    QCoreApplication::setOrganizationName(QStringLiteral("Quillory APPDEV"));
    registerRecordMetaTypes();

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Remote control for Enigma2 and Enigma1 receivers from the command line.\n\n") +
        QLatin1String(commandsHelp));
    parser.addHelpOption();
    const QCommandLineOption host(QStringLiteral("host"), QStringLiteral("Address of the receiver."),
                                  QStringLiteral("H"));
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("Port of its web interface (80)."),
                                  QStringLiteral("P"), QStringLiteral("80"));
    const QCommandLineOption webif(QStringLiteral("webif"),
                                   QStringLiteral("Web interface: e2 (default) or e1."),
                                   QStringLiteral("TYPE"), QStringLiteral("e2"));
    const QCommandLineOption user(QStringLiteral("user"), QStringLiteral("User name."), QStringLiteral("U"));
    const QCommandLineOption password(QStringLiteral("password"), QStringLiteral("Password."),
                                      QStringLiteral("P"));
    const QCommandLineOption timeoutMs(
        QStringLiteral("timeout-ms"),
        QStringLiteral("Time-out of each request in milliseconds (20000, 60000 "
                       "for line-up, EPG and lists)."),
        QStringLiteral("N"));
    const QCommandLineOption question(QStringLiteral("question"), QStringLiteral("message: ask yes or no."));
    const QCommandLineOption timeout(QStringLiteral("timeout"), QStringLiteral("message: seconds on screen."),
                                     QStringLiteral("SECONDS"), QStringLiteral("0"));
    const QCommandLineOption zap(QStringLiteral("zap"), QStringLiteral("timer-add: a zap timer."));
    const QCommandLineOption caption(QStringLiteral("caption"), QStringLiteral("message: caption (Enigma1)."),
                                     QStringLiteral("CAPTION"));
    const QCommandLineOption untilConfirmed(QStringLiteral("until-confirmed"),
                                            QStringLiteral("message: stays until confirmed (Enigma1)."));
    const QCommandLineOption mac(QStringLiteral("mac"), QStringLiteral("wake: the receiver's MAC address."),
                                 QStringLiteral("MAC"));
    const QCommandLineOption wakeAddress(QStringLiteral("wake-address"),
                                         QStringLiteral("wake: where the packet goes (LAN broadcast)."),
                                         QStringLiteral("ADDRESS"));
    parser.addOptions({host, port, webif, user, password, timeoutMs, question, timeout, zap, caption,
                       untilConfirmed, mac, wakeAddress});
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("What to do; see above."));
    parser.process(app);

    if (parser.positionalArguments() == QStringList{QStringLiteral("wake")})
        return wake(parser.value(mac), parser.value(wakeAddress), parser.value(host));
    if (!parser.isSet(host))
        return usage(QStringLiteral("--host is required"));
    const bool enigma1 = parser.value(webif) == QLatin1String("e1");
    if (!enigma1 && parser.value(webif) != QLatin1String("e2"))
        return usage(QStringLiteral("unknown web interface '%1'").arg(parser.value(webif)));

    int normalTimeout = TavrelRequest::defaultTransferTimeoutMs;
    int longTimeout = TavrelRequest::defaultLongTransferTimeoutMs;
    if (parser.isSet(timeoutMs)) {
        bool ok = false;
        normalTimeout = longTimeout = parser.value(timeoutMs).toInt(&ok);
        if (!ok || normalTimeout <= 0)
            return usage(QStringLiteral("--timeout-ms takes a positive number"));
    }
    CommandOptions options;
    options.words = parser.positionalArguments();
    options.question = parser.isSet(question);
    options.timeout = parser.value(timeout).toInt();
    options.zap = parser.isSet(zap);
    options.caption = parser.value(caption);
    options.untilConfirmed = parser.isSet(untilConfirmed);
    if (options.words.isEmpty())
        return usage(QStringLiteral("no command given"));

    // The engine reads its connection from a settings store; this one lives only for this run
    // and never touches the user's profiles.
    QTemporaryDir store;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, store.path());
    Profile profile;
    profile.profileName = QStringLiteral("tavrel-cli");
    profile.webIfType = enigma1 ? 0 : 1;
    profile.isActive = true;
    profile.wlanAddr = parser.value(host);
    profile.wlanPort = parser.value(port);
    profile.userName = parser.value(user);
    profile.password = parser.value(password);
    Settings().saveProfile(profile);

    TavrelDatabase database(Clock::system());
    std::unique_ptr<TavrelRequest> engine;
    if (enigma1)
        engine = std::make_unique<RequestsE1>(&database);
    else
        engine = std::make_unique<RequestsE2>(&database);
    engine->setTransferTimeouts(normalTimeout, longTimeout);
    // Whole chains of follow-up requests must end within a few request time-outs.
    CommandRun run(engine.get(), &database, 4 * longTimeout);
    const QString problem = enigma1 ? startE1Command(run, static_cast<RequestsE1&>(*engine), options)
                                    : startE2Command(run, static_cast<RequestsE2&>(*engine), options);
    if (!problem.isEmpty())
        return usage(problem);
    QObject::connect(&run, &CommandRun::finished, &app, &QCoreApplication::exit);
    run.begin();
    return app.exec();
}
