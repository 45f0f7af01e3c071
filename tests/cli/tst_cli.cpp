#include "tools/boxsim/boxsim.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkDatagram>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUdpSocket>

#include <tuple>

using namespace Qt::StringLiterals;
using boxsim::FaultKind;
using boxsim::Personality;

Q_DECLARE_METATYPE(Personality)
Q_DECLARE_METATYPE(QList<boxsim::RemoteKeyPress>)

namespace {

const QString favourites =
    uR"(1:7:1:0:0:0:0:0:0:0:FROM BOUQUET "userbouquet.favourites.tv" ORDER BY bouquet)"_s;
const QString zdf = u"1:0:19:2B66:3F3:1:C00000:0:0:0:"_s;

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { use(Personality::Enigma2); }

    void cleanup() { m_box.reset(); }

    void dumps_data()
    {
        QTest::addColumn<Personality>("personality");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("login");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("output"); // Enigma2: the first key; Enigma1: found in what is printed

        const auto row = [](Personality personality, const char* name, const QStringList& dump, bool login,
                            int exitCode, const QByteArray& output) {
            QTest::addRow("%s: %s", personality == Personality::Enigma2 ? "Enigma2" : "Enigma1", name)
                << personality << QStringList{u"dump"_s} + dump << login << exitCode << output;
        };
        const Personality e2 = Personality::Enigma2;
        row(e2, "services", {u"services"_s}, false, 0, "name");
        row(e2, "current", {u"current"_s}, false, 0, "serviceReference");
        row(e2, "status", {u"status"_s}, false, 0, "agcText");
        row(e2, "about", {u"about"_s}, false, 0, "enigmaVersion");
        row(e2, "signal", {u"signal"_s}, false, 0, "snrPercent");
        row(e2, "timers", {u"timers"_s}, false, 0, "serviceReference");
        row(e2, "movies", {u"movies"_s}, false, 0, "title");
        row(e2, "epg of a service", {u"epg"_s, zdf}, false, 0, "name");
        row(e2, "search", {u"search"_s, u"Tagesschau"_s}, false, 0, "serviceName");
        const Personality e1 = Personality::Enigma1;
        row(e1, "services", {u"services"_s}, false, 0, "\"bouquetName\": \"Favourites (TV)\"");
        row(e1, "status with login", {u"status"_s}, true, 0, "\"diskGB\"");
        row(e1, "status without login", {u"status"_s}, false, 4, "refused");
        row(e1, "current epg", {u"epg"_s}, true, 0, "\"epgList\"");
        row(e1, "about", {u"about"_s}, false, 0, "\"linuxKernel\"");
        row(e1, "timers", {u"timers"_s}, false, 0, "\"typeData\"");
        row(e1, "movies", {u"movies"_s}, false, 0, "\"title\"");
        row(e1, "satellite finder", {u"satfinder"_s}, false, 0, "\"channelRefs\"");
        row(e1, "measurement", {u"satfinder-data"_s, u"11836500:27500000:0:3:192:2:"_s}, false, 0,
            "\"lock\"");
        row(e1, "enigma2 only dump", {u"signal"_s}, false, 1, "unknown dump");
    }

    void dumps()
    {
        QFETCH(Personality, personality);
        QFETCH(QStringList, arguments);
        QFETCH(bool, login);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, output);

