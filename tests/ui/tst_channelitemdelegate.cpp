#include "rowimage.h"
#include "ui/delegates/channelitemdelegate.h"

#include <QStandardItemModel>
#include <QTest>

using namespace RowImage;

using namespace Qt::StringLiterals;

namespace {

// A channel row as the main window fills it, with the role numbers written out.
void fill(QStandardItem& item, const QString& name, const QString& current, const QString& next)
{
    const int u = Qt::UserRole;
    item.setData(name, u);
    item.setData(30, u + 1);
    item.setData(current, u + 2);
    item.setData(42, u + 3);
    item.setData(next, u + 4);
    item.setData(90, u + 5);
}

// The three bands of a channel row, a third of the height each; the "only" rows leave out
// the pixel row a band shares with its neighbour.
struct Bands
{
    explicit Bands(const QRect& r)
        : top(QPoint(r.left() + 5, r.top()), QPoint(r.right() - 10, r.bottom() - 2 * r.height() / 3))
        , middleOnly(QPoint(r.left() + 5, r.top() + r.height() / 3 + 1),
                     QPoint(r.right() - 10, r.bottom() - r.height() / 3 - 1))
        , bottomOnly(QPoint(r.left() + 5, r.top() + 2 * r.height() / 3 + 1),
                     QPoint(r.right() - 10, r.bottom()))
    {}
    QRect top;
    QRect middleOnly;
    QRect bottomOnly;
};

QString longTitle()
{
    return QStringLiteral("20:15 ") + QString(200, u'W');
}

} // namespace

class TestChannelItemDelegate : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void bandsFollowTheEvents_data();
    void bandsFollowTheEvents();
    void longTitleStopsBeforeTheMinutes_data();
    void longTitleStopsBeforeTheMinutes();
};

void TestChannelItemDelegate::bandsFollowTheEvents_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("next");

    QTest::newRow("channel without EPG shows only its name") << QString() << QString();
    QTest::newRow("current event without next event") << u"20:15 Tatort"_s << QString();
    QTest::newRow("current and next event") << u"20:15 Tatort"_s << u"21:45 Tagesthemen"_s;
    QTest::newRow("next event alone") << QString() << u"21:45 Tagesthemen"_s;
}

void TestChannelItemDelegate::bandsFollowTheEvents()
{
    QFETCH(QString, current);
    QFETCH(QString, next);

    ChannelItemDelegate delegate(nullptr);
    QStandardItemModel model;
    auto* item = new QStandardItem;
    fill(*item, QStringLiteral("ZDF"), current, next);
    model.appendRow(item);
    const QStyleOptionViewItem opt = option(QSize(400, 50), listFont(10));
    const QImage painted = paint(delegate, opt, item->index());
    const Bands bands(opt.rect);

    QCOMPARE(hasInk(painted, bands.middleOnly), !current.isEmpty());
    QCOMPARE(hasInk(painted, bands.bottomOnly), !next.isEmpty());
    // The percentage follows the name, 6 pixels after it, only with a current event.
    RowFonts fonts;
    fonts.update(opt.font, &painted);
    const int nameEnd = bands.top.left() + fonts.boldMetrics().horizontalAdvance(QStringLiteral("ZDF"));
    QCOMPARE(inkBounds(painted, bands.top).right() > nameEnd + 6, !current.isEmpty());
}

void TestChannelItemDelegate::longTitleStopsBeforeTheMinutes_data()
{
    QTest::addColumn<bool>("nextLine");

    QTest::newRow("current event title against the minutes left") << false;
    QTest::newRow("next event title against its duration") << true;
}

void TestChannelItemDelegate::longTitleStopsBeforeTheMinutes()
{
    QFETCH(bool, nextLine);

    ChannelItemDelegate delegate(nullptr);
    QStandardItemModel model;
    auto* item = new QStandardItem;
    fill(*item, QStringLiteral("ZDF"), longTitle(), longTitle());
    model.appendRow(item);
    const QStyleOptionViewItem opt = option(QSize(400, 50), listFont(10));
    const QImage painted = paint(delegate, opt, item->index());
    const Bands bands(opt.rect);
    const QRect band = nextLine ? bands.bottomOnly : bands.middleOnly;

    // The minutes sit at the right; the title ends 11 pixels before them, cut with an ellipsis.
    RowFonts fonts;
    fonts.update(opt.font, &painted);
    const QFontMetrics& metrics = fonts.normalMetrics();
    const int minutesLeft =
        band.right() + 1 -
        metrics.horizontalAdvance(nextLine ? QStringLiteral(" 90 min") : QStringLiteral(" 42 min"));
    const int titleLimit = minutesLeft - 11;
    const int minutesInk = minutesLeft + metrics.horizontalAdvance(u' ');

    const QRect title = inkBounds(painted, QRect(band.topLeft(), QPoint(titleLimit + 1, band.bottom())));
    QVERIFY2(title.right() >= titleLimit - 2 * metrics.horizontalAdvance(u'W'), "the title fills its room");
    QVERIFY2(
        !hasInk(painted, QRect(QPoint(titleLimit + 2, band.top()), QPoint(minutesInk - 2, band.bottom()))),
        "nothing between the cut title and the minutes");
    QVERIFY2(hasInk(painted, QRect(QPoint(minutesInk - 1, band.top()), band.bottomRight())),
             "minutes are shown");
    QVERIFY(!hasInk(painted, QRect(QPoint(band.right() + 2, 0), painted.rect().bottomRight())));
}

QTEST_MAIN(TestChannelItemDelegate)
#include "tst_channelitemdelegate.moc"
