#include "tools/boxsim/transportstream.h"

namespace boxsim {

namespace {

// The CRC of MPEG-2 sections: polynomial 0x04C11DB7, no reflection, starting at all ones.
quint32 sectionCrc(const QByteArray& bytes)
{
    quint32 crc = 0xffffffff;
    for (const char byte : bytes) {
        crc ^= quint32(quint8(byte)) << 24;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x80000000) ? (crc << 1) ^ 0x04c11db7 : crc << 1;
    }
    return crc;
}

void appendWord(QByteArray& out, int value)
{
    out += char((value >> 8) & 0xff);
    out += char(value & 0xff);
}

// A table section: header with its length, the body, and the CRC over both.
QByteArray section(int tableId, int idExtension, const QByteArray& body)
{
    QByteArray out;
    out += char(tableId);
    // Syntax indicator, reserved bits and the length of what follows (5 + body + CRC).
    appendWord(out, 0xb000 | (5 + int(body.size()) + 4));
    appendWord(out, idExtension);
    out += char(0xc1); // version 0, current
    out += char(0);    // section 0 of 0
    out += char(0);
    out += body;
    const quint32 crc = sectionCrc(out);
    for (int shift = 24; shift >= 0; shift -= 8)
        out += char((crc >> shift) & 0xff);
    return out;
}

} // namespace

QByteArray TransportStream::packets(int count)
{
    QByteArray pat;
    appendWord(pat, 1);               // programme 1
    appendWord(pat, 0xe000 | pmtPid); // its PMT
    QByteArray pmt;
    appendWord(pmt, 0xe000 | videoPid); // PCR PID
    appendWord(pmt, 0xf000);            // no programme descriptors
    pmt += char(0x02);                  // MPEG-2 video
    appendWord(pmt, 0xe000 | videoPid);
    appendWord(pmt, 0xf000);

    QByteArray out = tablePacket(0, section(0x00, 1, pat));
    out += tablePacket(pmtPid, section(0x02, 1, pmt));
    for (int i = 0; i < count; ++i)
        out += packet(videoPid, false, QByteArray(packetSize - 4, char(0xff)));
    return out;
}

QByteArray TransportStream::tablePacket(int pid, const QByteArray& section)
{
    // A section starts after the pointer field; the rest of the packet is stuffing.
    QByteArray payload(1, char(0));
    payload += section;
    payload.append(packetSize - 4 - payload.size(), char(0xff));
    return packet(pid, true, payload);
}

QByteArray TransportStream::packet(int pid, bool unitStart, const QByteArray& payload)
{
    quint8& continuity = m_continuity[pid == 0 ? 0 : pid == pmtPid ? 1 : 2];
    QByteArray out;
    out.reserve(packetSize);
    out += char(syncByte);
    out += char((unitStart ? 0x40 : 0) | ((pid >> 8) & 0x1f));
    out += char(pid & 0xff);
    out += char(0x10 | continuity); // payload only
    continuity = (continuity + 1) & 0x0f;
    out += payload;
    return out;
}

} // namespace boxsim
