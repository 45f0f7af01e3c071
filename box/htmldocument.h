#pragma once

#include <QByteArray>
#include <QLatin1StringView>
#include <QList>
#include <QString>
#include <QStringView>

#include <memory>
#include <optional>

struct GumboInternalNode;
struct GumboInternalOutput;
class HtmlDocument;

// How HtmlElement::plainText() treats elements of a kind HTML does not know. The receiver prints
// '<' unescaped in event texts, so "Politiker <Bundestag> & Gäste" reaches the parser as text, an
// element "bundestag" and more text.
enum class UnknownTags
{
    Drop,   // as a browser shows them: only their content
    AsText, // as the receiver meant them: the tag as it was written, then the content
};

// One element of an HtmlDocument. A handle is a view into the document's tree: the document hands
// handles out only while it is held in a variable, never from a temporary, and a handle must not
// be kept beyond the scope of its document.
class HtmlElement
{
public:
    // The tag name in lower case ("td"); an unknown tag reads as it was written, in lower case.
    QString tagName() const;
    // True when the class attribute lists the name, alone or among others.
    bool hasClass(QStringView className) const;
    // The attribute's value with character references decoded; a null text when there is none.
    QString attribute(QLatin1StringView name) const;

    // The text as a browser shows it: entities decoded, script and style left out, and every run of
    // blanks, tabs and line breaks (also the breaks of <br> and of block elements) one blank, with
    // none at the ends.
    QString plainText(UnknownTags unknownTags = UnknownTags::Drop) const;
    // The element as it stands in the page, from its start tag to its own end tag. An element the
    // page leaves open ends where the parser closed it.
    QString outerMarkup() const;

    // True when the page ends the element with its own end tag, not the parser where the page
    // stopped or went on with something else.
    bool isClosed() const;

    // The child elements, in document order.
    QList<HtmlElement> children() const;
    // The next element with the same parent.
    std::optional<HtmlElement> nextSibling() const;

    // True when the element itself matches "tag" or "tag.class".
    bool matches(QStringView selector) const;
    // The descendants that match "tag" or "tag.class", in document order.
    QList<HtmlElement> select(QStringView selector) const;
    std::optional<HtmlElement> first(QStringView selector) const;

private:
    friend class HtmlDocument;
    HtmlElement(const HtmlDocument& document, const GumboInternalNode* node)
        : m_document(&document)
        , m_node(node)
    {}

    const HtmlDocument* m_document = nullptr;
    const GumboInternalNode* m_node = nullptr;
};

// An HTML page parsed as a browser parses it (HTML5 rules, UTF-8), for reading the receiver's
// pages: elements selected in document order by "tag" or "tag.class", their text, their markup
// and their neighbours. The document owns the parse tree and the bytes it points into.
class HtmlDocument
{
public:
    // Deeper nesting than this refuses the page: no receiver page comes near it, and the parser
    // needs time that grows with the square of the depth, and stack to free such a tree.
    static constexpr int maxNestingDepth = 512;

    explicit HtmlDocument(QByteArray utf8);
    explicit HtmlDocument(const QString& text);
    ~HtmlDocument();

    HtmlDocument(const HtmlDocument&) = delete;
    HtmlDocument& operator=(const HtmlDocument&) = delete;
    HtmlDocument(HtmlDocument&&) = delete;
    HtmlDocument& operator=(HtmlDocument&&) = delete;

    // False for a page that was refused; it then has no elements.
    bool isParsed() const { return m_output != nullptr; }

    // Every element that matches "tag" or "tag.class", in document order.
    QList<HtmlElement> select(QStringView selector) const&;
    QList<HtmlElement> select(QStringView selector) const&& = delete;
    std::optional<HtmlElement> first(QStringView selector) const&;
    std::optional<HtmlElement> first(QStringView selector) const&& = delete;

private:
    friend class HtmlElement;

    struct OutputDeleter
    {
        void operator()(GumboInternalOutput* output) const;
    };

    const GumboInternalNode* documentNode() const;

    QByteArray m_source;
    std::unique_ptr<GumboInternalOutput, OutputDeleter> m_output;
    bool m_quirksMode = false; // without a doctype, class names match regardless of case
};
