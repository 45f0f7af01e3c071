#include "box/htmldocument.h"

#include <gumbo.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace {

bool isAsciiSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool isAsciiAlpha(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (asciiLower(a[i]) != asciiLower(b[i]))
            return false;
    }
    return true;
}

std::string_view view(const GumboStringPiece& piece)
{
    return piece.data ? std::string_view(piece.data, piece.length) : std::string_view();
}

// The tag name inside the text of a start or end tag ("<Td class=x>" gives "Td").
std::string_view tagNameOf(const GumboStringPiece& tagText)
{
    GumboStringPiece name = tagText;
    if (name.length > 0)
        gumbo_tag_from_original_text(&name);
    return view(name);
}

GumboTag tagOf(std::string_view name)
{
    return gumbo_tagn_enum(name.data(), unsigned(name.size()));
}

// What the nesting check needs to know about a tag, after the HTML tree-building rules.
enum TagFlag : std::uint16_t
{
    Void = 1 << 0,       // never has content
    RawText = 1 << 1,    // content is text up to its own end tag
    Formatting = 1 << 2, // reopened by the parser after being closed out of turn
    Marker = 1 << 3,     // limits the reopening of formatting elements to its content
    Special = 1 << 4,    // an end tag of another name does not close it
    Boundary = 1 << 5,   // an end tag does not reach through it to an element outside
    ClosesParagraph = 1 << 6,
    SameClosesSame = 1 << 7, // a start tag of its group closes an open one of it ("<li><li>")
};

// Table structure: a start tag closes open parts of the same or a deeper level.
int tableLevel(GumboTag tag)
{
    switch (tag) {
    case GUMBO_TAG_THEAD:
    case GUMBO_TAG_TBODY:
    case GUMBO_TAG_TFOOT:
        return 1;
    case GUMBO_TAG_TR:
        return 2;
    case GUMBO_TAG_TD:
    case GUMBO_TAG_TH:
        return 3;
    default:
        return 0;
    }
}

// Tags whose start closes an open element of the same group.
int siblingGroup(GumboTag tag)
{
    switch (tag) {
    case GUMBO_TAG_P:
        return 1;
    case GUMBO_TAG_LI:
        return 2;
    case GUMBO_TAG_DT:
    case GUMBO_TAG_DD:
        return 3;
    case GUMBO_TAG_OPTION:
        return 4;
    case GUMBO_TAG_A:
        return 5;
    case GUMBO_TAG_RB:
    case GUMBO_TAG_RP:
    case GUMBO_TAG_RT:
    case GUMBO_TAG_RTC:
        return 6;
    default:
        return 0;
    }
}

using TagFlags = std::array<std::uint16_t, GUMBO_TAG_LAST + 1>;

