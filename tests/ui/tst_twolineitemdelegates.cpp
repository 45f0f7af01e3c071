#include "model/clock.h"
#include "rowimage.h"
#include "ui/delegates/epglistitemdelegate.h"
#include "ui/delegates/epgsearchitemdelegate.h"
#include "ui/delegates/movieitemdelegate.h"

#include <QDateTime>
#include <QStandardItemModel>
#include <QTest>

#include <memory>

using namespace RowImage;

namespace {

enum class Kind
{
    EpgList,
    EpgSearch,
    Movie
};

// 2026-12-06 20:00 UTC; the test clock's local time is one hour ahead.
constexpr qint64 recorded = 1796587200;
constexpr int utcOffset = 3600;

using Roles = QMap<int, QVariant>;

std::unique_ptr<QAbstractItemDelegate> makeDelegate(Kind kind, const Clock& clock)
{
    switch (kind) {
    case Kind::EpgList:
        return std::make_unique<EpgListItemDelegate>(nullptr);
    case Kind::EpgSearch:
        return std::make_unique<EpgSearchItemDelegate>(nullptr);
    case Kind::Movie:
        return std::make_unique<MovieItemDelegate>(clock, nullptr);
    }
    return nullptr;
}

QModelIndex addRow(QStandardItemModel& model, const Roles& roles)
{
    auto* item = new QStandardItem;
    for (auto it = roles.cbegin(); it != roles.cend(); ++it)
        item->setData(it.value(), it.key());
    model.appendRow(item);
    return item->index();
}

QString longText()
{
    return QString(300, u'W');
}

} // namespace

Q_DECLARE_METATYPE(Kind)

class TestTwoLineItemDelegates : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void drawsBothLinesInTheirBands_data();
    void drawsBothLinesInTheirBands();
    void selectedRowUsesHighlightedText();
    void sizeHintScalesWithTheFont_data();
    void sizeHintScalesWithTheFont();
    void hostileRolesStayInsideTheRow_data();
    void hostileRolesStayInsideTheRow();
    void invalidIndexPaintsNothing();

private:
    const ManualClock m_clock{recorded, utcOffset};
};

void TestTwoLineItemDelegates::drawsBothLinesInTheirBands_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<Roles>("roles");
    QTest::addColumn<QString>("upper");
    QTest::addColumn<QString>("lower");
    QTest::addColumn<bool>("upperBold");

    // The role numbers are written out: they are the contract with the pages.
    const int u = Qt::UserRole;
    QTest::newRow("epg list: date and start above, title bold below")
        << Kind::EpgList
        << Roles{{u, QStringLiteral("Tagesschau")},
                 {u + 1, QStringLiteral("20:00")},
                 {u + 2, QStringLiteral("Sun Dec 6 2026")}}
        << QStringLiteral("Sun Dec 6 2026 20:00") << QStringLiteral("Tagesschau") << false;
    QTest::newRow("epg list: a long title is cut at the right margin")
        << Kind::EpgList
        << Roles{{u, longText()}, {u + 1, QStringLiteral("20:00")}, {u + 2, QStringLiteral("Sun")}}
        << QStringLiteral("Sun 20:00") << longText() << false;
    QTest::newRow("epg search: title bold above, date, start and channel below")
        << Kind::EpgSearch
        << Roles{{u, QStringLiteral("Das Erste HD")},
                 {u + 1, QStringLiteral("Tatort")},
                 {u + 2, QStringLiteral("20:15")},
                 {u + 3, QStringLiteral("Sun Dec 6 2026")}}
        << QStringLiteral("Tatort") << QStringLiteral("Sun Dec 6 2026 20:15 Das Erste HD") << true;
    QTest::newRow("movie: recording time in the clock's local time")
        << Kind::Movie
        << Roles{{u, QStringLiteral("Tatort")},
                 {u + 1, QStringLiteral("1.2 GB")},
                 {u + 2, QStringLiteral("Das Erste HD")},
                 {u + 3, QStringLiteral("90 min")},
                 {u + 4, recorded}}
        << QStringLiteral("Sun Dec 6 2026 21:00 Das Erste HD 1.2 GB") << QStringLiteral("Tatort 90 min")
        << false;
    QTest::newRow("movie: time stored as unsigned number")
        << Kind::Movie << Roles{{u, QStringLiteral("Tatort")}, {u + 4, uint(recorded)}}
        << QStringLiteral("Sun Dec 6 2026 21:00  ") << QStringLiteral("Tatort ") << false;
    QTest::newRow("movie: no recording time shows no date")
        << Kind::Movie
        << Roles{{u, QStringLiteral("Tatort")},
                 {u + 1, QStringLiteral("1.2 GB")},
                 {u + 2, QStringLiteral("ZDF")}}
        << QStringLiteral("ZDF 1.2 GB") << QStringLiteral("Tatort ") << false;
    QTest::newRow("movie: a time that is no number shows no date")
        << Kind::Movie << Roles{{u + 2, QStringLiteral("ZDF")}, {u + 4, QStringLiteral("yesterday")}}
        << QStringLiteral("ZDF ") << QStringLiteral(" ") << false;
}

void TestTwoLineItemDelegates::drawsBothLinesInTheirBands()
{
    QFETCH(Kind, kind);
    QFETCH(Roles, roles);
    QFETCH(QString, upper);
    QFETCH(QString, lower);
    QFETCH(bool, upperBold);

    const auto delegate = makeDelegate(kind, m_clock);
    QStandardItemModel model;
    const QModelIndex index = addRow(model, roles);
    const QFont font = listFont(10);
    const QSize size(420, 40);
    const QStyleOptionViewItem opt = option(size, font);
    const QImage painted = paint(*delegate, opt, index);

    const int left = opt.rect.left() + 5;
    const QImage wanted = expected(size, {{upperBand(opt.rect, left), Qt::AlignLeft | Qt::AlignBottom, upper,
                                           upperBold ? boldFont(font) : normalFont(font)},
                                          {lowerBand(opt.rect, left), Qt::AlignLeft | Qt::AlignTop, lower,
                                           upperBold ? normalFont(font) : boldFont(font)}});
    QCOMPARE(painted, wanted);
    QVERIFY(!hasInk(painted, QRect(opt.rect.right() - 9, 0, 100, painted.height())));
}

