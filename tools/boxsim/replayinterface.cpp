#include "tools/boxsim/replayinterface.h"

#include <QFile>
#include <QFileInfo>

namespace boxsim {

ReplayInterface::ReplayInterface(const QString& directory, const WebInterface* personality, bool enigma2)
    : m_directory(QDir(directory).absolutePath())
    , m_personality(personality)
    , m_enigma2(enigma2)
{}

QString ReplayInterface::extensionFor(const QString& path, bool enigma2)
{
    if (enigma2)
        return path.startsWith(QLatin1String("/web/")) ? QStringLiteral(".xml") : QStringLiteral(".html");
    if (path.startsWith(QLatin1String("/xml/")))
        return QStringLiteral(".xml");
    if (path == QLatin1String("/cgi-bin/getServices") || path == QLatin1String("/cgi-bin/xmessage") ||
        path == QLatin1String("/addTimerEvent"))
        return QStringLiteral(".txt");
    return QStringLiteral(".html");
}

QString ReplayInterface::fileFor(const QString& path) const
{
    const QString root = m_directory.absolutePath();
    const QString base = QDir::cleanPath(root + u'/' + path);
    // Never leave the directory, whatever the path says.
    if (!base.startsWith(root + u'/') || base == root)
        return {};
    QStringList candidates{base + extensionFor(path, m_enigma2)};
    for (const char* extension : {".xml", ".html", ".txt", ".js", ""}) {
        const QString candidate = base + QLatin1String(extension);
        if (!candidates.contains(candidate))
            candidates.append(candidate);
    }
    for (const QString& candidate : std::as_const(candidates)) {
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    return {};
}

Answer ReplayInterface::answer(const IncomingRequest& request)
{
    const QString fileName = fileFor(request.path);
    if (fileName.isEmpty())
        return errorAnswer(404);
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return errorAnswer(500);
    Answer answer;
    answer.body = file.readAll();
    const QString suffix = QFileInfo(fileName).suffix();
    if (suffix == QLatin1String("xml"))
        answer.contentType = "text/xml; charset=UTF-8";
    else if (suffix == QLatin1String("html") || suffix == QLatin1String("js"))
        answer.contentType = "text/html; charset=UTF-8";
    else if (suffix == QLatin1String("txt"))
        answer.contentType = "text/plain; charset=utf-8";
    else
        answer.contentType = "application/octet-stream";
    return answer;
}

Answer ReplayInterface::refusal(const IncomingRequest& request) const
{
    return m_personality->refusal(request);
}

Answer ReplayInterface::errorAnswer(int status) const
{
    return m_personality->errorAnswer(status);
}

QByteArray ReplayInterface::realm() const
{
    return m_personality->realm();
}

bool ReplayInterface::alwaysProtected(const QString& path) const
{
    return m_personality->alwaysProtected(path);
}

void ReplayInterface::finish(Answer& answer) const
{
    m_personality->finish(answer);
}

} // namespace boxsim