        use(personality);
        const Run result = run(arguments, connection(login));
        const QByteArray printed = result.out + result.err;
        QCOMPARE(result.exitCode, exitCode);
        if (exitCode == 0)
            QVERIFY2(!QJsonDocument::fromJson(result.out).isNull(), printed.constData());
        if (personality == Personality::Enigma1) {
            QVERIFY2(printed.contains(output), printed.constData());
            return;
        }
        QVERIFY2(result.err.isEmpty(), result.err.constData());
        // Keys come in the records' own field order (and a record with none has no first key).
        QCOMPARE(result.out.mid(result.out.indexOf('"') + 1, output.size()), output);
    }

    void epgNowMergesIntoTheBouquet()
    {
        const Run result = run({u"dump"_s, u"epg-now"_s, favourites});
        QCOMPARE(result.exitCode, 0);
        const QJsonArray channels = QJsonDocument::fromJson(result.out).array();
        QCOMPARE(channels.size(), m_box->bouquets().first().services.size());
        const QJsonObject first = channels.first().toObject();
        const QString reference = first.value(QLatin1String("serviceReference")).toString();
        const QJsonArray events = first.value(QLatin1String("epgList")).toArray();
        QStringList titles;
        for (const QJsonValue& event : events)
            titles << event.toObject().value(QLatin1String("title")).toString();
        QCOMPARE(titles,
                 (QStringList{m_box->currentEvent(reference)->title, m_box->nextEvent(reference)->title}));
        // Progress and minutes left are worked out against now (the run took a moment; an event in
        // its last minute has none left).
        const qint64 left = (m_box->currentEvent(reference)->end() - QDateTime::currentSecsSinceEpoch()) / 60;
        QVERIFY(qAbs(events.at(0).toObject().value(QLatin1String("minutesLeft")).toInt() - left) <= 1);
    }

    void commandsChangeTheReceiver()
    {
        // Commands also pass a receiver that wants a session id with every request.
        m_box->setSessionGuard(true);
        QCOMPARE(run({u"zap"_s, zdf}).exitCode, 0);
        QCOMPARE(m_box->currentServiceReference(), zdf);

        QCOMPARE(run({u"volume"_s, u"17"_s}).exitCode, 0);
        QCOMPARE(m_box->volume(), 17);

        const bool muted = m_box->isMuted();
        QCOMPARE(run({u"mute"_s}).exitCode, 0);
        QCOMPARE(m_box->isMuted(), !muted);

        QCOMPARE(run({u"power"_s, u"standby"_s}).exitCode, 0);
        QVERIFY(m_box->isStandby());
        QCOMPARE(run({u"power"_s, u"wakeup"_s}).exitCode, 0);
        QVERIFY(!m_box->isStandby());

        const QString movie = m_box->movies().first().reference;
        QCOMPARE(run({u"movie-delete"_s, movie}).exitCode, 0);
        const QList<boxsim::Movie> movies = m_box->movies();
        QVERIFY(std::none_of(movies.cbegin(), movies.cend(),
                             [&](const boxsim::Movie& left) { return left.reference == movie; }));
        const Run again = run({u"movie-delete"_s, movie});
        QCOMPARE(again.exitCode, 5);
        QVERIFY(again.err.startsWith("tavrel-cli: "));

        const int next = m_box->nextEvent(zdf).value().id;
        QCOMPARE(run({u"timer-add"_s, zdf, QString::number(next), u"--zap"_s}).exitCode, 0);
        const QList<boxsim::Timer> timers = m_box->timers();
        const auto timer = std::find_if(timers.cbegin(), timers.cend(),
                                        [&](const boxsim::Timer& t) { return t.eventId == next; });
        QVERIFY(timer != timers.cend() && timer->justPlay);
        const QStringList remove{u"timer-delete"_s, zdf, QString::number(timer->begin),
                                 QString::number(timer->end)};
        QCOMPARE(run(remove).exitCode, 0);
    }

    void messageArrivesIntact()
    {
        const QString text = u"Tom & Jerry #1 +2 100% über Ελλάδα"_s;
        m_box->setMessageAnswer(boxsim::MessageAnswer::No);
        QCOMPARE(run({u"message"_s, text, u"--question"_s, u"--timeout"_s, u"20"_s}).exitCode, 0);
        QCOMPARE(m_box->messages().last().text, text);
        QCOMPARE(m_box->messages().last().type, 0);
        QCOMPARE(m_box->messages().last().timeout, 20);

        const Run answer = run({u"answer"_s});
        QCOMPARE(answer.exitCode, 0);
        QCOMPARE(QJsonDocument::fromJson(answer.out).object().value(QLatin1String("answer")).toString(),
                 u"no"_s);
    }

    void failures_data()
    {
        QTest::addColumn<Personality>("personality");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("path");     // where the fault sits; empty: everywhere
        QTest::addColumn<int>("fault");        // FaultKind, or -1 for a closed port
        QTest::addColumn<bool>("credentials"); // the receiver wants a password the client lacks
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("message");

        const auto row = [](const char* name, const QStringList& arguments, int fault, int exitCode,
                            const QByteArray& message, bool credentials = false) {
            QTest::newRow(name) << Personality::Enigma2 << arguments << QString() << fault << credentials
                                << exitCode << message;
        };
        const QStringList about{u"dump"_s, u"about"_s};
        const QStringList soon{u"--timeout-ms"_s, u"300"_s, u"dump"_s, u"about"_s};
        const int none = int(FaultKind::None);
        row("nobody listening", about, -1, 2, "connection refused");
        row("server error", about, int(FaultKind::Http500), 2, "HTTP 500");
        row("no session id to be had", about, int(FaultKind::SessionRefused), 5,
            "session id with every request but accepted none: sessionid is missing, invalid or expired!");
        row("password refused", about, none, 4, "refused", true);
        row("hanging receiver", soon, int(FaultKind::Hang), 3, "no answer in time");
        row("unreadable answer", {u"dump"_s, u"movies"_s}, int(FaultKind::MalformedBody), 5,
            "could not be read");
        row("unknown bouquet", {u"dump"_s, u"epg-now"_s, u"1:7:none"_s}, none, 5, "no bouquet");
        row("trickling receiver", soon, int(FaultKind::Trickle), 3, "no answer in time");
        row("server error after a command", {u"mute"_s}, int(FaultKind::Http500), 5, "HTTP 500");
        // Wrong use: refused before anything is sent.
        const auto usage = [&](const char* name, const QStringList& arguments, const QByteArray& message) {
            row(name, arguments, none, 1, message);
        };
        usage("unknown command", {u"fly"_s}, "unknown command");
        usage("volume out of range", {u"volume"_s, u"101"_s}, "volume");
        usage("port 0", {u"--port"_s, u"0"_s, u"mute"_s}, "--port takes");
        usage("port above 65535", {u"--port"_s, u"65536"_s, u"mute"_s}, "--port takes");
        usage("port letters", {u"--port"_s, u"http"_s, u"mute"_s}, "--port takes");
        usage("empty port", {u"--port"_s, QString(), u"mute"_s}, "--port takes");
        usage("time-out 0", {u"--timeout-ms"_s, u"0"_s, u"mute"_s}, "from 1 to 600000");
        usage("time-out above ten minutes", {u"--timeout-ms"_s, u"600001"_s, u"mute"_s}, "from 1 to 600000");
        usage("time-out in words", {u"--timeout-ms"_s, u"soon"_s, u"mute"_s}, "from 1 to 600000");
        usage("empty reference", {u"zap"_s, QString()}, "empty argument");
        usage("negative number is a value", {u"volume"_s, u"-5"_s}, "0 to 100");

        const QString favouritesE1 =
            u"4097:7:0:33fc5:0:0:0:0:0:0:/var/tuxbox/config/enigma/userbouquet.33fc5.tv"_s;
        const QList<std::tuple<const char*, QStringList, QString>> lists{
            {"services", {u"services"_s}, u"/cgi-bin/getServices"_s},
            {"current EPG", {u"epg"_s}, u"/cgi-bin/getcurrentepg"_s},
            {"bouquet EPG", {u"epg-now"_s, favouritesE1}, u"/getMultiEPG"_s},
            {"movies", {u"movies"_s}, u"/body"_s},
            {"timers", {u"timers"_s}, u"/xml/timers"_s},
        };
        // An Enigma1 answer cut off in a record and ended with bytes that are no text, or one whose
        // connection closes before the announced length: never a shorter list.
        for (const auto& [name, dump, path] : lists) {
            QTest::addRow("Enigma1 %s, cut and garbled", name)
                << Personality::Enigma1 << QStringList{u"dump"_s} + dump << path
                << int(FaultKind::MalformedBody) << false << 5 << QByteArray("could not be read");
            QTest::addRow("Enigma1 %s, cut", name)
                << Personality::Enigma1 << QStringList{u"dump"_s} + dump << path << int(FaultKind::CutBody)
                << false << 2 << QByteArray("closed the connection");
        }
    }

    void failures()
    {
        QFETCH(Personality, personality);
        QFETCH(QStringList, arguments);
        QFETCH(QString, path);
        QFETCH(int, fault);
        QFETCH(bool, credentials);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, message);

        use(personality);
        QStringList target = connection(personality == Personality::Enigma1);
        if (fault < 0)
            m_box->close();
        else if (!path.isEmpty())
            m_box->setPathFault(path, {FaultKind(fault)});
        else if (fault != int(FaultKind::None))
            m_box->setFault({FaultKind(fault)});
        if (credentials) {
            m_box->setCredentials(u"root"_s, u"geheim"_s);
            target << u"--user"_s << u"root"_s << u"--password"_s << u"falsch"_s;
        }
        const Run result = run(arguments, target);
        QCOMPARE(result.exitCode, exitCode);
        QVERIFY(result.out.isEmpty());
        QVERIFY2(result.err.contains(message), result.err.constData());
        // One line for a failure; usage errors add a hint.
        QVERIFY(result.err.count('\n') <= 2);
    }

    void enigma1Commands()
    {
        use(Personality::Enigma1);
        const QStringList target = connection(true);
        boxsim::Movie movie;
        movie.reference = u"1:0:1:283d:3fb:1:c00000:0:0:0:/hdd/movie/Grüße & Co.ts"_s;
        movie.title = u"Grüße"_s;
        m_box->setMovies({movie});

        // The reference as the movie list printed it goes back and reaches the right recording.
        const Run movies = run({u"dump"_s, u"movies"_s}, target);
        QCOMPARE(movies.exitCode, 0);
        const QJsonObject listed = QJsonDocument::fromJson(movies.out).array().first().toObject();
        const QString printed = listed.value(QLatin1String("serviceReference")).toString();
        QCOMPARE(run({u"movie-rename"_s, printed, u"Neu & gut"_s}, target).exitCode, 0);
        QCOMPARE(m_box->movies().first().title, u"Neu & gut"_s);
        QCOMPARE(run({u"movie-delete"_s, printed}, target).exitCode, 0);
        QVERIFY(m_box->movies().isEmpty());

        const QStringList message{u"message"_s, u"Tee & Kuchen?"_s, u"--caption"_s, u"Küche"_s,
                                  u"--until-confirmed"_s};
        QCOMPARE(run(message, target).exitCode, 0);
        QCOMPARE(m_box->messages().last().caption, u"Küche"_s);
        QCOMPARE(m_box->messages().last().text, u"Tee & Kuchen?"_s);
        QCOMPARE(m_box->messages().last().timeout, -1);

        QCOMPARE(run({u"volume"_s, u"21"_s}, target).exitCode, 0);
        QCOMPARE(m_box->volume(), 21);
        const Run loud = run({u"volume"_s, u"64"_s}, target);
        QCOMPARE(loud.exitCode, 1);
        QVERIFY2(loud.err.contains("0 to 63"), loud.err.constData());
        QCOMPARE(run({u"zap"_s, u"1:0:1:2b66:3f3:1:c00000:0:0:0:"_s}, target).exitCode, 0);
        QCOMPARE(m_box->currentServiceReference(), u"1:0:1:2b66:3f3:1:c00000:0:0:0:"_s);
        QCOMPARE(run({u"power"_s, u"standby"_s}, target).exitCode, 0);
        QVERIFY(m_box->isStandby());
    }

    void commandFaults_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("command"); // the start of the command's target in the log
        QTest::addColumn<int>("fault");          // on the command's path
        QTest::addColumn<int>("exitCode");

        struct Kind
        {
            const char* name;
            QStringList arguments;
            QByteArray command;
        };
        const QList<Kind> kinds{
            {"mute", {u"mute"_s}, "/web/vol?set=mute"},
            {"key", {u"key"_s, u"ok"_s}, "/web/remotecontrol?command=352"},
            {"zap", {u"zap"_s, zdf}, "/web/zap?sRef="},
            {"message", {u"message"_s, u"Hallo"_s}, "/web/message?text="},
            {"record", {u"record"_s}, "/web/recordnow"},
            {"standby", {u"power"_s, u"standby"_s}, "/web/powerstate?newstate=5"},
            {"reboot", {u"power"_s, u"reboot"_s}, "/web/powerstate?newstate=2"},
            {"e1 mute", {u"mute"_s}, "/cgi-bin/rc?113"},
            {"e1 zap", {u"zap"_s, u"1:0:1:2b66:3f3:1:c00000:0:0:0:"_s}, "/cgi-bin/zapTo?"},
            {"e1 message", {u"message"_s, u"Hallo"_s}, "/cgi-bin/xmessage?"},
        };
        for (const Kind& kind : kinds) {
            const bool reboot = kind.command.endsWith("newstate=2");
            // Enigma1 commands answer with nothing: a refusal looks like success, a cut empty
            // answer is a whole one.
            const bool silent = kind.command.startsWith("/cgi-bin/") && kind.command != "/cgi-bin/xmessage?";
            // A receiver that goes down closes its connections, answered or not: that is success.
            const QList<std::tuple<const char*, FaultKind, int>> outcomes{
                {"refusal", FaultKind::Refusal, silent ? 0 : 5},
                {"malformed", FaultKind::MalformedBody, 5},
                {"cut", FaultKind::CutBody, silent || reboot ? 0 : 2},
                {"500", FaultKind::Http500, 5},
                {"hang", FaultKind::Hang, reboot ? 0 : 3},
                {"drop before answer", FaultKind::Refuse, reboot ? 0 : 2},
                {"drop after command", FaultKind::DropAfterRequest, reboot ? 0 : 2},
            };
            for (const auto& [name, fault, exitCode] : outcomes)
                QTest::addRow("%s, %s", kind.name, name)
                    << kind.arguments << kind.command << int(fault) << exitCode;
        }
    }

    void commandFaults()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, command);
        QFETCH(int, fault);
        QFETCH(int, exitCode);

        if (command.startsWith("/cgi-bin/"))
            use(Personality::Enigma1);
        m_box->setPathFault(QString::fromLatin1(command.split('?').first()),
                            {.kind = FaultKind(fault), .times = 1});
        const Run result = run(QStringList{u"--timeout-ms"_s, u"400"_s} + arguments);
        QVERIFY2(result.exitCode == exitCode, result.err.constData());
        if (exitCode != 0) {
            const QByteArray subject = "tavrel-cli: 127.0.0.1:" + QByteArray::number(m_box->port()) + ": ";
            QVERIFY(result.err.startsWith(subject));
            QCOMPARE(result.err.count('\n'), 1);
        }
        // One press, whatever happened to its answer.
        int presses = 0;
        for (const boxsim::LoggedRequest& request : m_box->requests())
            presses += request.target().startsWith(command) ? 1 : 0;
        QCOMPARE(presses, 1);
    }

    void credentialsGoWithTheFirstRequest_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("exitCode");

        QTest::newRow("non-ASCII password") << u"Grüße€ 𝄞"_s << 0;
        QTest::newRow("wrong password") << u"Grüsse"_s << 4;
    }

    void credentialsGoWithTheFirstRequest()
    {
        QFETCH(QString, password);
        QFETCH(int, exitCode);

        m_box->setCredentials(u"root"_s, u"Grüße€ 𝄞"_s);
        const QStringList target = connection() + QStringList{u"--user"_s, u"root"_s};
        qputenv("TAVREL_PASSWORD", password.toUtf8());
        const Run result = run({u"dump"_s, u"about"_s}, target);
        qunsetenv("TAVREL_PASSWORD");
        QCOMPARE(result.exitCode, exitCode);
        // Each request goes once: accepted at once, or refused at once.
        QSet<QByteArray> targets;
        for (const boxsim::LoggedRequest& request : m_box->requests()) {
            QVERIFY2(!targets.contains(request.target()), request.target().constData());
            targets.insert(request.target());
            QCOMPARE(request.authorized, exitCode == 0);
        }
        QVERIFY(targets.contains("/web/about"));
    }

    void enigma1ReferencesArriveIntact_data()
    {
        QTest::addColumn<QString>("reference");

        QTest::newRow("percent") << u"1:0:1:0:0:0:0:0:0:0:/hdd/movie/100% Tor.ts"_s;
        QTest::newRow("plus and spaces") << u"1:0:1:0:0:0:0:0:0:0:/hdd/movie/A+B und C.ts"_s;
        QTest::newRow("non-ASCII") << u"1:0:1:0:0:0:0:0:0:0:/hdd/movie/Grüße Ελλάδα.ts"_s;
        QTest::newRow("escape look-alike") << u"1:0:1:0:0:0:0:0:0:0:/hdd/movie/x%2fy.ts"_s;
    }

    void enigma1ReferencesArriveIntact()
    {
        QFETCH(QString, reference);

        use(Personality::Enigma1);
        boxsim::Movie movie;
        movie.reference = reference;
        movie.title = u"Film"_s;
        m_box->setMovies({movie});
        const QStringList target = connection(true);
        QCOMPARE(run({u"zap"_s, reference}, target).exitCode, 0);
        QCOMPARE(m_box->currentServiceReference(), reference);
        QCOMPARE(run({u"movie-delete"_s, reference}, target).exitCode, 0);
        QVERIFY(m_box->movies().isEmpty());
    }

    void wake_data()
    {
        QTest::addColumn<QString>("mac");
        QTest::addColumn<QString>("address"); // "%1" becomes the listening port
        QTest::addColumn<int>("exitCode");

        QTest::newRow("packet to the given address") << u"00-1D-EC-0A-1B-2C"_s << u"127.0.0.1:%1"_s << 0;
        QTest::newRow("no MAC address") << QString() << u"127.0.0.1:%1"_s << 1;
        QTest::newRow("a MAC address too short") << u"00:1d:ec:0a:1b"_s << u"127.0.0.1:%1"_s << 1;
        QTest::newRow("an address that is none") << u"00:1d:ec:0a:1b:2c"_s << u"somewhere:%1"_s << 1;
    }

    void wake()
    {
        QFETCH(QString, mac);
        QFETCH(QString, address);
        QFETCH(int, exitCode);
        QUdpSocket listener;
        QVERIFY(listener.bind(QHostAddress::LocalHost, 0));

        QStringList arguments{u"--wake-address"_s, address.arg(listener.localPort())};
        if (!mac.isEmpty())
            arguments << u"--mac"_s << mac;
        const Run result = run(arguments << u"wake"_s, {u"--host"_s, u"127.0.0.1"_s});
        QCOMPARE(result.exitCode, exitCode);
        if (exitCode == 0) {
            QTRY_VERIFY(listener.hasPendingDatagrams());
            const QByteArray card = QByteArray::fromHex("001dec0a1b2c");
            QCOMPARE(listener.receiveDatagram().data(), QByteArray(6, char(0xFF)) + card.repeated(16));
        } else {
            QVERIFY(!result.err.isEmpty());
            QVERIFY(!listener.hasPendingDatagrams());
        }
        // Waking needs no web interface.
        QVERIFY(m_box->requestTargets().isEmpty());
    }

    // Keys pressed on the receiver, its picture, and addresses and playlists for a player.
    void keysPicturesAndStreams_data()
    {
        using Keys = QList<boxsim::RemoteKeyPress>;
        QTest::addColumn<Personality>("personality");
        QTest::addColumn<QStringList>("arguments"); // "<file>": a file in a fresh folder
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<Keys>("keys");            // as the receiver took them
        QTest::addColumn<QString>("out");          // on success; "<shown>": the address of the channel shown
        QTest::addColumn<QByteArray>("fileStart"); // empty: no file is written

        const auto row = [](const char* name, Personality personality, const QStringList& arguments,
                            int exitCode, const Keys& keys = {}, const QString& out = {},
                            const QByteArray& fileStart = {}) {
            QTest::newRow(name) << personality << arguments << exitCode << keys << out << fileStart;
        };
        const auto e2 = Personality::Enigma2;
        const auto e1 = Personality::Enigma1;
        const QString reference = u"4097:0:1:0:0:0:0:0:0:0:http%3a//x/a?b=1&c=2#d:Name mit Ä"_s;
        row("keys in order", e2, {u"remote"_s, u"5"_s, u"up"_s, u"OK"_s, u"exit"_s}, 0,
            {{6, false}, {103, false}, {352, false}, {174, false}});
        row("long press", e2, {u"remote"_s, u"power"_s, u"--long"_s}, 0, {{116, true}});
        row("unknown key sends none", e2, {u"remote"_s, u"ok"_s, u"rocket"_s}, 1);
        row("enigma1 exit and long", e1, {u"remote"_s, u"exit"_s, u"red"_s, u"--long"_s}, 0,
            {{1, true}, {398, true}});
        row("screenshot", e2, {u"screenshot"_s, u"<file>"_s}, 0, {}, {}, "\x89PNG\r\n\x1a\n");
        row("enigma1 has no picture", e1, {u"screenshot"_s, u"<file>"_s}, 1);
        row("a channel's stream", e2, {u"stream-url"_s, reference}, 0, {},
            u"http://127.0.0.1:8001/4097:0:1:0:0:0:0:0:0:0:http%253a//x/a%3Fb=1&c=2%23d:Name%20mit%20%C3%84\n"_s);
        row("the channel shown", e2, {u"stream-url"_s}, 0, {}, u"<shown>"_s);
        row("a bouquet's playlist, by name", e2, {u"playlist"_s, u"Favourites (TV)"_s, u"<file>"_s}, 0, {},
            {}, "#EXTM3U\n#EXTINF:-1,Das Erste HD\nhttp://127.0.0.1:8001/1:0:19:283D:3FB:1:C00000:0:0:0:\n");
        row("no such bouquet", e2, {u"playlist"_s, u"Nirgends"_s, u"<file>"_s}, 5);
        row("enigma1 has no stream", e1, {u"stream-url"_s}, 1);
    }

    void keysPicturesAndStreams()
    {
        QFETCH(Personality, personality);
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QList<boxsim::RemoteKeyPress>, keys);
        QFETCH(QString, out);
        QFETCH(QByteArray, fileStart);

        use(personality);
        QTemporaryDir folder;
        const QString file = folder.filePath(u"written"_s);
        arguments.replaceInStrings(u"<file>"_s, file);
        const Run result = run(arguments);
        QCOMPARE(result.exitCode, exitCode);
        QCOMPARE(m_box->remoteKeys(), keys);
        if (out == "<shown>"_L1)
            out = u"http://127.0.0.1:8001/"_s + m_box->currentServiceReference() + u'\n';
        QCOMPARE(QString::fromUtf8(result.out), result.exitCode == 0 ? out : QString());
        QFile written(file);
        QCOMPARE(written.open(QIODevice::ReadOnly), !fileStart.isEmpty());
        QVERIFY(written.readAll().startsWith(fileStart));
    }

