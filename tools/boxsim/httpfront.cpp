#include "tools/boxsim/httpfront.h"

#include "tools/boxsim/requesttap.h"
#include "tools/boxsim/simclock.h"
#include "tools/boxsim/textutil.h"

#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QMetaEnum>
#include <QPointer>
#include <QTcpSocket>

#include <memory>

namespace boxsim {

namespace {

constexpr qsizetype MaxLogEntries = 100000;
// Enigma1 asks for a login on its status page even with the login switched off; then it
// expects these credentials.
constexpr char DefaultUser[] = "root";
constexpr char DefaultPassword[] = "root";

void writeHead(QHttpServerResponder& responder, const Answer& answer, qint64 contentLength)
{
    responder.writeStatusLine(QHttpServerResponder::StatusCode(answer.status));
    if (!answer.contentType.isEmpty())
        responder.writeHeader("Content-Type", answer.contentType);
    for (const auto& header : answer.headers)
        responder.writeHeader(header.first, header.second);
    if (answer.chunked && contentLength < 0)
        responder.writeHeader("Transfer-Encoding", "chunked");
    else
        responder.writeHeader("Content-Length",
                              QByteArray::number(contentLength < 0 ? answer.body.size() : contentLength));
    if (answer.closeConnection)
        responder.writeHeader("Connection", "close");
}

// Writes a whole answer at once.
void writeAnswer(QHttpServerResponder& responder, QTcpSocket* socket, const Answer& answer)
{
    writeHead(responder, answer, answer.chunked ? -1 : answer.body.size());
    if (answer.chunked) {
        QByteArray framed;
        if (!answer.body.isEmpty())
            framed = QByteArray::number(answer.body.size(), 16) + "\r\n" + answer.body + "\r\n";
        framed += "0\r\n\r\n";
        responder.writeBody(framed);
    } else {
        responder.writeBody(answer.body);
    }
    if (answer.closeConnection)
        socket->disconnectFromHost();
}

// Whom a session id belongs to.
QString clientOf(const QHttpServerRequest& request)
{
    QByteArray userAgent;
    for (const auto& header : request.headers()) {
        if (header.first.toLower() == "user-agent")
            userAgent = header.second;
    }
    return SessionGuard::clientKey(request.remoteAddress().toString(), userAgent);
}

bool clientAsksToClose(const QHttpServerRequest& request)
{
    for (const auto& header : request.headers()) {
        if (header.first.toLower() == "connection")
            return header.second.toLower().contains("close");
    }
    return false;
}

bool credentialsMatch(const QHttpServerRequest& request, const QString& user, const QString& password,
                      QString* presentedUser)
{
    for (const auto& header : request.headers()) {
        if (header.first.toLower() != "authorization")
            continue;
        const QByteArray value = header.second.trimmed();
        if (!value.toLower().startsWith("basic "))
            return false;
        const QByteArray decoded = QByteArray::fromBase64(value.mid(6).trimmed());
        const qsizetype colon = decoded.indexOf(':');
        if (colon < 0)
            return false;
        *presentedUser = QString::fromUtf8(decoded.left(colon));
        return *presentedUser == user && QString::fromUtf8(decoded.mid(colon + 1)) == password;
    }
    return false;
}

} // namespace

// An answer that is not written at once: delayed, trickled, cut or never written. It owns the
// responder and checks before every write that the client is still there.
class Delivery : public QObject
{
    Q_OBJECT
public:
    enum class Mode
    {
        Whole,
        Cut,
        Trickle,
        Hang
    };

    Delivery(HttpFront* front, QHttpServerResponder&& responder, QTcpSocket* socket, quint64 sequence)
        : QObject(front)
        , m_front(front)
        , m_responder(std::make_unique<QHttpServerResponder>(std::move(responder)))
        , m_socket(socket)
        , m_sequence(sequence)
    {
        connect(socket, &QObject::destroyed, this, &QObject::deleteLater);
        connect(socket, &QAbstractSocket::disconnected, this, &QObject::deleteLater);
        // Latency faults promise a minimum delay; a coarse timer may fire a little early.
        m_timer.setTimerType(Qt::PreciseTimer);
    }

