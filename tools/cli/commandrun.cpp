#include "tools/cli/commandrun.h"

#include "box/tavrelrequest.h"
#include "tools/cli/jsonwriter.h"

#include <QTextStream>
#include <QTimer>

#include <cstdio>

namespace {

QString describe(QNetworkReply::NetworkError error, int httpStatus)
{
    if (error == QNetworkReply::AuthenticationRequiredError || httpStatus == 401)
        return QStringLiteral("user name or password refused");
    if (httpStatus >= 400)
        return QStringLiteral("the receiver answered HTTP %1").arg(httpStatus);
    switch (error) {
    case QNetworkReply::ConnectionRefusedError:
        return QStringLiteral("connection refused");
    case QNetworkReply::HostNotFoundError:
        return QStringLiteral("host not found");
    case QNetworkReply::RemoteHostClosedError:
    case QNetworkReply::ContentReSendError:
        return QStringLiteral("the receiver closed the connection");
    case QNetworkReply::OperationCanceledError:
    case QNetworkReply::TimeoutError:
        return QStringLiteral("no answer in time");
    default:
        return QStringLiteral("network error %1").arg(int(error));
    }
}

} // namespace

CommandRun::CommandRun(TavrelRequest* engine, TavrelDatabase* database, int deadlineMs,
                       const QString& subject, QObject* parent)
    : QObject(parent)
    , m_engine(engine)
    , m_database(database)
    , m_subject(subject)
    , m_deadline(new QTimer(this))
{
    connect(m_engine, &TavrelRequest::requestFailed, this, &CommandRun::requestFailed);
    connect(m_engine, &TavrelRequest::replyUnreadable, this, &CommandRun::replyUnreadable);
    connect(m_engine, &TavrelRequest::commandRefused, this, &CommandRun::commandRefused);
    // Whatever was asked, without a session id the receiver does nothing.
    connect(m_engine, &TavrelRequest::sessionRefused, this, [this](const QString& reason) {
        const QString refusal = QStringLiteral("the receiver asks for a session id with every request but "
                                               "accepted none");
        failNow(CommandFailed, reason.isEmpty() ? refusal : refusal + QStringLiteral(": ") + reason);
    });
    connect(m_engine, &TavrelRequest::replyHandled, this, [this](RequestType type, bool failed) {
        if (!failed && !m_handlingUnreadable)
            m_answered.insert(type);
        m_handlingUnreadable = false;
        if (m_decisive.contains(type))
            QTimer::singleShot(0, this, &CommandRun::finish);
    });
    connect(m_engine, &TavrelRequest::settled, this, &CommandRun::finish);
    // Transfer time-outs end every request; this only guards against chains that never end.
    m_deadline->setSingleShot(true);
    connect(m_deadline, &QTimer::timeout, this, [this] {
        fail(TimedOut, QStringLiteral("the receiver did not finish answering in time"));
        finish();
    });
    m_deadline->start(deadlineMs);
}

void CommandRun::watch(std::initializer_list<RequestType> types)
{
    for (RequestType type : types)
        m_watched.insert(type);
}

void CommandRun::send(RequestType type)
{
    watch({type});
    m_engine->sendRequest(type);
}

void CommandRun::command(RequestType type)
{
    watch({type});
    m_decisive.insert(type);
}

void CommandRun::fail(ExitCode code, const QString& message)
{
    if (m_exitCode != Success)
        return;
    m_exitCode = code;
    m_message = message;
}

void CommandRun::failNow(ExitCode code, const QString& message)
{
    fail(code, message);
    // Reported from the event loop, so that the engine is not deleted inside its own signal.
    QTimer::singleShot(0, this, &CommandRun::finish);
}

void CommandRun::setDump(std::function<void(JsonWriter&)> dump)
{
    m_output = [dump = std::move(dump)] {
        JsonWriter json;
        dump(json);
        return json.finish();
    };
}

void CommandRun::begin()
{
    if (m_engine->isSettled())
        QTimer::singleShot(0, this, &CommandRun::finish);
}

void CommandRun::requestFailed(RequestType type, QNetworkReply::NetworkError error, int httpStatus)
{
    if (!m_watched.contains(type))
        return;
    const bool command = TavrelRequest::isCommand(type);
    ExitCode code = NetworkError;
    if (error == QNetworkReply::AuthenticationRequiredError || httpStatus == 401)
        code = CredentialsRefused;
    else if (error == QNetworkReply::OperationCanceledError || error == QNetworkReply::TimeoutError)
        code = TimedOut;
    else if (command && httpStatus >= 400)
        code = CommandFailed; // the receiver answered, and not with a yes
    QString message = describe(error, httpStatus);
    // The request reached the receiver; only its answer is missing.
    if (command && httpStatus == 0 && code != CredentialsRefused &&
        error != QNetworkReply::ConnectionRefusedError && error != QNetworkReply::HostNotFoundError)
        message += QStringLiteral("; whether it was carried out is unknown");
    failNow(code, message);
}

void CommandRun::replyUnreadable(RequestType type)
{
    m_handlingUnreadable = true;
    if (!m_watched.contains(type))
        return;
    if (TavrelRequest::isCommand(type))
        failNow(
            CommandFailed,
            QStringLiteral("the receiver's answer could not be read; whether it was carried out is unknown"));
    else
        failNow(CommandFailed, QStringLiteral("the receiver's answer could not be read"));
}

void CommandRun::commandRefused(RequestType type, const QString& reason)
{
    if (!m_watched.contains(type))
        return;
    failNow(CommandFailed, reason.isEmpty() ? QStringLiteral("the receiver refused")
                                            : QStringLiteral("the receiver refused: ") + reason);
}

void CommandRun::finish()
{
    if (m_finished)
        return;
    m_finished = true;
    m_deadline->stop();
    if (m_finalCheck)
        m_finalCheck();
    if (m_exitCode == Success && m_output) {
        const QByteArray out = m_output();
        std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
        std::fflush(stdout);
    }
    if (m_exitCode != Success)
        QTextStream(stderr) << "tavrel-cli: " << m_subject << ": " << m_message << '\n';
    Q_EMIT finished(m_exitCode);
}