void TestTwoLineItemDelegates::selectedRowUsesHighlightedText()
{
    EpgListItemDelegate delegate(nullptr);
    QStandardItemModel model;
    const QModelIndex index = addRow(model, {{Qt::UserRole, QStringLiteral("Tagesschau")}});
    QStyleOptionViewItem opt = option(QSize(300, 40), listFont(10));
    opt.state |= QStyle::State_Selected;
    const QImage painted = paint(delegate, opt, index);

    const QRect title = lowerBand(opt.rect, opt.rect.left() + 5);
    int light = 0;
    int highlight = 0;
    for (int y = title.top(); y <= title.bottom(); ++y) {
        for (int x = title.left(); x <= title.right(); ++x) {
            const QRgb pixel = painted.pixel(x, y);
            light += qGray(pixel) > 200 ? 1 : 0;
            highlight += pixel == palette().color(QPalette::Highlight).rgb() ? 1 : 0;
        }
    }
    QVERIFY2(highlight > title.width() * title.height() / 2, "the selection is painted under the text");
    QVERIFY2(light > 20, "the title shows in the highlighted-text colour");
}

void TestTwoLineItemDelegates::sizeHintScalesWithTheFont_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QFont>("font");
    QTest::addColumn<int>("height");

    QFont pixels(QStringLiteral("DejaVu Sans"));
    pixels.setPixelSize(16); // 12 points at 96 dots per inch
    for (const auto& [name, kind] :
         {std::pair{"epg list", Kind::EpgList}, std::pair{"epg search", Kind::EpgSearch},
          std::pair{"movie", Kind::Movie}}) {
        QTest::addRow("%s, 8 points", name) << kind << listFont(8) << 32;
        QTest::addRow("%s, 11 points", name) << kind << listFont(11) << 44;
        QTest::addRow("%s, 24 points", name) << kind << listFont(24) << 96;
        QTest::addRow("%s, font sized in pixels", name) << kind << pixels << 48;
    }
}

void TestTwoLineItemDelegates::sizeHintScalesWithTheFont()
{
    QFETCH(Kind, kind);
    QFETCH(QFont, font);
    QFETCH(int, height);

    const auto delegate = makeDelegate(kind, m_clock);
    QStandardItemModel model;
    const QModelIndex index = addRow(model, {});
    QStyleOptionViewItem opt = option(QSize(100, 10), font);
    QCOMPARE(delegate->sizeHint(opt, index), QSize(200, height));
}

void TestTwoLineItemDelegates::hostileRolesStayInsideTheRow_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<Roles>("roles");
    QTest::addColumn<QSize>("size");

    const int u = Qt::UserRole;
    const Roles wrongTypes{{u, QVariantList{1, 2}},
                           {u + 1, QVariantMap{{QStringLiteral("a"), 1}}},
                           {u + 2, QByteArray("\xff\xfe\x00\x01", 4)},
                           {u + 3, QDateTime::fromSecsSinceEpoch(0)},
                           {u + 4, QVariantList{}}};
    const Roles oddTexts{{u, QStringLiteral("line\nbreak\ttab")},
                         {u + 1, QString(100000, u'x')},
                         {u + 2, QStringLiteral("\u05e9\u05dc\u05d5\u05dd right to left")},
                         {u + 3, QStringLiteral("\U0001F4FA")},
                         {u + 4, -1}};
    for (const auto& [name, kind] :
         {std::pair{"epg list", Kind::EpgList}, std::pair{"epg search", Kind::EpgSearch},
          std::pair{"movie", Kind::Movie}}) {
        QTest::addRow("%s, no roles at all", name) << kind << Roles{} << QSize(300, 40);
        QTest::addRow("%s, roles of the wrong type", name) << kind << wrongTypes << QSize(300, 40);
        QTest::addRow("%s, odd and huge texts", name) << kind << oddTexts << QSize(300, 40);
        QTest::addRow("%s, row lower than its font", name) << kind << oddTexts << QSize(300, 8);
        QTest::addRow("%s, row narrower than its margins", name) << kind << oddTexts << QSize(6, 40);
    }
}

void TestTwoLineItemDelegates::hostileRolesStayInsideTheRow()
{
    QFETCH(Kind, kind);
    QFETCH(Roles, roles);
    QFETCH(QSize, size);

    const auto delegate = makeDelegate(kind, m_clock);
    QStandardItemModel model;
    const QModelIndex index = addRow(model, roles);
    const QStyleOptionViewItem opt = option(size, listFont(10));
    QVERIFY(!inkOutside(paint(*delegate, opt, index), opt.rect));
}

void TestTwoLineItemDelegates::invalidIndexPaintsNothing()
{
    for (const Kind kind : {Kind::EpgList, Kind::EpgSearch, Kind::Movie}) {
        const auto delegate = makeDelegate(kind, m_clock);
        QStyleOptionViewItem opt = option(QSize(300, 40), listFont(10));
        opt.state |= QStyle::State_Selected;
        const QImage painted = paint(*delegate, opt, QModelIndex());
        QCOMPARE(painted, blank(opt.rect.size()));
    }
}

QTEST_MAIN(TestTwoLineItemDelegates)
#include "tst_twolineitemdelegates.moc"