TagFlags makeTagFlags()
{
    TagFlags flags{};
    const auto set = [&flags](std::initializer_list<GumboTag> tags, std::uint16_t flag) {
        for (const GumboTag tag : tags)
            flags[tag] |= flag;
    };
    set({GUMBO_TAG_AREA, GUMBO_TAG_BASE, GUMBO_TAG_BASEFONT, GUMBO_TAG_BGSOUND, GUMBO_TAG_BR, GUMBO_TAG_COL,
         GUMBO_TAG_EMBED, GUMBO_TAG_FRAME, GUMBO_TAG_HR, GUMBO_TAG_IMAGE, GUMBO_TAG_IMG, GUMBO_TAG_INPUT,
         GUMBO_TAG_KEYGEN, GUMBO_TAG_LINK, GUMBO_TAG_META, GUMBO_TAG_PARAM, GUMBO_TAG_SOURCE, GUMBO_TAG_TRACK,
         GUMBO_TAG_WBR},
        Void);
    set({GUMBO_TAG_SCRIPT, GUMBO_TAG_STYLE, GUMBO_TAG_TEXTAREA, GUMBO_TAG_TITLE, GUMBO_TAG_XMP,
         GUMBO_TAG_IFRAME, GUMBO_TAG_NOEMBED, GUMBO_TAG_NOFRAMES},
        RawText);
    set({GUMBO_TAG_A, GUMBO_TAG_B, GUMBO_TAG_BIG, GUMBO_TAG_CODE, GUMBO_TAG_EM, GUMBO_TAG_FONT, GUMBO_TAG_I,
         GUMBO_TAG_NOBR, GUMBO_TAG_S, GUMBO_TAG_SMALL, GUMBO_TAG_STRIKE, GUMBO_TAG_STRONG, GUMBO_TAG_TT,
         GUMBO_TAG_U},
        Formatting);
    set({GUMBO_TAG_APPLET, GUMBO_TAG_CAPTION, GUMBO_TAG_MARQUEE, GUMBO_TAG_OBJECT, GUMBO_TAG_TD, GUMBO_TAG_TH,
         GUMBO_TAG_TEMPLATE},
        Marker | Boundary);
    set({GUMBO_TAG_HTML, GUMBO_TAG_TABLE}, Boundary);
    set({GUMBO_TAG_ADDRESS,    GUMBO_TAG_APPLET,   GUMBO_TAG_AREA,     GUMBO_TAG_ARTICLE,
         GUMBO_TAG_ASIDE,      GUMBO_TAG_BASE,     GUMBO_TAG_BASEFONT, GUMBO_TAG_BGSOUND,
         GUMBO_TAG_BLOCKQUOTE, GUMBO_TAG_BODY,     GUMBO_TAG_BR,       GUMBO_TAG_BUTTON,
         GUMBO_TAG_CAPTION,    GUMBO_TAG_CENTER,   GUMBO_TAG_COL,      GUMBO_TAG_COLGROUP,
         GUMBO_TAG_DD,         GUMBO_TAG_DETAILS,  GUMBO_TAG_DIR,      GUMBO_TAG_DIV,
         GUMBO_TAG_DL,         GUMBO_TAG_DT,       GUMBO_TAG_EMBED,    GUMBO_TAG_FIELDSET,
         GUMBO_TAG_FIGCAPTION, GUMBO_TAG_FIGURE,   GUMBO_TAG_FOOTER,   GUMBO_TAG_FORM,
         GUMBO_TAG_FRAME,      GUMBO_TAG_FRAMESET, GUMBO_TAG_H1,       GUMBO_TAG_H2,
         GUMBO_TAG_H3,         GUMBO_TAG_H4,       GUMBO_TAG_H5,       GUMBO_TAG_H6,
         GUMBO_TAG_HEAD,       GUMBO_TAG_HEADER,   GUMBO_TAG_HGROUP,   GUMBO_TAG_HR,
         GUMBO_TAG_HTML,       GUMBO_TAG_IFRAME,   GUMBO_TAG_IMG,      GUMBO_TAG_INPUT,
         GUMBO_TAG_LI,         GUMBO_TAG_LINK,     GUMBO_TAG_LISTING,  GUMBO_TAG_MAIN,
         GUMBO_TAG_MARQUEE,    GUMBO_TAG_MENU,     GUMBO_TAG_META,     GUMBO_TAG_NAV,
         GUMBO_TAG_NOEMBED,    GUMBO_TAG_NOFRAMES, GUMBO_TAG_NOSCRIPT, GUMBO_TAG_OBJECT,
         GUMBO_TAG_OL,         GUMBO_TAG_P,        GUMBO_TAG_PARAM,    GUMBO_TAG_PLAINTEXT,
         GUMBO_TAG_PRE,        GUMBO_TAG_SCRIPT,   GUMBO_TAG_SECTION,  GUMBO_TAG_SELECT,
         GUMBO_TAG_SOURCE,     GUMBO_TAG_STYLE,    GUMBO_TAG_SUMMARY,  GUMBO_TAG_TABLE,
         GUMBO_TAG_TBODY,      GUMBO_TAG_TD,       GUMBO_TAG_TEMPLATE, GUMBO_TAG_TEXTAREA,
         GUMBO_TAG_TFOOT,      GUMBO_TAG_TH,       GUMBO_TAG_THEAD,    GUMBO_TAG_TITLE,
         GUMBO_TAG_TR,         GUMBO_TAG_TRACK,    GUMBO_TAG_UL,       GUMBO_TAG_WBR,
         GUMBO_TAG_XMP},
        Special);
    set({GUMBO_TAG_ADDRESS,    GUMBO_TAG_ARTICLE, GUMBO_TAG_ASIDE,  GUMBO_TAG_BLOCKQUOTE, GUMBO_TAG_CENTER,
         GUMBO_TAG_DETAILS,    GUMBO_TAG_DIR,     GUMBO_TAG_DIV,    GUMBO_TAG_DL,         GUMBO_TAG_FIELDSET,
         GUMBO_TAG_FIGCAPTION, GUMBO_TAG_FIGURE,  GUMBO_TAG_FOOTER, GUMBO_TAG_FORM,       GUMBO_TAG_H1,
         GUMBO_TAG_H2,         GUMBO_TAG_H3,      GUMBO_TAG_H4,     GUMBO_TAG_H5,         GUMBO_TAG_H6,
         GUMBO_TAG_HEADER,     GUMBO_TAG_HGROUP,  GUMBO_TAG_HR,     GUMBO_TAG_LISTING,    GUMBO_TAG_MAIN,
         GUMBO_TAG_MENU,       GUMBO_TAG_NAV,     GUMBO_TAG_OL,     GUMBO_TAG_PRE,        GUMBO_TAG_SECTION,
         GUMBO_TAG_SUMMARY,    GUMBO_TAG_TABLE,   GUMBO_TAG_UL,     GUMBO_TAG_XMP},
        ClosesParagraph);
    return flags;
}

