#include "box/htmldocument.h"
#include <QElapsedTimer>
#include <QtTest>
#include <type_traits>

using namespace Qt::StringLiterals;

// Element handles are views into their document: a temporary document hands none out, and a
// document can neither be copied nor moved away from its handles.
template<typename Document>
concept HandsOutElements = requires(Document&& document)
{
    std::forward<Document>(document).select(u"td");
};
static_assert(HandsOutElements<const HtmlDocument&>);
static_assert(!HandsOutElements<HtmlDocument&&>);
static_assert(!std::is_copy_constructible_v<HtmlDocument> && !std::is_move_constructible_v<HtmlDocument>);

namespace {

QStringList ids(const QList<HtmlElement>& elements)
{
    QStringList result;
    for (const HtmlElement& element : elements)
        result << element.attribute("id"_L1);
    return result;
}

} // namespace

// The HTML document that the Enigma1 EPG and about pages are read with.
class TestHtmlDocument : public QObject
{
    Q_OBJECT

private slots:
    void selectionInDocumentOrder()
    {
        const HtmlDocument page(
            u"<table id=t1><tr id=r1><td id=c1>1<table id=t2><tr id=r2><td id=c2>2</td></tr></table>"
            u"</td><td id=c3>3</td></tr></table><p id=p1><span id=s1><span id=s2></span></span>"_s);
        QVERIFY(page.isParsed());
        // An element comes before its descendants, and they before its later siblings.
        QCOMPARE(ids(page.select(u"td")), QStringList({u"c1"_s, u"c2"_s, u"c3"_s}));
        QCOMPARE(ids(page.select(u"tr")), QStringList({u"r1"_s, u"r2"_s}));
        QCOMPARE(ids(page.select(u"span")), QStringList({u"s1"_s, u"s2"_s}));
        QCOMPARE(page.first(u"td")->attribute("id"_L1), u"c1"_s);

        // Selecting below an element finds only its descendants, never itself.
        const HtmlElement outer = *page.first(u"table");
        QCOMPARE(ids(outer.select(u"table")), QStringList{u"t2"_s});
        QCOMPARE(ids(page.select(u"tr").at(1).select(u"td")), QStringList{u"c2"_s});
        QVERIFY(!page.first(u"span")->first(u"td"));
    }

    void selectors_data()
    {
        QTest::addColumn<QString>("markup");
        QTest::addColumn<QString>("selector");
        QTest::addColumn<QStringList>("found");

        const QString spans =
            u"<span id=a class=\"event\"></span><span id=b class=\"time event genre02\"></span>"
            u"<span id=c class=\" \tevent\n \"></span><span id=d class=\"events\"></span>"
            u"<span id=e></span><div id=f class=event></div>"_s;
        QTest::newRow("tag alone") << spans << u"span"_s
                                   << QStringList{u"a"_s, u"b"_s, u"c"_s, u"d"_s, u"e"_s};
        QTest::newRow("class among several and padded")
            << spans << u"span.event"_s << QStringList{u"a"_s, u"b"_s, u"c"_s};
        QTest::newRow("class of another tag") << spans << u"div.event"_s << QStringList{u"f"_s};
        QTest::newRow("part of a class name") << spans << u"span.even"_s << QStringList();
        QTest::newRow("upper-case tag in selector") << spans << u"SPAN.genre02"_s << QStringList{u"b"_s};
        QTest::newRow("upper-case tags in the page")
            << u"<TABLE><TR><TD ID=x>1</TD></TR></TABLE>"_s << u"td"_s << QStringList{u"x"_s};
        // Pages without a doctype are read in quirks mode, where class names ignore case.
        QTest::newRow("class case in a page without doctype")
            << u"<span id=x class=Event></span>"_s << u"span.event"_s << QStringList{u"x"_s};
        QTest::newRow("class case in a standards page")
            << u"<!DOCTYPE html><span id=x class=Event></span>"_s << u"span.event"_s << QStringList();
        QTest::newRow("unknown tag") << u"<p><Bundestag id=x>y</p>"_s << u"bundestag"_s
                                     << QStringList{u"x"_s};
        QTest::newRow("empty selector") << spans << QString() << QStringList();
        QTest::newRow("class without tag") << spans << u".event"_s << QStringList();
        QTest::newRow("tag with empty class") << spans << u"span."_s << QStringList();
        QTest::newRow("descendant selector is not supported") << spans << u"div span"_s << QStringList();
        QTest::newRow("id selector is not supported") << spans << u"#a"_s << QStringList();
    }

    void selectors()
    {
        QFETCH(QString, markup);
        QFETCH(QString, selector);
        const HtmlDocument page(markup);
        QTEST(ids(page.select(selector)), "found");
        // The first is the first found, and it matches the selector.
        const std::optional<HtmlElement> first = page.first(selector);
        QFETCH(QStringList, found);
        QCOMPARE(first && first->matches(selector) ? first->attribute("id"_L1) : QString(), found.value(0));
    }

