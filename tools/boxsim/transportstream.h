#pragma once

#include <QByteArray>

namespace boxsim {

// An MPEG transport stream as a receiver streams it: 188-byte packets, each starting with the
// sync byte 0x47, beginning with the programme tables (PAT on PID 0, PMT on PID 0x100) so that
// a player knows the stream, then video packets (PID 0x101) that carry nothing to decode.
class TransportStream
{
public:
    static constexpr int packetSize = 188;
    static constexpr quint8 syncByte = 0x47;
    static constexpr int pmtPid = 0x100;
    static constexpr int videoPid = 0x101;

    // The tables and count video packets; the tables come again with every call.
    QByteArray packets(int count);

private:
    QByteArray tablePacket(int pid, const QByteArray& section);
    QByteArray packet(int pid, bool unitStart, const QByteArray& payload);

    quint8 m_continuity[3] = {}; // PAT, PMT, video
};

} // namespace boxsim