std::uint16_t flagsOf(GumboTag tag)
{
    static const TagFlags flags = makeTagFlags();
    return flags[tag];
}

// A cheap pass over the page that follows the HTML tree-building rules closely enough to bound
// how deeply the parser will nest elements. It never finds less nesting than the parser builds
// for the pages in question: where it is unsure, an element stays open. Formatting elements that
// were closed out of turn count on, since the parser opens them again.
class NestingCheck
{
public:
    explicit NestingCheck(std::string_view page)
        : m_page(page)
    {}

    bool deeperThan(size_t limit);

private:
    struct Open
    {
        GumboTag tag = GUMBO_TAG_UNKNOWN;
        std::string_view name;     // for unknown tags
        size_t formattingMark = 0; // for markers: formatting elements before it
    };

    bool sameElement(const Open& open, GumboTag tag, std::string_view name) const
    {
        return open.tag == tag && (tag != GUMBO_TAG_UNKNOWN || equalsIgnoringCase(open.name, name));
    }
    size_t tagEnd(size_t from) const;
    size_t rawTextEnd(size_t from, std::string_view name) const;
    void popTo(size_t size);
    void start(GumboTag tag, std::string_view name);
    void end(GumboTag tag, std::string_view name);

    std::string_view m_page;
    std::vector<Open> m_open;
    std::vector<Open> m_formatting; // formatting elements the parser would reopen
};

bool NestingCheck::deeperThan(size_t limit)
{
    const size_t size = m_page.size();
    size_t i = 0;
    while ((i = m_page.find('<', i)) != std::string_view::npos) {
        ++i;
        if (i >= size)
            break;
        const char first = m_page[i];
        if (first == '!' || first == '?') {
            const bool comment = m_page.substr(i, 3) == "!--";
            const size_t close = comment ? m_page.find("-->", i + 3) : m_page.find('>', i);
            i = close == std::string_view::npos ? size : close + (comment ? 3 : 1);
            continue;
        }
        const bool isEnd = first == '/';
        if (isEnd)
            ++i;
        if (i >= size || !isAsciiAlpha(m_page[i]))
            continue;
        const size_t nameBegin = i;
        while (i < size && !isAsciiSpace(m_page[i]) && m_page[i] != '/' && m_page[i] != '>')
            ++i;
        const std::string_view name = m_page.substr(nameBegin, i - nameBegin);
        const GumboTag tag = tagOf(name);
        i = tagEnd(i);
        if (isEnd) {
            end(tag, name);
            continue;
        }
        if (tag == GUMBO_TAG_PLAINTEXT)
            break;
        start(tag, name);
        if (m_open.size() + m_formatting.size() > limit)
            return true;
        if (flagsOf(tag) & RawText)
            i = rawTextEnd(i, name);
    }
    return false;
}

// The position after the '>' that ends the tag; quoted attribute values may hold a '>'.
size_t NestingCheck::tagEnd(size_t from) const
{
    const size_t size = m_page.size();
    size_t i = from;
    while (i < size) {
        const char c = m_page[i];
        if (c == '>')
            return i + 1;
        ++i;
        if (c != '=')
            continue;
        while (i < size && isAsciiSpace(m_page[i]))
            ++i;
        if (i < size && (m_page[i] == '"' || m_page[i] == '\'')) {
            const size_t close = m_page.find(m_page[i], i + 1);
            if (close == std::string_view::npos)
                return size;
            i = close + 1;
        }
    }
    return size;
}

