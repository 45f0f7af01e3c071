// The HTML document on raw bytes: every selection, text and markup of every element, and the
// walk over children and siblings, on any page.

#include "box/htmldocument.h"
#include "fuzz/fuzzsupport.h"

#include <QByteArray>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const HtmlDocument page(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    const QList<HtmlElement> rows = page.select(u"tr");
    for (const HtmlElement& row : rows) {
        require(row.matches(u"tr") && row.tagName() == u"tr");
        for (const HtmlElement& cell : row.children()) {
            cell.plainText(UnknownTags::AsText);
            cell.outerMarkup();
            cell.nextSibling();
            cell.select(u"span.description");
        }
    }
    for (const HtmlElement& element : page.select(u"span")) {
        element.plainText();
        element.attribute(QLatin1StringView("class"));
        require(element.outerMarkup().isEmpty() || element.outerMarkup().startsWith(u'<'));
    }
    if (const std::optional<HtmlElement> html = page.first(u"html"))
        html->plainText(UnknownTags::AsText);
    return 0;
}
