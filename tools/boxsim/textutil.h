#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// Text helpers shared by the two web interfaces: XML text escaping, the query decoding of the
// receivers' web servers and Enigma1's escaping of references printed into pages.

namespace boxsim::text {

// Appends s as XML character data in UTF-8: '&', '<' and '>' escaped, quotes left as they are
// (the receivers do the same), characters that XML 1.0 forbids dropped.
void appendXml(QByteArray& out, const QString& s);
QByteArray xml(const QString& s);
// Appends a decimal number without a temporary allocation.
void appendNumber(QByteArray& out, qint64 value);

// Decodes '+' to a space and %XX to the byte, once; a '%' without two hex digits stays as it is.
QByteArray formDecode(const QByteArray& raw);

// Splits a raw query at '&' and each part at its first '='; names and values formDecode()d and
// read as UTF-8. A part without '=' is a name with an empty value.
QList<QPair<QString, QString>> decodeQuery(const QByteArray& rawQuery);

// Enigma1 prints references into its pages with every byte except letters, digits and ':'
// written as '%' plus lower-case hex without zero padding ("/" is "%2f", a newline "%a").
QByteArray enigma1EscapeReference(const QString& reference);

// Enigma1 decodes a reference parameter a second time after the query decoding.
QString enigma1DecodeReference(const QString& onceDecoded);

// Integer from decimal text; fallback when it is not one.
qint64 toInteger(const QString& s, qint64 fallback);

} // namespace boxsim::text
