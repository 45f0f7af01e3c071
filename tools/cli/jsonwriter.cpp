#include "tools/cli/jsonwriter.h"

namespace {

void appendEscaped(QByteArray& out, const QString& text)
{
    out += '"';
    const QByteArray utf8 = text.toUtf8();
    for (const char c : utf8) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (uchar(c) < 0x20) {
                out += "\\u00";
                out += QByteArray::number(uchar(c), 16).rightJustified(2, '0');
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

} // namespace

void JsonWriter::separate()
{
    if (m_afterKey) {
        // The value follows its key on the same line.
        m_afterKey = false;
        return;
    }
    if (m_needsComma)
        m_out += ',';
    if (m_depth > 0) {
        m_out += '\n';
        m_out += QByteArray(m_depth * 2, ' ');
    }
}

void JsonWriter::beginObject()
{
    separate();
    m_out += '{';
    ++m_depth;
    m_needsComma = false;
}

void JsonWriter::endObject()
{
    --m_depth;
    m_out += '\n' + QByteArray(m_depth * 2, ' ') + '}';
    m_needsComma = true;
}

void JsonWriter::beginArray()
{
    separate();
    m_out += '[';
    ++m_depth;
    m_needsComma = false;
}

void JsonWriter::endArray()
{
    --m_depth;
    if (m_out.endsWith('['))
        m_out += ']';
    else
        m_out += '\n' + QByteArray(m_depth * 2, ' ') + ']';
    m_needsComma = true;
}

JsonWriter& JsonWriter::key(const char* name)
{
    separate();
    m_out += '"';
    m_out += name;
    m_out += "\": ";
    m_afterKey = true;
    return *this;
}

void JsonWriter::value(const QString& text)
{
    separate();
    appendEscaped(m_out, text);
    m_needsComma = true;
}

void JsonWriter::value(qint64 number)
{
    separate();
    m_out += QByteArray::number(number);
    m_needsComma = true;
}

void JsonWriter::value(bool flag)
{
    separate();
    m_out += flag ? "true" : "false";
    m_needsComma = true;
}

void JsonWriter::nullValue()
{
    separate();
    m_out += "null";
    m_needsComma = true;
}

bool JsonWriter::isKnown(const char* name)
{
    if (!m_known || m_known->contains(QByteArray(name)))
        return true;
    key(name).nullValue();
    return false;
}
