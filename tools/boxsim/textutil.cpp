#include "tools/boxsim/textutil.h"

#include <charconv>

namespace boxsim::text {

namespace {

constexpr bool isXmlForbidden(uchar c)
{
    return c < 0x20 && c != '\t' && c != '\n' && c != '\r';
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// '+' to a space and %XX to the byte; with shortEscapes also %X, as Enigma1 writes bytes below
// 16. A '%' that starts no escape stays as it is.
QByteArray percentDecode(const QByteArray& raw, bool shortEscapes)
{
    QByteArray out;
    out.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const char c = raw.at(i);
        const int high = c == '%' && i + 1 < raw.size() ? hexValue(raw.at(i + 1)) : -1;
        const int low = c == '%' && i + 2 < raw.size() ? hexValue(raw.at(i + 2)) : -1;
        if (c == '+') {
            out.append(' ');
        } else if (high >= 0 && low >= 0) {
            out.append(char(high * 16 + low));
            i += 2;
        } else if (high >= 0 && shortEscapes) {
            out.append(char(high));
            i += 1;
        } else {
            out.append(c);
        }
    }
    return out;
}

} // namespace

void appendXml(QByteArray& out, const QString& s)
{
    const QByteArray utf8 = s.toUtf8();
    const char* p = utf8.constData();
    const char* const end = p + utf8.size();
    const char* run = p;
    for (; p != end; ++p) {
        const uchar c = uchar(*p);
        const char* replacement = nullptr;
        if (c == '&')
            replacement = "&amp;";
        else if (c == '<')
            replacement = "&lt;";
        else if (c == '>')
            replacement = "&gt;";
        else if (!isXmlForbidden(c))
            continue;
        out.append(run, p - run);
        if (replacement)
            out.append(replacement);
        run = p + 1;
    }
    out.append(run, p - run);
}

QByteArray xml(const QString& s)
{
    QByteArray out;
    out.reserve(s.size() + 8);
    appendXml(out, s);
    return out;
}

void appendNumber(QByteArray& out, qint64 value)
{
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr - buffer);
}

QByteArray formDecode(const QByteArray& raw)
{
    return percentDecode(raw, false);
}

QList<QPair<QString, QString>> decodeQuery(const QByteArray& rawQuery)
{
    QList<QPair<QString, QString>> items;
    if (rawQuery.isEmpty())
        return items;
    const QList<QByteArray> parts = rawQuery.split('&');
    for (const QByteArray& part : parts) {
        if (part.isEmpty())
            continue;
        const qsizetype eq = part.indexOf('=');
        const QByteArray name = eq < 0 ? part : part.left(eq);
        const QByteArray value = eq < 0 ? QByteArray() : part.mid(eq + 1);
        items.append({QString::fromUtf8(formDecode(name)), QString::fromUtf8(formDecode(value))});
    }
    return items;
}

QByteArray enigma1EscapeReference(const QString& reference)
{
    static constexpr char digits[] = "0123456789abcdef";
    const QByteArray utf8 = reference.toUtf8();
    QByteArray out;
    out.reserve(utf8.size() * 2);
    for (const char ch : utf8) {
        const uchar c = uchar(ch);
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ':') {
            out.append(char(c));
            continue;
        }
        out.append('%');
        if (c >= 16)
            out.append(digits[c >> 4]);
        out.append(digits[c & 15]);
    }
    return out;
}

QString enigma1DecodeReference(const QString& onceDecoded)
{
    // The receiver's second pass uses the same decoder; its escapes without zero padding ("%a")
    // are read back as well.
    return QString::fromUtf8(percentDecode(onceDecoded.toUtf8(), true));
}

qint64 toInteger(const QString& s, qint64 fallback)
{
    bool ok = false;
    const qint64 value = s.trimmed().toLongLong(&ok, 10);
    return ok ? value : fallback;
}

} // namespace boxsim::text