// The start of the end tag that closes a script, style or similar element.
size_t NestingCheck::rawTextEnd(size_t from, std::string_view name) const
{
    size_t i = from;
    while ((i = m_page.find("</", i)) != std::string_view::npos) {
        const size_t after = i + 2 + name.size();
        if (equalsIgnoringCase(m_page.substr(i + 2, name.size()), name) &&
            (after >= m_page.size() || isAsciiSpace(m_page[after]) || m_page[after] == '/' ||
             m_page[after] == '>'))
            return i;
        i += 2;
    }
    return m_page.size();
}

void NestingCheck::popTo(size_t size)
{
    while (m_open.size() > size) {
        if (flagsOf(m_open.back().tag) & Marker)
            m_formatting.resize(std::min(m_formatting.size(), m_open.back().formattingMark));
        m_open.pop_back();
    }
}

void NestingCheck::start(GumboTag tag, std::string_view name)
{
    const std::uint16_t flags = flagsOf(tag);
    if (flags & Void)
        return;
    if (!m_open.empty()) {
        const GumboTag top = m_open.back().tag;
        if ((flags & ClosesParagraph) && top == GUMBO_TAG_P)
            popTo(m_open.size() - 1);
    }
    if (const int level = tableLevel(tag); level > 0) {
        while (!m_open.empty() && tableLevel(m_open.back().tag) >= level)
            popTo(m_open.size() - 1);
    }
    if (const int group = siblingGroup(tag);
        group > 0 && !m_open.empty() && siblingGroup(m_open.back().tag) == group)
        popTo(m_open.size() - 1);
    m_open.push_back({tag, name, m_formatting.size()});
    if (flags & Formatting)
        m_formatting.push_back({tag, name, 0});
}

// Whether an end tag of the given kind cannot reach through an open element of that tag.
bool stopsEndTag(GumboTag open, bool tablePart, bool special)
{
    if (tablePart)
        return open == GUMBO_TAG_TABLE || open == GUMBO_TAG_HTML || open == GUMBO_TAG_TEMPLATE;
    return (flagsOf(open) & (special ? Boundary : Special)) != 0;
}

void NestingCheck::end(GumboTag tag, std::string_view name)
{
    // Find the element the end tag closes; elements that such an end tag cannot reach through
    // stop the search, and the end tag is then ignored.
    const bool tablePart = tag == GUMBO_TAG_TABLE || tableLevel(tag) > 0;
    const bool special = flagsOf(tag) & Special;
    size_t index = m_open.size();
    bool found = false;
    while (index > 0) {
        const Open& open = m_open[index - 1];
        if (sameElement(open, tag, name)) {
            found = true;
            break;
        }
        if (stopsEndTag(open.tag, tablePart, special))
            break;
        --index;
    }
    const bool onStack = found || std::any_of(m_open.begin(), m_open.end(),
                                              [&](const Open& open) { return sameElement(open, tag, name); });
    if (found)
        popTo(index - 1);
    if ((flagsOf(tag) & Formatting) && (found || !onStack)) {
        for (auto it = m_formatting.rbegin(); it != m_formatting.rend(); ++it) {
            if (sameElement(*it, tag, name)) {
                m_formatting.erase(std::next(it).base());
                break;
            }
        }
    }
}

const GumboVector* childrenOf(const GumboNode* node)
{
    switch (node->type) {
    case GUMBO_NODE_DOCUMENT:
        return &node->v.document.children;
    case GUMBO_NODE_ELEMENT:
    case GUMBO_NODE_TEMPLATE:
        return &node->v.element.children;
    default:
        return nullptr;
    }
}

bool isElement(const GumboNode* node)
{
    return node->type == GUMBO_NODE_ELEMENT || node->type == GUMBO_NODE_TEMPLATE;
}

const GumboNode* firstChild(const GumboNode* node)
{
    const GumboVector* children = childrenOf(node);
    return children && children->length > 0 ? static_cast<const GumboNode*>(children->data[0]) : nullptr;
}

const GumboNode* nextSiblingNode(const GumboNode* node)
{
    const GumboNode* parent = node->parent;
    const GumboVector* siblings = parent ? childrenOf(parent) : nullptr;
    const size_t next = node->index_within_parent + 1;
    return siblings && next < siblings->length ? static_cast<const GumboNode*>(siblings->data[next])
                                               : nullptr;
}

