#pragma once

// Helpers of the simulated receiver's tests: real HTTP requests with QNetworkAccessManager, a raw
// socket client for byte-exact targets, and a strict XML reader that flattens a document into
// element paths.

#include <QAuthenticator>
#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSet>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QUrl>
#include <QXmlStreamReader>

#include <memory>

namespace boxsimtest {

// The moment the receivers' clocks stand still at.
constexpr qint64 Now = 1710443862; // Thu 14 Mar 2024 19:17:42 UTC

// A query value percent-encoded as it goes over the wire.
inline QByteArray enc(const QString& value)
{
    return QUrl::toPercentEncoding(value);
}

struct Fetched
{
    QNetworkReply::NetworkError error = QNetworkReply::NoError;
    int status = 0;
    QByteArray body;
    QByteArray contentType;
    QByteArray contentLength;
    QByteArray transferEncoding;
    QByteArray authenticate;
    qint64 elapsedMs = 0;
    int readyReads = 0;
    bool finished = false;
};

// One client as the application would be: a QNetworkAccessManager that answers 401 challenges
// with its credentials.
class Client
{
public:
    Client()
    {
        QObject::connect(&m_manager, &QNetworkAccessManager::authenticationRequired, &m_manager,
                         [this](QNetworkReply*, QAuthenticator* authenticator) {
                             ++m_challenges;
                             if (m_user.isEmpty())
                                 return;
                             authenticator->setUser(m_user);
                             authenticator->setPassword(m_password);
                         });
    }

    void setCredentials(const QString& user, const QString& password)
    {
        m_user = user;
        m_password = password;
    }
    int challenges() const { return m_challenges; }
    QNetworkAccessManager& manager() { return m_manager; }

    // GET base + target (target already percent-encoded as it should go over the wire).
    Fetched get(const QUrl& base, const QByteArray& target, int transferTimeoutMs = 10000)
    {
        return get(QUrl::fromEncoded(base.toEncoded() + target), transferTimeoutMs);
    }

    Fetched get(const QUrl& url, int transferTimeoutMs = 10000)
    {
        QNetworkRequest request(url);
        request.setTransferTimeout(transferTimeoutMs);
        QElapsedTimer timer;
        timer.start();
        const std::unique_ptr<QNetworkReply> reply(m_manager.get(request));
        Fetched result;
        QObject::connect(reply.get(), &QIODevice::readyRead, reply.get(), [&result] { ++result.readyReads; });
        QSignalSpy finished(reply.get(), &QNetworkReply::finished);
        result.finished = finished.wait(transferTimeoutMs + 5000) || finished.count() > 0;
        result.elapsedMs = timer.elapsed();
        result.error = reply->error();
        result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (reply->isOpen())
            result.body = reply->readAll();
        result.contentType = reply->rawHeader("Content-Type");
        result.contentLength = reply->rawHeader("Content-Length");
        result.transferEncoding = reply->rawHeader("Transfer-Encoding");
        result.authenticate = reply->rawHeader("WWW-Authenticate");
        return result;
    }

private:
    QNetworkAccessManager m_manager;
    QString m_user;
    QString m_password;
    int m_challenges = 0;
};

// Sends one request line exactly as given and returns the whole answer (head and body).
inline QByteArray rawGet(quint16 port, const QByteArray& target, const QByteArray& extraHeaders = {})
{
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), port);
    if (!socket.waitForConnected(5000))
        return {};
    socket.write("GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n" + extraHeaders +
                 "\r\n");
    QByteArray answer;
    QSignalSpy disconnected(&socket, &QAbstractSocket::disconnected);
    QObject::connect(&socket, &QIODevice::readyRead, &socket, [&] { answer += socket.readAll(); });
    disconnected.wait(5000);
    answer += socket.readAll();
    return answer;
}

// A document read by a strict XML parser, flattened: every element's path from the root
// ("e2eventlist/e2event/e2eventid") with its text and attributes, in document order.
struct XmlTree
{
    struct Node
    {
        QString path;
        QString text;
        QXmlStreamAttributes attributes;
    };

    bool ok = false;
    QString error;
    QString root;
    QList<Node> nodes;

    static XmlTree parse(const QByteArray& bytes)
    {
        XmlTree tree;
        QXmlStreamReader reader(bytes);
        QStringList stack;
        QList<qsizetype> open;
        while (!reader.atEnd()) {
            reader.readNext();
            if (reader.isStartElement()) {
                stack.append(reader.name().toString());
                if (tree.root.isEmpty())
                    tree.root = stack.first();
                tree.nodes.append({stack.join(u'/'), QString(), reader.attributes()});
                open.append(tree.nodes.size() - 1);
            } else if (reader.isCharacters() && !open.isEmpty()) {
                tree.nodes[open.last()].text += reader.text();
            } else if (reader.isEndElement()) {
                stack.removeLast();
                open.removeLast();
            }
        }
        tree.ok = !reader.hasError() && !tree.root.isEmpty();
        tree.error = reader.errorString();
        return tree;
    }

    int count(const QString& path) const
    {
        int n = 0;
        for (const Node& node : nodes)
            n += node.path == path ? 1 : 0;
        return n;
    }
    // Texts of all elements with this path, trimmed as clients must do.
    QStringList values(const QString& path) const
    {
        QStringList result;
        for (const Node& node : nodes) {
            if (node.path == path)
                result.append(node.text.trimmed());
        }
        return result;
    }
    QString value(const QString& path) const { return values(path).value(0); }
    // The first texts of some children of an element, joined by '|': a record as one comparable line.
    QString line(const QString& parent, const QStringList& children) const
    {
        QStringList texts;
        for (const QString& child : children)
            texts.append(value(parent + u'/' + child));
        return texts.join(u'|');
    }
    // The set of element paths, for comparing a document's layout with another's.
    QSet<QString> paths() const
    {
        QSet<QString> result;
        for (const Node& node : nodes)
            result.insert(node.path);
        return result;
    }
    QString raw(const QString& path) const
    {
        for (const Node& node : nodes) {
            if (node.path == path)
                return node.text;
        }
        return {};
    }
};

// The text that follows a marker: from the marker's position plus offset up to the terminator;
// a null string when either is missing. This is how page scrapers read Enigma1 pages.
inline QString afterMarker(const QString& page, const QString& marker, int offset, const QString& terminator)
{
    const qsizetype at = page.indexOf(marker);
    if (at < 0)
        return {};
    const qsizetype start = at + offset;
    const qsizetype end = page.indexOf(terminator, start);
    if (end < 0)
        return {};
    return page.mid(start, end - start);
}

} // namespace boxsimtest
