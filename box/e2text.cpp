#include "box/e2text.h"

#include <array>
#include <limits>

namespace E2Text {

namespace {

constexpr qsizetype longestEntity = 10; // "&#x10FFFF;"

bool isXmlSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The code point of a numeric character reference body ("#233", "#xE9"), or 0.
char32_t numericReference(QStringView body)
{
    const bool hex = body.size() > 1 && (body[1] == u'x' || body[1] == u'X');
    const QStringView digits = body.sliced(hex ? 2 : 1);
    if (digits.isEmpty())
        return 0;
    char32_t value = 0;
    for (const QChar c : digits) {
        int digit = -1;
        if (isDigit(c))
            digit = c.unicode() - u'0';
        else if (hex && c >= u'a' && c <= u'f')
            digit = c.unicode() - u'a' + 10;
        else if (hex && c >= u'A' && c <= u'F')
            digit = c.unicode() - u'A' + 10;
        if (digit < 0)
            return 0;
        value = value * (hex ? 16 : 10) + char32_t(digit);
        if (value > 0x10FFFF)
            return 0;
    }
    if (value >= 0xD800 && value <= 0xDFFF)
        return 0;
    return value;
}

// Appends the replacement of the entity body (between '&' and ';'); false when it is none.
bool appendEntity(QStringView body, QString& out)
{
    if (body == u"amp")
        out += u'&';
    else if (body == u"lt")
        out += u'<';
    else if (body == u"gt")
        out += u'>';
    else if (body == u"quot")
        out += u'"';
    else if (body == u"apos")
        out += u'\'';
    else if (body.startsWith(u'#')) {
        const char32_t codePoint = numericReference(body);
        if (codePoint == 0)
            return false;
        const std::array<char32_t, 1> ucs4{codePoint};
        out += QString::fromUcs4(ucs4.data(), 1);
    } else
        return false;
    return true;
}

// Sign and digits of a decimal number at the start of the text; digitsEnd is the position
// after the last digit, or -1 when there are no digits or the number does not fit.
std::optional<qint64> leadingNumber(QStringView text, qsizetype& digitsEnd)
{
    digitsEnd = -1;
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    const qsizetype firstDigit = i;
    qint64 value = 0;
    constexpr qint64 limit = std::numeric_limits<qint64>::max();
    for (; i < text.size() && isDigit(text[i]); ++i) {
        const int digit = text[i].unicode() - u'0';
        if (value > (limit - digit) / 10)
            return std::nullopt;
        value = value * 10 + digit;
    }
    if (i == firstDigit)
        return std::nullopt;
    digitsEnd = i;
    return negative ? -value : value;
}

} // namespace

bool isMissing(QStringView trimmedText)
{
    return trimmedText.isEmpty() || trimmedText == u"None" || trimmedText == u"N/A" ||
           trimmedText == u"n/a" || trimmedText == u"<n/a>";
}

QString unescaped(QStringView text)
{
    qsizetype amp = text.indexOf(u'&');
    if (amp < 0)
        return text.toString();
    QString out;
    out.reserve(text.size());
    qsizetype done = 0;
    while (amp >= 0) {
        out += text.sliced(done, amp - done);
        const qsizetype semicolon = text.sliced(amp + 1).left(longestEntity).indexOf(u';');
        if (semicolon > 0 && appendEntity(text.sliced(amp + 1, semicolon), out)) {
            done = amp + semicolon + 2;
        } else {
            out += u'&';
            done = amp + 1;
        }
        amp = text.indexOf(u'&', done);
    }
    out += text.sliced(done);
    return out;
}

QString displayText(QStringView text)
{
    const QStringView trimmed = text.trimmed();
    if (isMissing(trimmed))
        return {};
    if (!trimmed.contains(u'&'))
        return trimmed.toString();
    const QString decoded = unescaped(trimmed);
    const QStringView decodedTrimmed = QStringView(decoded).trimmed();
    if (isMissing(decodedTrimmed))
        return {};
    return decodedTrimmed.size() == decoded.size() ? decoded : decodedTrimmed.toString();
}

QString plainValue(QStringView text)
{
    const QStringView trimmed = text.trimmed();
    return isMissing(trimmed) ? QString() : trimmed.toString();
}

QString referenceText(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isXmlSpace(text[begin]))
        ++begin;
    while (end > begin && isXmlSpace(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin).toString();
}

std::optional<qint64> integerValue(QStringView text)
{
    const QStringView trimmed = text.trimmed();
    qsizetype end = -1;
    const std::optional<qint64> value = leadingNumber(trimmed, end);
    if (!value)
        return std::nullopt;
    // Receivers print some time stamps as floats; the fraction does not count.
    if (end < trimmed.size() && trimmed[end] == u'.') {
        ++end;
        while (end < trimmed.size() && isDigit(trimmed[end]))
            ++end;
    }
    if (end != trimmed.size())
        return std::nullopt;
    return value;
}

std::optional<qint64> leadingIntegerValue(QStringView text)
{
    qsizetype end = -1;
    return leadingNumber(text.trimmed(), end);
}

std::optional<int> intValue(QStringView text)
{
    const std::optional<qint64> value = integerValue(text);
    if (!value || *value < std::numeric_limits<int>::min() || *value > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(*value);
}

std::optional<uint> uintValue(QStringView text)
{
    const std::optional<qint64> value = integerValue(text);
    if (!value || *value < 0 || *value > qint64(std::numeric_limits<uint>::max()))
        return std::nullopt;
    return uint(*value);
}

} // namespace E2Text
