#include "box/wakeonlan.h"

#include <QCoreApplication>
#include <QNetworkInterface>
#include <QRegularExpression>
#include <QUdpSocket>

namespace WakeOnLan {

namespace {

constexpr int macLength = 6;
constexpr int macRepeats = 16;

} // namespace

QByteArray macBytes(const QString& text)
{
    static const QRegularExpression separated(
        QStringLiteral("^([0-9A-Fa-f]{2})([:-]?)([0-9A-Fa-f]{2})\\2([0-9A-Fa-f]{2})\\2([0-9A-Fa-f]{2})"
                       "\\2([0-9A-Fa-f]{2})\\2([0-9A-Fa-f]{2})$"));
    const QRegularExpressionMatch match = separated.match(text.trimmed());
    if (!match.hasMatch())
        return {};
    QByteArray bytes;
    for (int group : {1, 3, 4, 5, 6, 7})
        bytes.append(char(match.captured(group).toUInt(nullptr, 16)));
    return bytes;
}

QByteArray magicPacket(const QByteArray& mac)
{
    if (mac.size() != macLength)
        return {};
    QByteArray packet(macLength, char(0xFF));
    for (int i = 0; i < macRepeats; ++i)
        packet.append(mac);
    return packet;
}

QString normalisedMac(const QString& text)
{
    const QByteArray bytes = macBytes(text);
    return bytes.isEmpty() ? QString() : QString::fromLatin1(bytes.toHex(':'));
}

std::optional<Target> parseTarget(const QString& text, const QString& receiverHost)
{
    const QString written = text.trimmed();
    if (written.isEmpty())
        return Target{broadcastFor(receiverHost), defaultPort};

    QString host = written;
    QString port;
    if (written.startsWith(QLatin1Char('['))) {
        const qsizetype close = written.indexOf(QLatin1Char(']'));
        if (close < 0)
            return std::nullopt;
        host = written.mid(1, close - 1);
        const QString rest = written.mid(close + 1);
        if (!rest.isEmpty()) {
            if (!rest.startsWith(QLatin1Char(':')))
                return std::nullopt;
            port = rest.mid(1);
        }
    } else if (written.count(QLatin1Char(':')) == 1) {
        host = written.section(QLatin1Char(':'), 0, 0);
        port = written.section(QLatin1Char(':'), 1);
    }
    Target target;
    if (!target.address.setAddress(host))
        return std::nullopt;
    if (!port.isNull()) {
        bool ok = false;
        const uint number = port.toUInt(&ok, 10);
        if (!ok || number == 0 || number > 65535)
            return std::nullopt;
        target.port = quint16(number);
    }
    return target;
}

QHostAddress broadcastFor(const QString& receiverHost)
{
    const QHostAddress receiver(receiverHost);
    if (receiver.protocol() == QAbstractSocket::IPv4Protocol) {
        const QList<QNetworkInterface> interfaces = QNetworkInterface::allInterfaces();
        for (const QNetworkInterface& interface : interfaces) {
            const QList<QNetworkAddressEntry> entries = interface.addressEntries();
            for (const QNetworkAddressEntry& entry : entries) {
                if (!entry.broadcast().isNull() && receiver.isInSubnet(entry.ip(), entry.prefixLength()))
                    return entry.broadcast();
            }
        }
    }
    return QHostAddress(QHostAddress::Broadcast);
}

QString send(const QString& mac, const QString& target, const QString& receiverHost)
{
    const QByteArray packet = magicPacket(macBytes(mac));
    if (packet.isEmpty())
        return QCoreApplication::translate(
            "WakeOnLan", "The receiver's MAC address is not known. Connect to it once while it is on, "
                         "or enter it in the profile.");
    const std::optional<Target> to = parseTarget(target, receiverHost);
    if (!to)
        return QCoreApplication::translate(
                   "WakeOnLan", "The wake-up address \"%1\" is not an IP address with an optional port.")
            .arg(target);
    QUdpSocket socket;
    if (socket.writeDatagram(packet, to->address, to->port) != packet.size())
        return QCoreApplication::translate("WakeOnLan", "The wake-up call could not be sent: %1")
            .arg(socket.errorString());
    return QString();
}

} // namespace WakeOnLan
