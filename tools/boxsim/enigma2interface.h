#pragma once

#include "tools/boxsim/answer.h"

#include <QHash>

namespace boxsim {

class ReceiverState;
struct EpgEvent;
struct LineUpService;

// The Enigma2 XML web interface under /web/: answers in the receivers' exact layout (tabs,
// line breaks, padded values, "None" entries) built straight into byte buffers.
class Enigma2Interface : public WebInterface
{
public:
    explicit Enigma2Interface(ReceiverState* state);

    Answer answer(const IncomingRequest& request) override;
    Answer refusal(const IncomingRequest& request) const override;
    Answer errorAnswer(int status) const override;
    QByteArray realm() const override;
    void finish(Answer& answer) const override;

private:
    using Handler = Answer (Enigma2Interface::*)(const IncomingRequest&);
    struct Route
    {
        Handler handler;
        // Without these the receiver answers with its error page, naming the first one missing.
        QList<const char*> required = {};
    };

    Answer about(const IncomingRequest& request);
    // The picture the TV shows, drawn from the receiver's state.
    Answer grab(const IncomingRequest& request);
    // A recording's file as the web interface hands it out, by its path on the receiver.
    Answer file(const IncomingRequest& request);
    Answer currentTime(const IncomingRequest& request);
    Answer allServices(const IncomingRequest& request);
    Answer currentService(const IncomingRequest& request);
    Answer powerState(const IncomingRequest& request);
    Answer signal(const IncomingRequest& request);
    Answer volume(const IncomingRequest& request);
    Answer remoteControl(const IncomingRequest& request);
    Answer recordNow(const IncomingRequest& request);
    Answer epgService(const IncomingRequest& request);
    Answer epgMulti(const IncomingRequest& request);
    Answer epgNow(const IncomingRequest& request);
    Answer epgNext(const IncomingRequest& request);
    Answer epgNowNext(const IncomingRequest& request, bool next);
    Answer epgSimilar(const IncomingRequest& request);
    Answer epgSearch(const IncomingRequest& request);
    Answer zap(const IncomingRequest& request);
    Answer message(const IncomingRequest& request);
    Answer messageAnswer(const IncomingRequest& request);
    Answer movieList(const IncomingRequest& request);
    Answer movieDelete(const IncomingRequest& request);
    Answer timerList(const IncomingRequest& request);
    Answer timerCleanup(const IncomingRequest& request);
    Answer timerAddByEventId(const IncomingRequest& request);
    Answer timerDelete(const IncomingRequest& request);

    Answer missingParameter(const QString& name) const;
    // Events of every distinct service whose programme is accepted (indexed by programme).
    Answer searchEvents(const QList<bool>& accepted, int excludeId, const QString& excludeService,
                        const QByteArray& currentTime);

    ReceiverState* const m_state;
    QHash<QString, Route> m_routes;
};

} // namespace boxsim
