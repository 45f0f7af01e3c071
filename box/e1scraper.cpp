#include "box/e1scraper.h"

#include <QByteArray>
#include <QStringDecoder>

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

bool isIdentifierChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'$';
}

int hexValue(QChar c)
{
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return -1;
}

} // namespace

bool E1Scraper::skipPast(QStringView marker)
{
    const qsizetype found = find(marker);
    if (found < 0)
        return false;
    m_position = found + marker.size();
    return true;
}

bool E1Scraper::skipTo(QStringView marker)
{
    const qsizetype found = find(marker);
    if (found < 0)
        return false;
    m_position = found;
    return true;
}

bool E1Scraper::consume(QStringView text)
{
    if (!m_text.sliced(m_position).startsWith(text))
        return false;
    m_position += text.size();
    return true;
}

bool E1Scraper::skipPastAssignment(QStringView name)
{
    if (name.isEmpty())
        return false;
    qsizetype from = m_position;
    while (true) {
        const qsizetype found = m_text.indexOf(name, from);
        if (found < 0)
            return false;
        from = found + 1;
        if (found > 0 && isIdentifierChar(m_text[found - 1]))
            continue;
        qsizetype i = found + name.size();
        while (i < m_text.size() && isBlank(m_text[i]))
            ++i;
        if (i >= m_text.size() || m_text[i] != u'=' || (i + 1 < m_text.size() && m_text[i + 1] == u'='))
            continue;
        ++i;
        while (i < m_text.size() && isBlank(m_text[i]))
            ++i;
        m_position = i;
        return true;
    }
}

std::optional<QStringView> E1Scraper::cutUntil(QStringView terminator)
{
    const qsizetype found = find(terminator);
    if (found < 0)
        return std::nullopt;
    const QStringView value = m_text.sliced(m_position, found - m_position);
    m_position = found;
    return value;
}

std::optional<QStringView> E1Scraper::take(qsizetype count)
{
    if (count < 0 || count > m_text.size() - m_position)
        return std::nullopt;
    const QStringView value = m_text.sliced(m_position, count);
    m_position += count;
    return value;
}

qsizetype E1Scraper::find(QStringView marker) const
{
    return marker.isEmpty() ? -1 : m_text.indexOf(marker, m_position);
}

bool E1Scraper::moveTo(qsizetype position)
{
    if (position < m_position || position > m_text.size())
        return false;
    m_position = position;
    return true;
}

void E1Scraper::skipBlanks()
{
    while (m_position < m_text.size() && isBlank(m_text[m_position]))
        ++m_position;
}

std::optional<QStringList> E1Scraper::readStringArray()
{
    const qsizetype start = m_position;
    QStringList items;
    skipBlanks();
    if (m_position < m_text.size() && m_text[m_position] == u')') {
        ++m_position;
        return items;
    }
    while (m_position < m_text.size() && m_text[m_position] == u'"') {
        QString item;
        qsizetype i = m_position + 1;
        bool closed = false;
        while (i < m_text.size()) {
            const QChar c = m_text[i];
            if (c == u'\\' && i + 1 < m_text.size() &&
                (m_text[i + 1] == u'"' || m_text[i + 1] == u'\\' || m_text[i + 1] == u'\'')) {
                item += m_text[i + 1];
                i += 2;
                continue;
            }
            if (c == u'"') {
                qsizetype next = i + 1;
                while (next < m_text.size() && isBlank(m_text[next]))
                    ++next;
                if (next < m_text.size() && (m_text[next] == u',' || m_text[next] == u')')) {
                    m_position = next;
                    closed = true;
                    break;
                }
            }
            item += c;
            ++i;
        }
        if (!closed)
            break;
        items.append(item);
        if (m_text[m_position] == u')') {
            ++m_position;
            return items;
        }
        ++m_position; // the comma
        skipBlanks();
    }
    m_position = start;
    return std::nullopt;
}

namespace E1Text {

QString unescapedReference(QStringView text)
{
    if (!text.contains(u'%'))
        return text.toString();
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'%') {
            if (c.unicode() < 0x80) {
                bytes += char(c.unicode());
            } else {
                const qsizetype length = c.isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
                bytes += text.sliced(i, length).toUtf8();
                i += length - 1;
            }
            continue;
        }
        int value = -1;
        qsizetype digits = 0;
        while (digits < 2 && i + 1 + digits < text.size()) {
            const int digit = hexValue(text[i + 1 + digits]);
            if (digit < 0)
                break;
            value = (value < 0 ? 0 : value * 16) + digit;
            ++digits;
        }
        if (digits == 0) {
            bytes += '%';
            continue;
        }
        bytes += char(value);
        i += digits;
    }
    // The receiver decodes references once more after the query, so a reference that is not UTF-8
    // (a Latin-1 file name) or that holds a '%' of its own only arrives intact in its printed form.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    const QString decoded = decoder(bytes);
    if (decoder.hasError() || decoded.contains(u'%'))
        return text.toString();
    return decoded;
}

} // namespace E1Text
