#include "box/requestse1.h"
#include "box/requestse2.h"
#include "box/wakeonlan.h"
#include "model/clock.h"
#include "model/records.h"
#include "model/tavreldatabase.h"
#include "settings/passwordkeyring.h"
#include "settings/settings.h"
#include "tools/cli/commandoptions.h"
#include "tools/cli/commandrun.h"
#include "tools/cli/e1commands.h"
#include "tools/cli/e2commands.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextStream>

#include <optional>

namespace {

constexpr auto commandsHelp = R"(Enigma2 commands (--webif e2):
  dump services | epg-now BOUQUET_REF | epg SERVICE_REF | current | status | about | signal
       | timers | movies | search TEXT | similar SERVICE_REF EVENT_ID
  zap SERVICE_REF            volume 0-100             mute
  power standby|wakeup|restart|reboot|shutdown
  message TEXT [--question] [--timeout SECONDS]       answer
  timer-add SERVICE_REF EVENT_ID [--zap]              timer-delete SERVICE_REF BEGIN END
  movie-delete MOVIE_REF     record                   key ok|exit
  remote KEY... [--long]     keys of the remote control, in order (0-9 up down left right ok
       exit menu info epg red green yellow blue channelup channeldown volumeup volumedown mute
       tv text audio help power)
  screenshot FILE            the picture the TV shows, as PNG
  stream-url [SERVICE_REF]   the address of the channel's stream (default: the one shown), for a
       player on this computer; with the profile's credentials when it says the stream needs them
  playlist BOUQUET FILE      the bouquet's channels (by reference or name) as an M3U playlist
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
  remote KEY... [--long]     keys of the remote control, as for Enigma2
Dumps print JSON on standard output. Exit codes: 0 success, 1 usage, 2 network error,
3 time-out, 4 user name or password refused, 5 the receiver refused or sent an unreadable answer
(after a command also an HTTP error). The password can also come from --password-file, from
the environment variable TAVREL_PASSWORD or from the application's profile (--profile).)";

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

// The longest time-out a request may be given: ten minutes.
constexpr int longestTimeoutMs = 10 * 60 * 1000;
// Stands in for a negative number while the options are read, so that "-5" is a value and
// not an option.
const QString negativeMark = QStringLiteral("\x01-");

// A port as the receiver's profile holds it; empty when the text is no port.
QString portNumber(const QString& text)
{
    bool ok = false;
    const int port = text.toInt(&ok);
    return ok && port >= 1 && port <= 65535 ? QString::number(port) : QString();
}

QStringList markNegativeNumbers(const QStringList& arguments)
{
    static const QRegularExpression negative(QStringLiteral("^-[0-9]+$"));
    QStringList marked = arguments;
    for (qsizetype i = 1; i < marked.size(); ++i) {
        if (negative.match(marked.at(i)).hasMatch())
            marked[i] = negativeMark + marked.at(i).mid(1);
    }
    return marked;
}

QString unmarked(QString value)
{
    if (value.startsWith(negativeMark))
        value = QLatin1Char('-') + value.mid(negativeMark.size());
    return value;
}

void waitUntilIdle(const PasswordKeyring& keyring)
{
    if (!keyring.isBusy())
        return;
    QEventLoop loop;
    QObject::connect(&keyring, &PasswordKeyring::idle, &loop, &QEventLoop::quit);
    loop.exec();
}

// The stored profile of the application with this name, read before the run's own store
// takes the place of the user's. Its password comes from the keyring as in the application,
// and one still in the settings file moves there.
std::optional<Profile> storedProfile(const QString& name)
{
    Settings store;
    PasswordKeyring keyring(store.fileName());
    QObject::connect(&keyring, &PasswordKeyring::unavailable, &keyring, [](const QString& reason) {
        QTextStream(stderr) << "tavrel-cli: " << PasswordKeyring::fallbackNotice() << " (" << reason << ")\n";
    });
    Settings::usePasswordKeyring(&keyring);
    keyring.load(store.profilesWithKeyringPassword());
    waitUntilIdle(keyring);
    std::optional<Profile> found;
    const QList<Profile> profiles = store.getProfiles();
    for (const Profile& profile : profiles) {
        if (profile.profileName == name)
            found = profile;
    }
    waitUntilIdle(keyring);
    // The run's own store below keeps its password to itself.
    Settings::usePasswordKeyring(nullptr);
    return found;
}

// The password from the command line, a file or the environment, in that order.
std::optional<QString> givenPassword(const QString& option, const QString& file, QString* problem)
{
    if (!option.isNull())
        return option;
    if (!file.isNull()) {
        QFile input(file);
        if (!input.open(QIODevice::ReadOnly)) {
            *problem = QStringLiteral("cannot read the password file '%1'").arg(file);
            return std::nullopt;
        }
        // The first line; an editor's final line break is no part of it.
        QString password = QString::fromUtf8(input.readLine());
        while (password.endsWith(QLatin1Char('\n')) || password.endsWith(QLatin1Char('\r')))
            password.chop(1);
        return password;
    }
    if (qEnvironmentVariableIsSet("TAVREL_PASSWORD"))
        return qEnvironmentVariable("TAVREL_PASSWORD");
    return std::nullopt;
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
    const QCommandLineOption host(QStringLiteral("host"),
                                  QStringLiteral("Address of the receiver, optionally with :PORT."),
                                  QStringLiteral("H"));
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("Port of its web interface (80)."),
                                  QStringLiteral("P"));
    const QCommandLineOption webif(QStringLiteral("webif"),
                                   QStringLiteral("Web interface: e2 (default) or e1."),
                                   QStringLiteral("TYPE"), QStringLiteral("e2"));
    const QCommandLineOption user(QStringLiteral("user"), QStringLiteral("User name."), QStringLiteral("U"));
    const QCommandLineOption password(QStringLiteral("password"),
                                      QStringLiteral("Password (visible to other users; see below)."),
                                      QStringLiteral("P"));
    const QCommandLineOption passwordFile(QStringLiteral("password-file"),
                                          QStringLiteral("Read the password from the first line of FILE."),
                                          QStringLiteral("FILE"));
    const QCommandLineOption profileName(
        QStringLiteral("profile"),
        QStringLiteral("Take address, port, web interface, user and password from the application's "
                       "profile NAME; other options override them."),
        QStringLiteral("NAME"));
    const QCommandLineOption timeoutMs(
        QStringLiteral("timeout-ms"),
        QStringLiteral("Time-out of each request in milliseconds, 1 to 600000 (20000, 60000 "
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
    const QCommandLineOption longPress(QStringLiteral("long"), QStringLiteral("remote: hold the keys down."));
    const QCommandLineOption mac(QStringLiteral("mac"), QStringLiteral("wake: the receiver's MAC address."),
                                 QStringLiteral("MAC"));
    const QCommandLineOption wakeAddress(QStringLiteral("wake-address"),
                                         QStringLiteral("wake: where the packet goes (LAN broadcast)."),
                                         QStringLiteral("ADDRESS"));
    parser.addOptions({host, port, webif, user, password, passwordFile, profileName, timeoutMs, question,
                       timeout, zap, caption, untilConfirmed, longPress, mac, wakeAddress});
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("What to do; see above."));
    if (!parser.parse(markNegativeNumbers(QCoreApplication::arguments())))
        return usage(parser.errorText());
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);

