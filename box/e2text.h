#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// How the values of Enigma2 answers are turned into what the image keeps. Receivers pad values
// with newlines and tabs, spell "no value" in several ways, send numbers as floats and, in some
// interface versions, escape texts twice.
namespace E2Text {

// "None", "N/A", "<n/a>" and the empty text: the receiver has no value.
bool isMissing(QStringView trimmedText);

// Undoes one level of XML escaping that survived the XML decoding ("A&amp;E HD" reads "A&E HD").
// Anything that is not a known entity stays as it is.
QString unescaped(QStringView text);

// A text the user reads: trimmed, missing values empty, double escaping undone.
QString displayText(QStringView text);
// A value kept as delivered: trimmed, missing values empty.
QString plainValue(QStringView text);
// A service or bouquet reference: only the padding goes, the rest must travel back to the
// receiver byte for byte (bouquet references hold quotes, markers hold blanks).
QString referenceText(QStringView text);

// The integer part of a decimal number ("1710443862.37" gives 1710443862). Nothing else may
// follow the number; missing values and anything that is not a number give no value.
std::optional<qint64> integerValue(QStringView text);
// The whole number a text begins with ("100 %" gives 100); no value when it has no digits.
std::optional<qint64> leadingIntegerValue(QStringView text);

// The same, limited to the range of the field that takes the value.
std::optional<int> intValue(QStringView text);
std::optional<uint> uintValue(QStringView text);

} // namespace E2Text
