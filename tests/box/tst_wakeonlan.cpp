// The Wake-on-LAN packet: which MAC addresses and targets are taken, and that nothing reaches a
// UDP socket on 127.0.0.1 without both (the bytes sent are pinned by the command-line wake rows).

#include "box/wakeonlan.h"

#include <QTest>
#include <QUdpSocket>

using namespace Qt::StringLiterals;

class TestWakeOnLan : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void macAddresses_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("normalised"); // empty: refused

        QTest::newRow("colons, as the receiver reports it")
            << u"00:1d:ec:0a:1b:2c"_s << u"00:1d:ec:0a:1b:2c"_s;
        QTest::newRow("dashes and capitals") << u"00-1D-EC-0A-1B-2C"_s << u"00:1d:ec:0a:1b:2c"_s;
        QTest::newRow("no separators") << u"001dec0a1b2c"_s << u"00:1d:ec:0a:1b:2c"_s;
        QTest::newRow("spaces around") << u"  00:1d:ec:0a:1b:2c "_s << u"00:1d:ec:0a:1b:2c"_s;
        QTest::newRow("mixed separators") << u"00:1d-ec:0a:1b:2c"_s << QString();
        QTest::newRow("five pairs") << u"00:1d:ec:0a:1b"_s << QString();
        QTest::newRow("seven pairs") << u"00:1d:ec:0a:1b:2c:3d"_s << QString();
        QTest::newRow("not hex") << u"00:1d:ec:0a:1b:zz"_s << QString();
        QTest::newRow("single digits") << u"0:1d:ec:a:1b:2c"_s << QString();
        QTest::newRow("empty, as before the first connection") << QString() << QString();
        QTest::newRow("the receiver's placeholder") << u"N/A"_s << QString();
    }

    void macAddresses()
    {
        QFETCH(QString, text);
        QFETCH(QString, normalised);
        QCOMPARE(WakeOnLan::normalisedMac(text), normalised);
        const QByteArray packet = WakeOnLan::magicPacket(WakeOnLan::macBytes(text));
        QCOMPARE(packet.isEmpty(), normalised.isEmpty());
    }

    void targets_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("target"); // address and port, empty: refused

        QTest::newRow("empty: broadcast, port 9") << QString() << u"255.255.255.255 9"_s;
        QTest::newRow("directed broadcast") << u"192.168.1.255"_s << u"192.168.1.255 9"_s;
        QTest::newRow("with port") << u"192.168.1.255:7"_s << u"192.168.1.255 7"_s;
        QTest::newRow("IPv6 in brackets with port") << u"[ff02::1]:9"_s << u"ff02::1 9"_s;
        QTest::newRow("IPv6 bare") << u"ff02::1"_s << u"ff02::1 9"_s;
        QTest::newRow("host name") << u"router.lan"_s << QString();
        QTest::newRow("port 0") << u"192.168.1.255:0"_s << QString();
        QTest::newRow("port too big") << u"192.168.1.255:65536"_s << QString();
        QTest::newRow("port not a number") << u"192.168.1.255:x"_s << QString();
        QTest::newRow("unclosed bracket") << u"[ff02::1:9"_s << QString();
        QTest::newRow("text after bracket") << u"[ff02::1]9"_s << QString();
    }

    void targets()
    {
        QFETCH(QString, text);
        // A receiver on no local network: the broadcast is the limited one.
        const std::optional<WakeOnLan::Target> target = WakeOnLan::parseTarget(text, u"receiver.example"_s);
        QTEST(target ? target->address.toString() + u' ' + QString::number(target->port) : QString(),
              "target");
    }

    void nothingIsSentWithoutAMac()
    {
        QUdpSocket listener;
        QVERIFY(listener.bind(QHostAddress::LocalHost, 0));
        const QString target = u"127.0.0.1:"_s + QString::number(listener.localPort());
        QVERIFY(!WakeOnLan::send(QString(), target, u"127.0.0.1"_s).isEmpty());
        QVERIFY(!WakeOnLan::send(u"00:1d:ec:0a:1b:2c"_s, u"nowhere"_s, u"127.0.0.1"_s).isEmpty());
        QTest::qWait(50);
        QVERIFY(!listener.hasPendingDatagrams());
    }
};

QTEST_GUILESS_MAIN(TestWakeOnLan)
#include "tst_wakeonlan.moc"