    Profile profile;
    if (parser.isSet(profileName)) {
        const std::optional<Profile> stored = storedProfile(parser.value(profileName));
        if (!stored)
            return usage(QStringLiteral("no profile named '%1'").arg(parser.value(profileName)));
        profile = *stored;
    } else {
        profile.webIfType = 1;
        profile.wlanPort = QStringLiteral("80");
    }
    if (parser.isSet(webif)) {
        if (parser.value(webif) != QLatin1String("e1") && parser.value(webif) != QLatin1String("e2"))
            return usage(QStringLiteral("unknown web interface '%1'").arg(parser.value(webif)));
        profile.webIfType = parser.value(webif) == QLatin1String("e1") ? 0 : 1;
    }
    const bool enigma1 = profile.webIfType == 0;
    if (parser.isSet(host)) {
        QString address = parser.value(host).trimmed();
        // "host:port", but not an IPv6 address of its own.
        const qsizetype colon = address.lastIndexOf(QLatin1Char(':'));
        if (colon > 0 && address.indexOf(QLatin1Char(':')) == colon) {
            const QString given = portNumber(address.mid(colon + 1));
            if (given.isEmpty())
                return usage(QStringLiteral("'%1' is no port").arg(address.mid(colon + 1)));
            const QString other = parser.isSet(port) ? portNumber(unmarked(parser.value(port))) : given;
            if (!other.isEmpty() && other != given)
                return usage(QStringLiteral("--host and --port name different ports"));
            profile.wlanPort = given;
            address.truncate(colon);
        }
        profile.wlanAddr = address;
    }
    // A stored profile knows the receiver's card and where its packet goes.
    if (parser.positionalArguments() == QStringList{QStringLiteral("wake")})
        return wake(parser.isSet(mac) ? parser.value(mac) : profile.lanMac,
                    parser.isSet(wakeAddress) ? parser.value(wakeAddress) : profile.wakeAddress,
                    profile.wlanAddr);
    if (profile.wlanAddr.isEmpty())
        return usage(QStringLiteral("--host is required"));
    if (parser.isSet(port)) {
        profile.wlanPort = portNumber(unmarked(parser.value(port)));
        if (profile.wlanPort.isEmpty())
            return usage(QStringLiteral("--port takes a number from 1 to 65535, not '%1'")
                             .arg(unmarked(parser.value(port))));
    }
    if (parser.isSet(user))
        profile.userName = parser.value(user);
    QString problem;
    const std::optional<QString> secret =
        givenPassword(parser.isSet(password) ? unmarked(parser.value(password)) : QString(),
                      parser.isSet(passwordFile) ? parser.value(passwordFile) : QString(), &problem);
    if (!problem.isEmpty())
        return usage(problem);
    if (secret)
        profile.password = *secret;