enum class Visit
{
    Children,
    SkipChildren,
    Stop,
};

// Visits the nodes below root in document order without recursion, so that the depth of a page
// costs no stack. enter() decides about a node's children; leave() follows the last of them.
template<typename Enter, typename Leave>
void walk(const GumboNode* root, Enter&& enter, Leave&& leave)
{
    const GumboNode* node = firstChild(root);
    while (node) {
        const Visit visit = enter(node);
        if (visit == Visit::Stop)
            return;
        if (visit == Visit::Children) {
            if (const GumboNode* child = firstChild(node)) {
                node = child;
                continue;
            }
        }
        while (node) {
            leave(node);
            if (const GumboNode* sibling = nextSiblingNode(node)) {
                node = sibling;
                break;
            }
            node = node->parent;
            if (node == root)
                node = nullptr;
        }
    }
}

// The element's own end tag, when the page wrote one; an element the parser closed implicitly
// carries the end tag of another element there.
bool hasOwnEndTag(const GumboElement& element)
{
    if (element.original_end_tag.length == 0)
        return false;
    const std::string_view endName = tagNameOf(element.original_end_tag);
    if (element.tag != GUMBO_TAG_UNKNOWN)
        return tagOf(endName) == element.tag;
    return equalsIgnoringCase(endName, tagNameOf(element.original_tag));
}

// The class attribute lists class names separated by blanks.
bool hasClassName(const GumboElement& element, std::string_view className, bool quirksMode)
{
    const GumboAttribute* attribute = gumbo_get_attribute(&element.attributes, "class");
    if (!attribute || className.empty())
        return false;
    const std::string_view classes(attribute->value);
    size_t i = 0;
    while (i < classes.size()) {
        while (i < classes.size() && isAsciiSpace(classes[i]))
            ++i;
        const size_t begin = i;
        while (i < classes.size() && !isAsciiSpace(classes[i]))
            ++i;
        const std::string_view candidate = classes.substr(begin, i - begin);
        if (quirksMode ? equalsIgnoringCase(candidate, className) : candidate == className)
            return true;
    }
    return false;
}

// "tag" or "tag.class"; anything else matches nothing.
struct Selector
{
    explicit Selector(QStringView text);

    bool matches(const GumboNode* node, bool quirksMode) const;

    bool valid = false;
    GumboTag tag = GUMBO_TAG_UNKNOWN;
    std::string name;
    std::string className;
};

Selector::Selector(QStringView text)
{
    const qsizetype dot = text.indexOf(u'.');
    const QStringView tagText = dot < 0 ? text : text.first(dot);
    const QStringView classText = dot < 0 ? QStringView() : text.sliced(dot + 1);
    if (tagText.isEmpty() || (dot >= 0 && classText.isEmpty()))
        return;
    for (const QChar c : tagText) {
        if (!(c.isLetterOrNumber() && c.unicode() < 0x80) && c != u'-')
            return;
    }
    for (const QChar c : classText) {
        if (c.isSpace() || c == u'.')
            return;
    }
    name = tagText.toString().toLower().toStdString();
    className = classText.toUtf8().toStdString();
    tag = tagOf(name);
    valid = true;
}

bool Selector::matches(const GumboNode* node, bool quirksMode) const
{
    if (!valid || !isElement(node))
        return false;
    const GumboElement& element = node->v.element;
    if (element.tag != tag)
        return false;
    if (tag == GUMBO_TAG_UNKNOWN && !equalsIgnoringCase(tagNameOf(element.original_tag), name))
        return false;
    return className.empty() || hasClassName(element, className, quirksMode);
}

