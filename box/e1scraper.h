#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

// Reads an Enigma1 page from left to right by the fixed texts the receiver prints around its
// values. Every search starts where the last one ended, so a text that stands earlier in the page
// than the one before it is not found. A step that cannot be taken leaves the position where it
// was and reports failure; callers then give up on the page instead of reading on from a wrong
// place.
class E1Scraper
{
public:
    explicit E1Scraper(QStringView text)
        : m_text(text)
    {}

    // Moves past the next occurrence of the marker.
    bool skipPast(QStringView marker);
    // Moves onto the next occurrence of the marker, which stays in front.
    bool skipTo(QStringView marker);
    // Moves past the text when it stands right at the position.
    bool consume(QStringView text);
    // Moves past the next script assignment of the variable ("name = ", or "name=" and the like);
    // the name must stand as a whole word.
    bool skipPastAssignment(QStringView name);
    // The text up to the next terminator, which stays in front.
    std::optional<QStringView> cutUntil(QStringView terminator);
    // The next count characters.
    std::optional<QStringView> take(qsizetype count);
    // The start of the next occurrence of the marker, without moving; -1 when there is none.
    qsizetype find(QStringView marker) const;
    // Moves to an absolute position at or after the current one.
    bool moveTo(qsizetype position);

    // Reads the items of a script array of strings: "new Array(" must stand right before the
    // position (blanks aside), and the reading ends after the closing parenthesis. Receivers print
    // the items without escaping, so a quote only ends an item when a comma or the closing
    // parenthesis follows it. Nothing is read from an array that does not close.
    std::optional<QStringList> readStringArray();

    qsizetype position() const { return m_position; }
    QStringView text() const { return m_text; }

private:
    void skipBlanks();

    QStringView m_text;
    qsizetype m_position = 0;
};

namespace E1Text {

// A reference as the receiver prints it into pages: letters, digits and ':' as they are, every
// other byte as '%' and its value in lower-case hex without zero padding ("/" is "%2f"). Gives
// back the reference the receiver knows, decoded as UTF-8.
QString unescapedReference(QStringView text);

} // namespace E1Text
