#include "box/e2replyreader.h"

#include <algorithm>

namespace {

// Entities only exist with a document type declaration, which openRoot() refuses; the limit
// guards the reader in case that ever changes.
constexpr int entityExpansionLimit = 1024;

bool isStrayControl(QChar c)
{
    return c.unicode() < 0x20 && c != u'\t' && c != u'\n' && c != u'\r';
}

// Receivers pass control codes from broadcast EPG texts through unescaped. They are not
// allowed in XML and would cost the whole answer, so they go before reading.
QString withoutStrayControls(const QString& text)
{
    const auto first = std::find_if(text.cbegin(), text.cend(), isStrayControl);
    if (first == text.cend())
        return text;
    QString cleaned;
    cleaned.reserve(text.size());
    for (const QChar c : text) {
        if (!isStrayControl(c))
            cleaned += c;
    }
    return cleaned;
}

} // namespace

E2ReplyReader::E2ReplyReader(const QString& text)
    : m_xml(withoutStrayControls(text))
{
    m_xml.setEntityExpansionLimit(entityExpansionLimit);
    // Receivers use no namespaces; a prefix is just part of a name that matches nothing.
    m_xml.setNamespaceProcessing(false);
}

bool E2ReplyReader::openRoot(QLatin1StringView rootName)
{
    while (!m_xml.atEnd()) {
        switch (m_xml.readNext()) {
        case QXmlStreamReader::StartElement:
            return m_xml.qualifiedName() == rootName;
        case QXmlStreamReader::DTD:
            return false;
        default:
            break;
        }
    }
    return false;
}

QStringView E2ReplyReader::text()
{
    m_text.resize(0);
    int depth = 0;
    while (!m_xml.atEnd()) {
        switch (m_xml.readNext()) {
        case QXmlStreamReader::Characters:
            if (depth == 0)
                m_text += m_xml.text();
            break;
        case QXmlStreamReader::StartElement:
            ++depth;
            break;
        case QXmlStreamReader::EndElement:
            if (depth == 0)
                return QStringView(m_text).trimmed();
            --depth;
            break;
        default:
            break;
        }
    }
    return {};
}

bool E2ReplyReader::finish()
{
    while (!m_xml.atEnd())
        m_xml.readNext();
    return !m_xml.hasError();
}