private:
    // A fresh receiver of this kind in place of the test's Enigma2 one.
    void use(Personality personality)
    {
        m_box = std::make_unique<boxsim::BoxSim>(personality);
        QVERIFY(m_box->listen() != 0);
    }

    // Runs the client while this test's event loop keeps the simulated receiver answering.
    Run run(const QStringList& arguments, const QStringList& connectionArguments = {})
    {
        QProcess process;
        QSignalSpy finished(&process, &QProcess::finished);
        process.start(QStringLiteral(TAVREL_CLI),
                      (connectionArguments.isEmpty() ? connection() : connectionArguments) + arguments);
        Run result;
        if (!finished.wait(30000)) {
            process.kill();
            process.waitForFinished();
            return result;
        }
        result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
        result.out = process.readAllStandardOutput();
        result.err = process.readAllStandardError();
        return result;
    }

    // The arguments that point the client at the receiver, with the login Enigma1 accepts.
    QStringList connection(bool login = false) const
    {
        const bool enigma2 = m_box->personality() == Personality::Enigma2;
        QStringList arguments{u"--host"_s,  u"127.0.0.1"_s,
                              u"--port"_s,  QString::number(m_box->port()),
                              u"--webif"_s, enigma2 ? u"e2"_s : u"e1"_s};
        if (login)
            arguments << u"--user"_s << u"root"_s << u"--password"_s << u"root"_s;
        return arguments;
    }

    std::unique_ptr<boxsim::BoxSim> m_box;
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
