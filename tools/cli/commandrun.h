#pragma once

#include "box/requesttype.h"

#include <QNetworkReply>
#include <QObject>
#include <QSet>
#include <QString>

#include <functional>

class JsonWriter;
class QTimer;
class TavrelDatabase;
class TavrelRequest;

// One command of the command-line client: it watches the requests the command depends on,
// waits until the engine has settled (follow-up requests included) and then either prints
// the dump or reports the first failure as a one-line message and an exit code.
class CommandRun : public QObject
{
    Q_OBJECT

public:
    enum ExitCode
    {
        Success = 0,
        UsageError = 1,
        NetworkError = 2,
        TimedOut = 3,
        CredentialsRefused = 4,
        CommandFailed = 5,
    };

    // subject names the receiver and what was asked ("192.168.0.2:80: mute"); every failure
    // message starts with it.
    CommandRun(TavrelRequest* engine, TavrelDatabase* database, int deadlineMs, const QString& subject,
               QObject* parent = nullptr);

    TavrelDatabase* database() const { return m_database; }

    // Failures of these request types fail the command; others are follow-ups.
    void watch(std::initializer_list<RequestType> types);
    // Watches the request and sends it.
    void send(RequestType type);
    // Watches a command whose own answer decides the outcome: once it is handled the run ends,
    // without waiting for the requests that follow it.
    void command(RequestType type);
    // Fails the command with refusal when the engine's outcome signal reports false.
    template<typename Engine>
    void failIfRefused(Engine& engine, void (Engine::*outcome)(bool), const QString& refusal)
    {
        connect(&engine, outcome, this, [this, refusal](bool accepted) {
            if (!accepted)
                fail(CommandFailed, refusal);
        });
    }
    // Whether an answer of this type came and could be read.
    bool wasAnswered(RequestType type) const { return m_answered.contains(type); }
    // Prints what the command produced once everything has settled.
    void setDump(std::function<void(JsonWriter&)> dump);
    // The same for output that is not JSON, such as an address to hand to a player.
    void setTextOutput(std::function<QByteArray()> output) { m_output = std::move(output); }
    // Runs when everything has settled, before the outcome is decided; it may call fail().
    void setFinalCheck(std::function<void()> check) { m_finalCheck = std::move(check); }
    // The command cannot succeed; the first reason given is the one reported.
    void fail(ExitCode code, const QString& message);
    // The same, and the outcome is reported at once: nothing that follows can change it.
    void failNow(ExitCode code, const QString& message);
    // To be called once the command's first request is on its way.
    void begin();

Q_SIGNALS:
    void finished(int exitCode);

private:
    void requestFailed(RequestType type, QNetworkReply::NetworkError error, int httpStatus);
    void replyUnreadable(RequestType type);
    void commandRefused(RequestType type, const QString& reason);
    void finish();

    TavrelRequest* m_engine;
    TavrelDatabase* m_database;
    QString m_subject;
    QSet<RequestType> m_watched;
    QSet<RequestType> m_answered;
    QSet<RequestType> m_decisive;
    bool m_handlingUnreadable = false; // the reply being dispatched could not be read
    std::function<QByteArray()> m_output;
    std::function<void()> m_finalCheck;
    ExitCode m_exitCode = Success;
    QString m_message;
    QTimer* m_deadline;
    bool m_finished = false;
};
