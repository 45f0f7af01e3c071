#pragma once

#include "tools/boxsim/answer.h"

#include <QHash>

namespace boxsim {

class ReceiverState;

// The Enigma1 web interface: /cgi-bin/ commands that answer 204 with an empty body, and the
// HTML, script, text and XML pages with the markers clients scrape. Like the receiver, it
// decodes query values once and reference parameters a second time, and prints references
// into its pages escaped.
class Enigma1Interface : public WebInterface
{
public:
    explicit Enigma1Interface(ReceiverState* state);

    Answer answer(const IncomingRequest& request) override;
    Answer refusal(const IncomingRequest& request) const override;
    Answer errorAnswer(int status) const override;
    QByteArray realm() const override;
    bool alwaysProtected(const QString& path) const override;
    void finish(Answer& answer) const override;

private:
    using Handler = Answer (Enigma1Interface::*)(const IncomingRequest&);

    // Commands
    Answer videoControl(const IncomingRequest& request);
    Answer setVideo(const IncomingRequest& request);
    Answer remoteControl(const IncomingRequest& request);
    Answer setVolume(const IncomingRequest& request);
    Answer zapTo(const IncomingRequest& request);
    Answer deleteMovie(const IncomingRequest& request);
    Answer renameMovie(const IncomingRequest& request);
    Answer cleanupTimers(const IncomingRequest& request);
    // Pages
    Answer status(const IncomingRequest& request);
    Answer body(const IncomingRequest& request);
    Answer data(const IncomingRequest& request);
    Answer services(const IncomingRequest& request);
    Answer currentEpg(const IncomingRequest& request);
    Answer multiEpg(const IncomingRequest& request);
    Answer timers(const IncomingRequest& request);
    Answer satFinder(const IncomingRequest& request);
    Answer xmessage(const IncomingRequest& request);
    Answer addTimerEvent(const IncomingRequest& request);
    Answer deleteTimerEvent(const IncomingRequest& request);
    Answer admin(const IncomingRequest& request);

    Answer moviePage();
    Answer aboutPage();
    Answer satFinderControlPage();

    // A reference parameter: decoded once with the query, then once more.
    QString referenceParameter(const IncomingRequest& request, const QString& name) const;

    ReceiverState* const m_state;
    QHash<QString, Handler> m_routes;
};

} // namespace boxsim