    void plainText_data()
    {
        QTest::addColumn<QString>("markup");
        QTest::addColumn<QString>("text");

        QTest::newRow("nested inline markup")
            << u"<td> Tom <b>und <i>Jerry</i></b>!</td>"_s << u"Tom und Jerry!"_s;
        QTest::newRow("line breaks and tabs collapse")
            << u"<td>Linux version 2.6.9\n\t #1 Thu May 15 2008\n</td>"_s
            << u"Linux version 2.6.9 #1 Thu May 15 2008"_s;
        QTest::newRow("br separates words")
            << u"<td>CHANNEL<br />14.03.<br>19:15 </td>"_s << u"CHANNEL 14.03. 19:15"_s;
        QTest::newRow("block elements separate words")
            << u"<td><div>a</div><div>b</div>c</td>"_s << u"a b c"_s;
        QTest::newRow("entities") << u"<td>Tom &amp; Jerry &lt;3 &#228;&auml; &#x263a; &quot;x&quot;</td>"_s
                                  << u"Tom & Jerry <3 ää ☺ \"x\""_s;
        QTest::newRow("no-break space stays") << u"<td>&nbsp;a&#160;b</td>"_s << u"\u00a0a\u00a0b"_s;
        QTest::newRow("script and style are not text")
            << u"<td>a<script>var x = \"<b>\";</script><style>td { }</style>b</td>"_s << u"ab"_s;
        QTest::newRow("comments are not text") << u"<td>a<!-- hidden -->b</td>"_s << u"ab"_s;
        QTest::newRow("full Unicode") << u"<td>Ειδήσεις · الجزيرة · 😀</td>"_s << u"Ειδήσεις · الجزيرة · 😀"_s;
        QTest::newRow("empty element") << u"<td> \n </td>"_s << QString();
    }

    void plainText()
    {
        QFETCH(QString, markup);
        const HtmlDocument page(u"<table><tr>" + markup + u"</tr></table>");
        const std::optional<HtmlElement> cell = page.first(u"td");
        QVERIFY(cell);
        QTEST(cell->plainText(), "text");
    }

    void strayTagsAsText_data()
    {
        QTest::addColumn<QString>("markup");
        QTest::addColumn<QString>("browserText");
        QTest::addColumn<QString>("receiverText");

        QTest::newRow("unclosed stray tag")
            << u"Politiker <Bundestag> & Journalisten"_s << u"Politiker & Journalisten"_s
            << u"Politiker <Bundestag> & Journalisten"_s;
        QTest::newRow("stray tag with words")
            << u"<Die Sendung mit der Maus> heute"_s << u"heute"_s << u"<Die Sendung mit der Maus> heute"_s;
        QTest::newRow("stray tag closed by itself") << u"a <x>b</x> c"_s << u"a b c"_s << u"a <x>b</x> c"_s;
        QTest::newRow("known tags stay markup")
            << u"<b>fett</b> & mehr"_s << u"fett & mehr"_s << u"fett & mehr"_s;
        QTest::newRow("lone less-than sign")
            << u"1 < 2 & 3 <= 4"_s << u"1 < 2 & 3 <= 4"_s << u"1 < 2 & 3 <= 4"_s;
    }

    void strayTagsAsText()
    {
        QFETCH(QString, markup);
        const HtmlDocument page(u"<p><span class=description>" + markup + u"</span> after</p>");
        const std::optional<HtmlElement> span = page.first(u"span.description");
        QVERIFY(span);
        QTEST(span->plainText(), "browserText");
        QTEST(span->plainText(UnknownTags::AsText), "receiverText");
    }

    void attributes()
    {
        const HtmlDocument page(
            u"<a href=\"javascript:record('1:0:1','x &amp; y')\" title=\"&lt;&#228;&gt;\" "
            u"class=\"time event\">link</a><Bundestag>"_s);
        const HtmlElement link = *page.first(u"a");
        QCOMPARE(QStringList({link.tagName(), link.attribute("href"_L1), link.attribute("title"_L1)}),
                 QStringList({u"a"_s, u"javascript:record('1:0:1','x & y')"_s, u"<ä>"_s}));
        QVERIFY(link.attribute("name"_L1).isNull());
        // Classes: "event" and "time" are, "tim" is not.
        QCOMPARE(QList<bool>({link.hasClass(u"event"), link.hasClass(u"time"), link.hasClass(u"tim")}),
                 QList<bool>({true, true, false}));
        QCOMPARE(page.first(u"bundestag")->tagName(), u"bundestag"_s);
    }

