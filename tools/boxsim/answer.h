#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

namespace boxsim {

// A request as the web interfaces see it: raw target plus the query decoded once.
struct IncomingRequest
{
    QByteArray method;
    QByteArray rawPath;
    QByteArray rawQuery;
    bool hasQuery = false;
    QString path; // percent-decoded path
    QList<QPair<QString, QString>> items;

    bool has(const QString& name) const
    {
        for (const auto& item : items) {
            if (item.first == name)
                return true;
        }
        return false;
    }
    QString value(const QString& name) const
    {
        for (const auto& item : items) {
            if (item.first == name)
                return item.second;
        }
        return {};
    }
};

// What the receiver sends back, before faults and transport are applied.
struct Answer
{
    int status = 200;
    QByteArray contentType; // empty: no Content-Type header, as some receiver pages do
    QByteArray body;
    QList<QPair<QByteArray, QByteArray>> headers;
    bool chunked = false;         // Transfer-Encoding: chunked instead of Content-Length
    bool closeConnection = false; // Connection: close, and close after the answer
};

// One web interface of the receiver. Implementations answer requests and know the receiver's
// own way of reporting errors and of sending answers.
class WebInterface
{
public:
    virtual ~WebInterface() = default;

    virtual Answer answer(const IncomingRequest& request) = 0;
    // The receiver's answer when it does not carry out the request at this path (a command it
    // refuses), in its own form; nothing changes.
    virtual Answer refusal(const IncomingRequest& request) const = 0;
    // 401, 404 and 500 pages in the receiver's own style.
    virtual Answer errorAnswer(int status) const = 0;
    virtual QByteArray realm() const = 0;
    // Paths that ask for authentication even when the receiver's login is off.
    virtual bool alwaysProtected(const QString& path) const
    {
        Q_UNUSED(path);
        return false;
    }
    // Applies the receiver's transport habits (chunked or Content-Length, keep-alive or close).
    virtual void finish(Answer& answer) const = 0;
};

} // namespace boxsim
