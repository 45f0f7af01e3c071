#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QString>

#include <optional>

// Wakes a receiver in deep standby: its network card listens for a "magic packet", six bytes
// 0xFF followed by its MAC address sixteen times, sent by UDP to the LAN's broadcast address.
namespace WakeOnLan {

inline constexpr quint16 defaultPort = 9;

// Where the packet goes.
struct Target
{
    QHostAddress address;
    quint16 port = defaultPort;
};

// The six bytes of a MAC address written as twelve hex digits, in pairs separated by ':' or '-',
// or not at all; empty when the text is no MAC address.
QByteArray macBytes(const QString& text);
// The 102 bytes that wake the card with that MAC address; empty for a MAC that is not six bytes.
QByteArray magicPacket(const QByteArray& mac);
// The MAC address in the form the profile keeps: "00:1d:ec:0a:1b:2c"; empty when it is none.
QString normalisedMac(const QString& text);

// The target written in a profile: an IP address, optionally with a port ("192.168.1.255:7",
// "[ff02::1]:9"). Empty text means the broadcast address of the LAN that holds the receiver.
std::optional<Target> parseTarget(const QString& text, const QString& receiverHost);
// The broadcast address of the local network the receiver's IPv4 address lies in; the limited
// broadcast 255.255.255.255 when it lies in none (or is a host name).
QHostAddress broadcastFor(const QString& receiverHost);

// Sends the packet; an empty text on success, else what went wrong, for the user.
QString send(const QString& mac, const QString& target, const QString& receiverHost);

} // namespace WakeOnLan