    void start(const Answer& answer, Mode mode, int delayMs, const Fault& fault)
    {
        m_answer = answer;
        m_mode = mode;
        m_fault = fault;
        if (mode == Mode::Hang)
            return;
        m_timer.setSingleShot(true);
        connect(&m_timer, &QTimer::timeout, this, &Delivery::begin);
        m_timer.start(std::max(0, delayMs));
    }

private:
    void begin()
    {
        if (!m_socket) {
            deleteLater();
            return;
        }
        switch (m_mode) {
        case Mode::Whole:
            writeAnswer(*m_responder, m_socket, m_answer);
            m_front->markAnswered(m_sequence, m_answer.status);
            deleteLater();
            return;
        case Mode::Cut: {
            writeHead(*m_responder, m_answer, m_answer.body.size());
            const qsizetype sent = m_answer.body.size() * std::clamp(m_fault.cutPercent, 0, 99) / 100;
            m_responder->writeBody(m_answer.body.left(sent));
            m_front->markAnswered(m_sequence, m_answer.status);
            m_socket->disconnectFromHost();
            deleteLater();
            return;
        }
        case Mode::Trickle:
            writeHead(*m_responder, m_answer, m_answer.body.size());
            m_front->markAnswered(m_sequence, m_answer.status);
            disconnect(&m_timer, nullptr, this, nullptr);
            connect(&m_timer, &QTimer::timeout, this, &Delivery::trickle);
            m_timer.setSingleShot(false);
            m_timer.start(std::max(1, m_fault.trickleIntervalMs));
            trickle();
            return;
        case Mode::Hang:
            return;
        }
    }

    void trickle()
    {
        if (!m_socket) {
            deleteLater();
            return;
        }
        const qsizetype piece = std::max(1, m_fault.trickleBytes);
        // The first piece also ends the header block, even for an empty body.
        m_responder->writeBody(m_answer.body.mid(m_offset, piece));
        m_offset += piece;
        if (m_offset >= m_answer.body.size()) {
            m_timer.stop();
            if (m_answer.closeConnection)
                m_socket->disconnectFromHost();
            deleteLater();
        }
    }

