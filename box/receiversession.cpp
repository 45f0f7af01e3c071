#include "box/receiversession.h"

#include <QRegularExpression>

QUrl ReceiverSession::withId(const QUrl& url) const
{
    if (m_id.isEmpty())
        return url;
    const QString argument =
        QStringLiteral("sessionid=") + QString::fromLatin1(QUrl::toPercentEncoding(m_id));
    QUrl sent(url);
    // The stored query is already encoded as it goes over the wire; it must stay byte for byte.
    sent.setQuery(url.hasQuery() ? url.query(QUrl::FullyEncoded) + QLatin1Char('&') + argument : argument,
                  QUrl::StrictMode);
    return sent;
}

std::vector<ReceiverSession::Waiting> ReceiverSession::takeWaiting()
{
    return std::exchange(m_waiting, {});
}

QString ReceiverSession::reason(const QByteArray& body)
{
    static const QRegularExpression markup(QStringLiteral("<[^>]*>"));
    QString text = QString::fromUtf8(body.left(4 * maxReasonLength));
    text.remove(markup);
    text = text.simplified();
    if (text.size() > maxReasonLength)
        text = text.left(maxReasonLength - 1) + QChar(0x2026);
    return text;
}
