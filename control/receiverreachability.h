#pragma once

#include <QNetworkReply>
#include <QObject>
#include <QString>

class ControlTimer;
class TimerSource;

// Whether the receiver can be reached. An outage is told once, when its first request fails,
// and its end once, when the receiver answers again, however many requests fail in between.
// While retrying is on, the pause before the next try grows with every failed one.
class ReceiverReachability : public QObject
{
    Q_OBJECT

public:
    ReceiverReachability(TimerSource& timerSource, QObject* parent);

    bool isReachable() const { return m_reachable; }
    // The words for the last outage ("connection refused").
    QString reason() const { return m_reason; }
    // Pause before the next try, in milliseconds.
    int retryPauseMs() const { return m_pauseMs; }

    // A request ended with this error; httpStatus is 0 when no HTTP answer came. An answer of
    // the receiver (even an error page) shows that it can be reached, refused credentials do not.
    void noteFailure(QNetworkReply::NetworkError error, int httpStatus);
    void noteAnswer();
    // Tries again by itself only while this is on (live mode).
    void setRetrying(bool retrying);
    // Forgets an outage without telling anybody (another receiver is loaded).
    void reset();

    static QString reasonText(QNetworkReply::NetworkError error);

Q_SIGNALS:
    void reachabilityChanged(bool reachable);
    // Time for the next try.
    void retryDue();

private:
    void scheduleRetry();
    void retryTimeout();

    TimerSource& m_timerSource;
    ControlTimer* m_retryTimer = nullptr;
    bool m_reachable = true;
    bool m_retrying = false;
    bool m_retryPending = false;
    int m_pauseMs = 0;
    QString m_reason;
};