    HttpFront* const m_front;
    const std::unique_ptr<QHttpServerResponder> m_responder;
    const QPointer<QTcpSocket> m_socket;
    const quint64 m_sequence;
    Answer m_answer;
    Mode m_mode = Mode::Whole;
    Fault m_fault;
    QTimer m_timer;
    qsizetype m_offset = 0;
};

HttpFront::HttpFront(SimClock* clock, QObject* parent)
    : QAbstractHttpServer(parent)
    , m_clock(clock)
    , m_tcp(new TapServer(this))
    , m_sessions(clock)
{
    m_downTimer.setSingleShot(true);
    connect(&m_downTimer, &QTimer::timeout, this, [this] {
        m_down = false;
        updateListening();
    });
}

HttpFront::~HttpFront()
{
    // Pending answers hold responders that refer to sockets; they go before the sockets do.
    const QList<Delivery*> deliveries = findChildren<Delivery*>(QString(), Qt::FindDirectChildrenOnly);
    qDeleteAll(deliveries);
}

void HttpFront::setInterface(WebInterface* webInterface)
{
    m_interface = webInterface;
}

bool HttpFront::listenOn(const QHostAddress& address, quint16 port)
{
    stop();
    m_address = address;
    if (!m_tcp->listen(address, port)) {
        m_error = m_tcp->errorString();
        return false;
    }
    m_error.clear();
    if (!m_bound) {
        // Bound once it listens; the HTTP server warns about a server that does not.
        bind(m_tcp);
        m_bound = true;
    }
    m_port = m_tcp->serverPort();
    m_wantListening = true;
    updateListening();
    return true;
}

void HttpFront::stop()
{
    m_wantListening = false;
    m_down = false;
    m_downTimer.stop();
    updateListening();
}

bool HttpFront::isListening() const
{
    return m_tcp->isListening();
}

bool HttpFront::isReachable() const
{
    return m_reachable;
}

void HttpFront::setCredentials(const QString& user, const QString& password)
{
    m_user = user;
    m_password = password;
    m_authEnabled = true;
}

void HttpFront::clearCredentials()
{
    m_user.clear();
    m_password.clear();
    m_authEnabled = false;
}

void HttpFront::setSeed(quint64 seed)
{
    m_random.reseed(mix64(seed, 0x6a6974ULL));
    m_sessions.setSeed(seed);
}

void HttpFront::faultsChanged()
{
    updateListening();
}

void HttpFront::goDown(int ms)
{
    if (ms <= 0 || !m_wantListening)
        return;
    m_down = true;
    m_downTimer.start(ms);
    // Not at once: the answer to the command that switched the receiver off is written first.
    QTimer::singleShot(0, this, &HttpFront::updateListening);
}

void HttpFront::updateListening()
{
    const bool shouldListen = m_wantListening && !m_down && !m_faults.refusesAll();
    if (shouldListen && !m_tcp->isListening()) {
        if (!m_tcp->listen(m_address, m_port))
            m_error = m_tcp->errorString();
    } else if (!shouldListen) {
        if (m_tcp->isListening())
            m_tcp->close();
        // Open connections end as well; what was already written still goes out.
        const QList<QTcpSocket*> sockets =
            m_tcp->findChildren<QTcpSocket*>(QString(), Qt::FindDirectChildrenOnly);
        for (QTcpSocket* socket : sockets)
            socket->disconnectFromHost();
    }
    const bool reachable = m_tcp->isListening();
    if (reachable != m_reachable) {
        m_reachable = reachable;
        emit reachableChanged(reachable);
    }
}

void HttpFront::clearLog()
{
    m_log.clear();
}

void HttpFront::markAnswered(quint64 sequence, int status)
{
    if (!m_log.isEmpty()) {
        const qint64 index = qint64(sequence) - qint64(m_log.first().sequence);
        if (index >= 0 && index < m_log.size() && m_log.at(index).sequence == sequence)
            m_log[index].status = status;
    }
    emit requestAnswered(sequence, status);
}

Answer HttpFront::finishedError(int status) const
{
    Answer answer = m_interface->errorAnswer(status);
    m_interface->finish(answer);
    return answer;
}

Answer HttpFront::unauthorized() const
{
    Answer answer = finishedError(401);
    answer.headers.append({"WWW-Authenticate", "Basic realm=\"" + m_interface->realm() + '"'});
    return answer;
}

QByteArray HttpFront::malformed(const Answer& answer)
{
    const QByteArray& body = answer.body;
    if (answer.contentType.contains("xml") || body.startsWith("<?xml")) {
        // Closing tags gone, a stray '&' and an unclosed attribute: no XML parser accepts it.
        QByteArray broken = body.left(body.size() * 2 / 3);
        broken += "\n<e2broken & value=\"\n";
        return broken;
    }
    QByteArray broken = body.left(body.size() * 2 / 5);
    broken += "\xff\xfe<<";
    return broken;
}

bool HttpFront::handleRequest(const QHttpServerRequest& request, QTcpSocket* socket)
{
    QHttpServerResponder responder = makeResponder(request, socket);

    // What exactly came over the wire; the parsed URL is only a fallback.
    std::optional<RawRequestLine> raw;
    if (RequestTap* tap = TapServer::tapOf(socket)) {
        // Lines of requests the server never handed over (none are known) must not shift the
        // others: the line has to name the path that was parsed.
        const QString parsedPath = request.url().path();
        for (raw = tap->takeNext(); raw; raw = tap->takeNext()) {
            if (QUrl::fromEncoded(raw->target).path() == parsedPath)
                break;
        }
    }
    LoggedRequest entry;
    entry.sequence = m_nextSequence++;
    if (raw && raw->target.startsWith('/')) {
        entry.method = raw->method;
        const qsizetype question = raw->target.indexOf('?');
        entry.rawPath = question < 0 ? raw->target : raw->target.left(question);
        entry.hasQuery = question >= 0;
        entry.rawQuery = question < 0 ? QByteArray() : raw->target.mid(question + 1);
    } else {
        const QUrl url = request.url();
        entry.method =
            QByteArray(QMetaEnum::fromType<QHttpServerRequest::Method>().valueToKey(int(request.method())))
                .toUpper();
        entry.rawPath = url.path(QUrl::FullyEncoded).toUtf8();
        entry.hasQuery = url.hasQuery();
        entry.rawQuery = url.query(QUrl::FullyEncoded).toUtf8();
    }
    entry.queryItems = text::decodeQuery(entry.rawQuery);
    entry.clockTime = m_clock->now();
    entry.received = QDateTime::currentDateTime();

    IncomingRequest incoming;
    incoming.method = entry.method;
    incoming.rawPath = entry.rawPath;
    incoming.rawQuery = entry.rawQuery;
    incoming.hasQuery = entry.hasQuery;
    incoming.path = QString::fromUtf8(QByteArray::fromPercentEncoding(entry.rawPath));
    incoming.items = entry.queryItems;

    if (m_log.size() >= MaxLogEntries)
        m_log.remove(0, MaxLogEntries / 10);

    Fault fault = m_faults.take(incoming.path);
    if (fault.kind == FaultKind::Refuse || m_faults.refusesAll() || !m_interface) {
        entry.authorized = false;
        m_log.append(entry);
        emit requestReceived(entry);
        QTimer::singleShot(0, socket, &QAbstractSocket::abort);
        return true;
    }

    const bool needsLogin = m_authEnabled || m_interface->alwaysProtected(incoming.path);
    const QString user = m_authEnabled ? m_user : QString::fromLatin1(DefaultUser);
    const QString password = m_authEnabled ? m_password : QString::fromLatin1(DefaultPassword);
    QString presentedUser;
    const bool loggedIn = credentialsMatch(request, user, password, &presentedUser);
    entry.authorized = fault.kind != FaultKind::WrongCredentials && (!needsLogin || loggedIn);
    entry.user = entry.authorized && loggedIn ? presentedUser : QString();

    m_log.append(entry);
    emit requestReceived(entry);

    Answer answer;
    if (!entry.authorized) {
        answer = unauthorized();
    } else if (const std::optional<Answer> refused = sessionRefusal(request, incoming, fault)) {
        answer = *refused;
        m_interface->finish(answer);
    } else if (fault.kind == FaultKind::Http500 || fault.kind == FaultKind::Http404) {
        answer = finishedError(fault.kind == FaultKind::Http500 ? 500 : 404);
    } else if (fault.kind == FaultKind::Refusal) {
        answer = m_interface->refusal(incoming);
        m_interface->finish(answer);
    } else {
        answer = m_sessions.isEnabled() && m_sessions.isSessionPath(incoming.path)
                     ? m_sessions.issue(clientOf(request))
                     : m_interface->answer(incoming);
        m_interface->finish(answer);
        if (fault.kind == FaultKind::DropAfterRequest) {
            // Carried out, but the answer never leaves the receiver.
            QTimer::singleShot(0, socket, &QAbstractSocket::abort);
            return true;
        }
        if (fault.kind == FaultKind::MalformedBody) {
            answer.status = 200;
            answer.body = malformed(answer);
        }
    }

    if (clientAsksToClose(request))
        answer.closeConnection = true;

    Delivery::Mode mode = Delivery::Mode::Whole;
    if (entry.authorized) {
        switch (fault.kind) {
        case FaultKind::Hang:
            mode = Delivery::Mode::Hang;
            break;
        case FaultKind::CutBody:
            mode = Delivery::Mode::Cut;
            break;
        case FaultKind::Trickle:
            mode = Delivery::Mode::Trickle;
            break;
        default:
            break;
        }
    }
    const int delay =
        std::max(0, fault.latencyMs) + (fault.jitterMs > 0 ? m_random.bounded(fault.jitterMs + 1) : 0);
    if (mode == Delivery::Mode::Whole && delay == 0) {
        writeAnswer(responder, socket, answer);
        markAnswered(entry.sequence, answer.status);
        return true;
    }
    auto* delivery = new Delivery(this, std::move(responder), socket, entry.sequence);
    delivery->start(answer, mode, delay, fault);
    return true;
}

std::optional<Answer> HttpFront::sessionRefusal(const QHttpServerRequest& request,
                                                const IncomingRequest& incoming, const Fault& fault) const
{
    if (fault.kind == FaultKind::SessionRefused)
        return SessionGuard::refused();
    if (!m_sessions.guards(incoming.path))
        return std::nullopt;
    // The id may come in the query or in a form body.
    QString id = incoming.value(QStringLiteral("sessionid"));
    if (id.isEmpty() && incoming.method == "POST") {
        for (const auto& item : text::decodeQuery(request.body())) {
            if (item.first == QLatin1String("sessionid"))
                id = item.second;
        }
    }
    if (m_sessions.accepts(clientOf(request), id))
        return std::nullopt;
    return SessionGuard::refused();
}

void HttpFront::missingHandler(const QHttpServerRequest& request, QTcpSocket* socket)
{
    // handleRequest takes every request; this is only reached if that ever changes.
    QHttpServerResponder responder = makeResponder(request, socket);
    responder.write(QHttpServerResponder::StatusCode::NotFound);
}

} // namespace boxsim

#include "httpfront.moc"
