#include "control/receiverreachability.h"

#include "control/controltimer.h"

#include <algorithm>

namespace {

constexpr int firstRetryPauseMs = 2000;
constexpr int longestRetryPauseMs = 60000;

// No answer came from the receiver at all, or it would not let us in.
bool isOutage(QNetworkReply::NetworkError error, int httpStatus)
{
    if (error == QNetworkReply::AuthenticationRequiredError)
        return true;
    return httpStatus == 0 && error != QNetworkReply::NoError;
}

} // namespace

ReceiverReachability::ReceiverReachability(TimerSource& timerSource, QObject* parent)
    : QObject(parent)
    , m_timerSource(timerSource)
    , m_pauseMs(firstRetryPauseMs)
{}

QString ReceiverReachability::reasonText(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::ConnectionRefusedError:
        return tr("connection refused");
    case QNetworkReply::HostNotFoundError:
        return tr("host not found");
    case QNetworkReply::TimeoutError:
    case QNetworkReply::OperationCanceledError:
        return tr("no answer in time");
    case QNetworkReply::AuthenticationRequiredError:
        return tr("user name or password refused");
    case QNetworkReply::RemoteHostClosedError:
        return tr("the receiver closed the connection");
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::UnknownNetworkError:
        return tr("no route to the receiver");
    default:
        return tr("network error %1").arg(int(error));
    }
}

void ReceiverReachability::noteFailure(QNetworkReply::NetworkError error, int httpStatus)
{
    if (!isOutage(error, httpStatus)) {
        noteAnswer();
        return;
    }
    if (m_reachable) {
        m_reachable = false;
        m_reason = reasonText(error);
        m_pauseMs = firstRetryPauseMs;
        Q_EMIT reachabilityChanged(false);
    }
    scheduleRetry();
}

void ReceiverReachability::noteAnswer()
{
    m_retryPending = false;
    if (m_retryTimer)
        m_retryTimer->stop();
    m_pauseMs = firstRetryPauseMs;
    if (m_reachable)
        return;
    m_reachable = true;
    Q_EMIT reachabilityChanged(true);
}

void ReceiverReachability::setRetrying(bool retrying)
{
    m_retrying = retrying;
    if (!retrying) {
        m_retryPending = false;
        if (m_retryTimer)
            m_retryTimer->stop();
    } else {
        scheduleRetry();
    }
}

void ReceiverReachability::reset()
{
    m_retryPending = false;
    if (m_retryTimer)
        m_retryTimer->stop();
    m_reachable = true;
    m_pauseMs = firstRetryPauseMs;
}

void ReceiverReachability::scheduleRetry()
{
    // One try at a time: failures of other requests meanwhile do not bring it forward.
    if (m_reachable || !m_retrying || m_retryPending)
        return;
    m_retryPending = true;
    m_timerSource.startSingleShot(m_retryTimer, m_pauseMs, this, &ReceiverReachability::retryTimeout);
}

void ReceiverReachability::retryTimeout()
{
    m_retryPending = false;
    m_pauseMs = std::min(m_pauseMs * 2, longestRetryPauseMs);
    Q_EMIT retryDue();
}