// Elements that flow within a line; every other element breaks the text around it.
bool isInline(GumboTag tag)
{
    switch (tag) {
    case GUMBO_TAG_A:
    case GUMBO_TAG_ABBR:
    case GUMBO_TAG_B:
    case GUMBO_TAG_BDI:
    case GUMBO_TAG_BDO:
    case GUMBO_TAG_BIG:
    case GUMBO_TAG_CITE:
    case GUMBO_TAG_CODE:
    case GUMBO_TAG_DATA:
    case GUMBO_TAG_DFN:
    case GUMBO_TAG_EM:
    case GUMBO_TAG_FONT:
    case GUMBO_TAG_I:
    case GUMBO_TAG_IMG:
    case GUMBO_TAG_KBD:
    case GUMBO_TAG_LABEL:
    case GUMBO_TAG_MARK:
    case GUMBO_TAG_NOBR:
    case GUMBO_TAG_Q:
    case GUMBO_TAG_S:
    case GUMBO_TAG_SAMP:
    case GUMBO_TAG_SMALL:
    case GUMBO_TAG_SPAN:
    case GUMBO_TAG_STRIKE:
    case GUMBO_TAG_STRONG:
    case GUMBO_TAG_SUB:
    case GUMBO_TAG_SUP:
    case GUMBO_TAG_TIME:
    case GUMBO_TAG_TT:
    case GUMBO_TAG_U:
    case GUMBO_TAG_VAR:
    case GUMBO_TAG_WBR:
    case GUMBO_TAG_UNKNOWN:
        return true;
    default:
        return false;
    }
}

// Content a browser does not show as text.
bool isHidden(GumboTag tag)
{
    return tag == GUMBO_TAG_SCRIPT || tag == GUMBO_TAG_STYLE || tag == GUMBO_TAG_TEMPLATE ||
           tag == GUMBO_TAG_HEAD || tag == GUMBO_TAG_TITLE || tag == GUMBO_TAG_NOSCRIPT;
}

// Builds text with every run of white space as one blank and none at the ends.
class CollapsedText
{
public:
    void append(std::string_view text)
    {
        for (const char c : text) {
            if (isAsciiSpace(c)) {
                m_pendingSpace = !m_text.empty();
                continue;
            }
            if (m_pendingSpace) {
                m_text += ' ';
                m_pendingSpace = false;
            }
            m_text += c;
        }
    }
    void breakLine() { m_pendingSpace = !m_text.empty(); }
    QString toString() const { return QString::fromUtf8(m_text.data(), qsizetype(m_text.size())); }

private:
    std::string m_text;
    bool m_pendingSpace = false;
};

} // namespace

void HtmlDocument::OutputDeleter::operator()(GumboInternalOutput* output) const
{
    gumbo_destroy_output(&kGumboDefaultOptions, output);
}

HtmlDocument::HtmlDocument(QByteArray utf8)
    : m_source(std::move(utf8))
{
    const std::string_view page(m_source.constData(), size_t(m_source.size()));
    // Positions in the tree are 32-bit byte offsets.
    if (m_source.size() > qsizetype(std::numeric_limits<unsigned int>::max()))
        return;
    if (NestingCheck(page).deeperThan(maxNestingDepth))
        return;
    GumboOptions options = kGumboDefaultOptions;
    // Parse errors are of no use here; recording them costs memory in proportion to the depth.
    options.max_errors = 0;
    m_output.reset(gumbo_parse_with_options(&options, page.data(), page.size()));
    if (m_output)
        m_quirksMode = m_output->document->v.document.doc_type_quirks_mode != GUMBO_DOCTYPE_NO_QUIRKS;
}

HtmlDocument::HtmlDocument(const QString& text)
    : HtmlDocument(text.toUtf8())
{}

HtmlDocument::~HtmlDocument() = default;

const GumboNode* HtmlDocument::documentNode() const
{
    return m_output ? m_output->document : nullptr;
}

QList<HtmlElement> HtmlDocument::select(QStringView selector) const&
{
    const GumboNode* root = documentNode();
    if (!root)
        return {};
    return HtmlElement(*this, root).select(selector);
}

std::optional<HtmlElement> HtmlDocument::first(QStringView selector) const&
{
    const GumboNode* root = documentNode();
    if (!root)
        return std::nullopt;
    return HtmlElement(*this, root).first(selector);
}

QString HtmlElement::tagName() const
{
    const GumboElement& element = m_node->v.element;
    if (element.tag != GUMBO_TAG_UNKNOWN)
        return QString::fromLatin1(gumbo_normalized_tagname(element.tag));
    const std::string_view name = tagNameOf(element.original_tag);
    return QString::fromUtf8(name.data(), qsizetype(name.size())).toLower();
}

bool HtmlElement::hasClass(QStringView className) const
{
    if (!isElement(m_node))
        return false;
    const QByteArray name = className.toUtf8();
    return hasClassName(m_node->v.element, std::string_view(name.constData(), size_t(name.size())),
                        m_document->m_quirksMode);
}

