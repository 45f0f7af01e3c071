#pragma once

#include "box/requestcontext.h"

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <utility>
#include <vector>

// The session id of a receiver that guards its web interface with one: unknown until the
// receiver first refuses a request for want of it, then sent with every request of the profile,
// and fetched anew when the receiver refuses it as expired. Requests that meet the refusal wait
// here for the new id.
class ReceiverSession
{
public:
    // A request that goes (again) once an id is known.
    struct Waiting
    {
        RequestContext request;
        QUrl url; // as stored, without the id
    };

    // The receiver's answer to a request without a valid id.
    static constexpr int refusedStatus = 412;
    // The receiver's words of a refusal are cut to this many characters.
    static constexpr qsizetype maxReasonLength = 200;

    const QString& id() const { return m_id; }
    void setId(const QString& id)
    {
        m_id = id;
        m_refusalTold = false;
    }
    void forget() { m_id.clear(); }
    // Whether the refusal of the current id was told already: once is enough.
    bool takeRefusalTold() { return std::exchange(m_refusalTold, true); }
    // The URL as it goes out: the id as its last argument once one is known, unchanged before.
    QUrl withId(const QUrl& url) const;

    bool isFetching() const { return m_fetching; }
    void setFetching(bool fetching) { m_fetching = fetching; }
    void wait(const RequestContext& request, const QUrl& url) { m_waiting.push_back({request, url}); }
    bool hasWaiting() const { return !m_waiting.empty(); }
    std::vector<Waiting> takeWaiting();

    // What the receiver said with its refusal, as one line of plain text.
    static QString reason(const QByteArray& body);

private:
    QString m_id;
    bool m_fetching = false;
    bool m_refusalTold = false;
    std::vector<Waiting> m_waiting;
};
