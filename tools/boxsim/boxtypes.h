#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QPair>
#include <QString>

// Plain records of the simulated receiver's public interface. They describe the receiver's own
// view of things and are deliberately independent of the application's records.

namespace boxsim {

// Which web interface the receiver speaks.
enum class Personality
{
    Enigma2,
    Enigma1
};

// What a fault does to an answer. Latency (Fault::latencyMs, Fault::jitterMs) is independent of
// the kind and delays whatever the kind produces.
enum class FaultKind
{
    None,             // answer normally; only the latency applies
    Hang,             // read the request, never answer (until the client gives up)
    CutBody,          // announce the full length, send the first part of the body, close
    Http500,          // HTTP 500 with the receiver's error page
    Http404,          // HTTP 404 with the receiver's error page
    MalformedBody,    // HTTP 200 with a body that no strict parser accepts
    Trickle,          // send the answer in small pieces with pauses in between
    Refuse,           // global: stop listening (connection refused); per path: close at once
    WrongCredentials, // HTTP 401 even for the right user and password
    Refusal,          // the receiver's own "not done" answer, and the command is not carried out
    DropAfterRequest, // carry the request out, then close the connection without an answer
    SessionRefused,   // HTTP 412 as for a missing or expired session id, even for a valid one
};

struct Fault
{
    FaultKind kind = FaultKind::None;
    int latencyMs = 0;          // added before the answer starts
    int jitterMs = 0;           // plus a random 0..jitterMs
    int trickleBytes = 32;      // Trickle: bytes per piece
    int trickleIntervalMs = 20; // Trickle: pause between pieces
    int cutPercent = 50;        // CutBody: share of the body that is sent
    int times = -1;             // number of requests it hits; -1: until cleared (ignored by a global Refuse)
};

// One request as the receiver saw it.
struct LoggedRequest
{
    quint64 sequence = 0;                      // 1, 2, 3 ... in order of arrival
    QByteArray method;                         // as received, e.g. "GET"
    QByteArray rawPath;                        // as received, percent-encoding untouched
    QByteArray rawQuery;                       // as received after '?', percent-encoding untouched
    bool hasQuery = false;                     // the target contained '?'
    QList<QPair<QString, QString>> queryItems; // decoded once (%XX and '+'), in order
    QString user;           // authenticated user; empty without (or with failed) authentication
    bool authorized = true; // false: answered with 401
    qint64 clockTime = 0;   // simulated clock at arrival, seconds since 1970
    QDateTime received;     // wall clock at arrival
    int status = 0;         // HTTP status sent; 0 while pending, for hanging and refused requests

    // Path and query exactly as received ("/web/zap?sRef=1%3A0...").
    QByteArray target() const { return hasQuery ? rawPath + '?' + rawQuery : rawPath; }
    // First decoded value of a query item, or a null string.
    QString queryValue(const QString& name) const
    {
        for (const auto& item : queryItems) {
            if (item.first == name)
                return item.second;
        }
        return {};
    }
};

struct Service
{
    QString reference;
    QString name;
    QString provider;
    int orbitalPosition = 192; // tenths of a degree east
    bool isMarker = false;
    bool hasEpg = true;
};

struct Bouquet
{
    QString reference;
    QString name;
    QList<Service> services;
};

struct Event
{
    int id = 0;
    qint64 start = 0;
    int duration = 0;
    QString title;
    QString description;
    QString descriptionExtended;
    int genreId = 0;
    QString genre;
    QString serviceReference;
    QString serviceName;
    qint64 end() const { return start + duration; }
};

// Receiver timer states, numbered as the receiver reports them.
enum class TimerState
{
    Waiting = 0,
    Preparing = 1,
    Running = 2,
    Ended = 3
};

struct Timer
{
    QString serviceReference;
    QString serviceName;
    int eventId = -1; // -1: no EPG event
    QString name;
    QString description;
    QString descriptionExtended;
    qint64 begin = 0;
    qint64 end = 0;
    bool justPlay = false; // zap timer
    bool disabled = false;
    int afterEvent = 3;                     // 0 nothing, 1 standby, 2 deep standby, 3 auto
    QString location;                       // empty: no folder
    TimerState state = TimerState::Waiting; // filled in from the clock when read
};

struct Movie
{
    QString reference; // the receiver's service reference of the recording
    QString title;
    QString description;
    QString descriptionExtended;
    QString serviceName;
    qint64 time = 0;        // recording start, seconds since 1970
    int lengthSeconds = -1; // -1: unknown
    QString tags;
    QString fileName;
    qint64 fileSize = 0; // bytes
};

// The viewer's answer to a yes/no question on the screen.
enum class MessageAnswer
{
    Yes,
    No,
    NoAnswer
};

// A message that was shown on the screen.
struct ScreenMessage
{
    QString caption; // Enigma1 only
    QString text;
    int type = 2;     // Enigma2: 0 yes/no, 1 info, 2 message, 3 attention
    int timeout = -1; // seconds; -1 until confirmed
    qint64 time = 0;
};

// A key of the remote control as the receiver took it (a Linux input code).
struct RemoteKeyPress
{
    int code = 0;
    bool longPress = false;
    bool operator==(const RemoteKeyPress&) const = default;
};

// Power actions after which the receiver is unreachable for a while.
enum class PowerAction
{
    RestartGui,
    Reboot,
    DeepStandby
};

} // namespace boxsim