    int normalTimeout = TavrelRequest::defaultTransferTimeoutMs;
    int longTimeout = TavrelRequest::defaultLongTransferTimeoutMs;
    if (parser.isSet(timeoutMs)) {
        bool ok = false;
        normalTimeout = longTimeout = parser.value(timeoutMs).toInt(&ok);
        if (!ok || normalTimeout < 1 || normalTimeout > longestTimeoutMs)
            return usage(QStringLiteral("--timeout-ms takes a number of milliseconds from 1 to %1")
                             .arg(longestTimeoutMs));
    }
    CommandOptions options;
    for (const QString& word : parser.positionalArguments())
        options.words.append(unmarked(word));
    options.question = parser.isSet(question);
    bool timeoutOk = false;
    options.timeout = unmarked(parser.value(timeout)).toInt(&timeoutOk);
    if (parser.isSet(timeout) && (!timeoutOk || options.timeout < 0))
        return usage(QStringLiteral("--timeout takes a number of seconds"));
    options.zap = parser.isSet(zap);
    options.caption = parser.value(caption);
    options.untilConfirmed = parser.isSet(untilConfirmed);
    options.longPress = parser.isSet(longPress);
    if (options.words.isEmpty())
        return usage(QStringLiteral("no command given"));
    if (options.words.contains(QString()))
        return usage(QStringLiteral("empty argument in '%1'").arg(options.words.join(QLatin1Char(' '))));

    // The engine reads its connection from a settings store; this one lives only for this run
    // and never touches the user's profiles.
    QTemporaryDir store;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, store.path());
    profile.profileName = QStringLiteral("tavrel-cli");
    profile.isActive = true;
    Settings().saveProfile(profile);

    TavrelDatabase database(Clock::system());
    std::unique_ptr<TavrelRequest> engine;
    if (enigma1)
        engine = std::make_unique<RequestsE1>(&database);
    else
        engine = std::make_unique<RequestsE2>(&database);
    engine->setTransferTimeouts(normalTimeout, longTimeout);
    // Whole chains of follow-up requests must end within a few request time-outs.
    const QString subject = profile.wlanAddr + QLatin1Char(':') + profile.wlanPort + QStringLiteral(": ") +
                            options.words.join(QLatin1Char(' '));
    CommandRun run(engine.get(), &database, 4 * longTimeout, subject);
    problem = enigma1 ? startE1Command(run, static_cast<RequestsE1&>(*engine), options)
                      : startE2Command(run, static_cast<RequestsE2&>(*engine), options);
    if (!problem.isEmpty())
        return usage(problem);
    QObject::connect(&run, &CommandRun::finished, &app, &QCoreApplication::exit);
    run.begin();
    return app.exec();
}
