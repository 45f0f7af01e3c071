#pragma once

#include <QLatin1StringView>
#include <QString>
#include <QStringView>
#include <QXmlStreamReader>

// Reads one XML answer of an Enigma2 receiver as a stream. Every reader of an answer goes
// through it: open the root, walk the elements it needs, then finish() the document, which
// tells whether the whole answer was well-formed. Nothing here recurses, so nesting depth
// costs no stack.
class E2ReplyReader
{
public:
    explicit E2ReplyReader(const QString& text);

    // Moves onto the root element. False when the text holds no element, carries a document
    // type declaration (receivers send none, and entity tricks need one) or the root has
    // another name.
    bool openRoot(QLatin1StringView rootName);

    // The name of the element the reader stands on, prefix included, so that only the exact
    // name matches; valid until the next read.
    QStringView name() const { return m_xml.qualifiedName(); }

    // Moves onto the next child element of the current element; false at its end.
    bool nextChild() { return m_xml.readNextStartElement(); }
    // Moves past the end of the current element.
    void skipElement() { m_xml.skipCurrentElement(); }

    // The character data of the current element, child elements left out, with the padding
    // receivers add removed. Leaves the reader on the element's end; valid until the next read.
    QStringView text();

    // Calls handle() for every element of that name below the current element, at any depth,
    // in document order. handle() stands on the element's start and must read it to its end.
    template<typename Handle>
    void forEachElement(QStringView elementName, Handle&& handle);

    // Reads the rest of the answer; true when all of it was well-formed.
    bool finish();

private:
    QXmlStreamReader m_xml;
    QString m_text; // reused for element texts, so reading a value allocates nothing
};

template<typename Handle>
void E2ReplyReader::forEachElement(QStringView elementName, Handle&& handle)
{
    int depth = 0;
    while (!m_xml.atEnd()) {
        switch (m_xml.readNext()) {
        case QXmlStreamReader::StartElement:
            if (m_xml.qualifiedName() == elementName)
                handle();
            else
                ++depth;
            break;
        case QXmlStreamReader::EndElement:
            if (depth == 0)
                return;
            --depth;
            break;
        default:
            break;
        }
    }
}