QString HtmlElement::attribute(QLatin1StringView name) const
{
    if (!isElement(m_node))
        return {};
    const std::string key(name.data(), size_t(name.size()));
    const GumboAttribute* attribute = gumbo_get_attribute(&m_node->v.element.attributes, key.c_str());
    return attribute ? QString::fromUtf8(attribute->value) : QString();
}

QString HtmlElement::plainText(UnknownTags unknownTags) const
{
    CollapsedText text;
    const bool keepUnknown = unknownTags == UnknownTags::AsText;
    walk(
        m_node,
        [&](const GumboNode* node) {
            switch (node->type) {
            case GUMBO_NODE_TEXT:
            case GUMBO_NODE_WHITESPACE:
            case GUMBO_NODE_CDATA:
                text.append(node->v.text.text);
                return Visit::SkipChildren;
            case GUMBO_NODE_ELEMENT:
            case GUMBO_NODE_TEMPLATE: {
                const GumboElement& element = node->v.element;
                if (isHidden(element.tag))
                    return Visit::SkipChildren;
                if (!isInline(element.tag))
                    text.breakLine();
                if (keepUnknown && element.tag == GUMBO_TAG_UNKNOWN)
                    text.append(view(element.original_tag));
                return Visit::Children;
            }
            default:
                return Visit::SkipChildren;
            }
        },
        [&](const GumboNode* node) {
            if (!isElement(node))
                return;
            const GumboElement& element = node->v.element;
            if (isHidden(element.tag))
                return;
            if (!isInline(element.tag))
                text.breakLine();
            if (keepUnknown && element.tag == GUMBO_TAG_UNKNOWN && hasOwnEndTag(element))
                text.append(view(element.original_end_tag));
        });
    return text.toString();
}

QString HtmlElement::outerMarkup() const
{
    if (!isElement(m_node))
        return {};
    const GumboElement& element = m_node->v.element;
    const QByteArray& source = m_document->m_source;
    const qsizetype begin = std::min(qsizetype(element.start_pos.offset), source.size());
    qsizetype end = qsizetype(element.end_pos.offset);
    if (hasOwnEndTag(element))
        end += qsizetype(element.original_end_tag.length);
    end = std::clamp(end, begin, source.size());
    return QString::fromUtf8(source.constData() + begin, end - begin);
}

bool HtmlElement::isClosed() const
{
    return isElement(m_node) && hasOwnEndTag(m_node->v.element);
}

QList<HtmlElement> HtmlElement::children() const
{
    QList<HtmlElement> elements;
    for (const GumboNode* node = firstChild(m_node); node; node = nextSiblingNode(node)) {
        if (isElement(node))
            elements.append(HtmlElement(*m_document, node));
    }
    return elements;
}

std::optional<HtmlElement> HtmlElement::nextSibling() const
{
    for (const GumboNode* node = nextSiblingNode(m_node); node; node = nextSiblingNode(node)) {
        if (isElement(node))
            return HtmlElement(*m_document, node);
    }
    return std::nullopt;
}

bool HtmlElement::matches(QStringView selector) const
{
    return Selector(selector).matches(m_node, m_document->m_quirksMode);
}

QList<HtmlElement> HtmlElement::select(QStringView selector) const
{
    const Selector parsed(selector);
    QList<HtmlElement> elements;
    if (!parsed.valid)
        return elements;
    const bool quirks = m_document->m_quirksMode;
    walk(
        m_node,
        [&](const GumboNode* node) {
            if (parsed.matches(node, quirks))
                elements.append(HtmlElement(*m_document, node));
            return isElement(node) ? Visit::Children : Visit::SkipChildren;
        },
        [](const GumboNode*) {});
    return elements;
}

std::optional<HtmlElement> HtmlElement::first(QStringView selector) const
{
    const Selector parsed(selector);
    if (!parsed.valid)
        return std::nullopt;
    const bool quirks = m_document->m_quirksMode;
    std::optional<HtmlElement> found;
    walk(
        m_node,
        [&](const GumboNode* node) {
            if (parsed.matches(node, quirks)) {
                found = HtmlElement(*m_document, node);
                return Visit::Stop;
            }
            return isElement(node) ? Visit::Children : Visit::SkipChildren;
        },
        [](const GumboNode*) {});
    return found;
}