    void outerMarkup_data()
    {
        QTest::addColumn<QString>("markup");
        QTest::addColumn<QString>("selector");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("outer");

        QTest::newRow("with its own end tag") << u"<table><tr><td class=\"x\">a <b>b</b></td></tr></table>"_s
                                              << u"td"_s << 0 << u"<td class=\"x\">a <b>b</b></td>"_s;
        QTest::newRow("end tag in other case")
            << u"<p><SPAN>a</Span></p>"_s << u"span"_s << 0 << u"<SPAN>a</Span>"_s;
        // The receiver leaves the label cell of the video format open.
        QTest::newRow("closed by the next cell")
            << u"<table><tr><td>vidformat:<td>720x576</td></tr></table>"_s << u"td"_s << 0
            << u"<td>vidformat:"_s;
        QTest::newRow("closed by the parent's end tag")
            << u"<table><tr><td>a</tr></table>"_s << u"td"_s << 0 << u"<td>a"_s;
        QTest::newRow("open at the end of the page") << u"<p>a<b>bold"_s << u"b"_s << 0 << u"<b>bold"_s;
        QTest::newRow("stray tag closed by its parent")
            << u"<span>x <Bundestag> & y</span>"_s << u"bundestag"_s << 0 << u"<Bundestag> & y"_s;
        QTest::newRow("after multi-byte text")
            << u"<p>Schöne</p><p>Grüße, Ειδήσεις</p>"_s << u"p"_s << 1 << u"<p>Grüße, Ειδήσεις</p>"_s;
        QTest::newRow("entities stay as written") << u"<a href=\"x?a=1&amp;b=2\">&lt;</a>"_s << u"a"_s << 0
                                                  << u"<a href=\"x?a=1&amp;b=2\">&lt;</a>"_s;
        QTest::newRow("row the parser put into a table section")
            << u"<table><tr><td>1</td></tr></table>"_s << u"tbody"_s << 0 << u"<tr><td>1</td></tr>"_s;
    }

    void outerMarkup()
    {
        QFETCH(QString, markup);
        QFETCH(QString, selector);
        QFETCH(int, index);
        const HtmlDocument page(markup);
        const QList<HtmlElement> elements = page.select(selector);
        QVERIFY(index < elements.size());
        QTEST(elements.at(index).outerMarkup(), "outer");
    }

    void childrenAndSiblings()
    {
        const HtmlDocument page(
            u"<table><tr><td id=a>1</td> text <td id=b>2</td><!-- note --><td id=c>3</td></tr>"
            u"</table>"_s);
        const HtmlElement row = *page.first(u"tr");
        QCOMPARE(ids(row.children()), QStringList({u"a"_s, u"b"_s, u"c"_s}));
        const HtmlElement first = *page.first(u"td");
        // Text and comments between cells are not siblings.
        QCOMPARE(first.nextSibling()->attribute("id"_L1), u"b"_s);
        QCOMPARE(first.nextSibling()->nextSibling()->attribute("id"_L1), u"c"_s);
        QVERIFY(!first.nextSibling()->nextSibling()->nextSibling());
        QVERIFY(first.children().isEmpty());
    }

    void bytesThatAreNotText()
    {
        // Stray NUL bytes and bytes that are not UTF-8 neither stop the page nor break what follows.
        const QByteArray bytes("<table><tr><td>a\0b\xff\xfe</td><td>after</td></tr></table>", 52);
        const HtmlDocument page(bytes);
        QVERIFY(page.isParsed());
        const QList<HtmlElement> cells = page.select(u"td");
        QCOMPARE(cells.size(), 2);
        QVERIFY(cells.at(0).plainText().startsWith(u'a'));
        QCOMPARE(cells.at(1).plainText(), u"after"_s);

        const HtmlDocument empty(QByteArray{});
        QVERIFY(empty.isParsed());
        QVERIFY(empty.select(u"td").isEmpty());
    }

    void deepNesting_data()
    {
        QTest::addColumn<QByteArray>("unit");
        QTest::addColumn<int>("repeats");
        QTest::addColumn<bool>("parsed");

        // Deep pages are refused after a quick look, so they can be long; pages that are parsed are
        // kept to a few megabytes.
        constexpr int many = 400'000;
        constexpr int longPage = 100'000;
        QTest::newRow("nested blocks") << QByteArray("<div>") << many << false;
        QTest::newRow("nested inline elements") << QByteArray("<span>") << many << false;
        QTest::newRow("nested formatting elements") << QByteArray("<b><i><u>") << many << false;
        QTest::newRow("unknown tags of noise") << QByteArray("<x y=\"<\">") << many << false;
        QTest::newRow("end tags that cannot close") << QByteArray("<div><table><td></div>") << many << false;
        QTest::newRow("formatting reopened by the parser") << QByteArray("<p><font></p>") << many << false;
        QTest::newRow("cells left open in long tables")
            << QByteArray("<tr><td>a<td>b</tr>") << longPage << true;
        QTest::newRow("paragraphs left open") << QByteArray("<p>a") << longPage << true;
        QTest::newRow("closed elements") << QByteArray("<div><b>a</b></div>") << longPage << true;
        QTest::newRow("nesting a page may have") << QByteArray("<div>") << 300 << true;
    }

    void deepNesting()
    {
        QFETCH(QByteArray, unit);
        QFETCH(int, repeats);
        QElapsedTimer timer;
        timer.start();
        const HtmlDocument page(QByteArray("<table>") + unit.repeated(repeats));
        QTEST(page.isParsed(), "parsed");
        page.select(u"td");
        // The parser's time grows with the square of the depth; deep pages must be refused before.
        QVERIFY2(timer.elapsed() < 10'000, qPrintable(QString::number(timer.elapsed())));
    }
};

QTEST_GUILESS_MAIN(TestHtmlDocument)
#include "tst_htmldocument.moc"
