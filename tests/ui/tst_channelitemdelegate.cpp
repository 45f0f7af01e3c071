#include "rowimage.h"
#include "ui/delegates/channelitemdelegate.h"

#include <QElapsedTimer>
#include <QListWidget>
#include <QStandardItemModel>
#include <QTest>

using namespace RowImage;

namespace {

using Roles = QMap<int, QVariant>;

// A channel row as the main window fills it, with the role numbers written out.
Roles channel(const QString& name, const QString& current, const QString& next)
{
    const int u = Qt::UserRole;
    return {{u, name}, {u + 1, 30}, {u + 2, current}, {u + 3, 42}, {u + 4, next}, {u + 5, 90}};
}

QModelIndex addRow(QStandardItemModel& model, const Roles& roles)
{
    auto* item = new QStandardItem;
    for (auto it = roles.cbegin(); it != roles.cend(); ++it)
        item->setData(it.value(), it.key());
    model.appendRow(item);
    return item->index();
}

// The three bands of a channel row, each a third of the height, overlapping by a pixel.
struct Bands
{
    explicit Bands(const QRect& r)
        : top(QPoint(r.left() + 5, r.top()), QPoint(r.right() - 10, r.bottom() - 2 * r.height() / 3))
        , middle(QPoint(r.left() + 5, r.top() + r.height() / 3),
                 QPoint(r.right() - 10, r.bottom() - r.height() / 3))
        , bottom(QPoint(r.left() + 5, r.top() + 2 * r.height() / 3), QPoint(r.right() - 10, r.bottom()))
    {}
    // Rows that belong to one band only.
    QRect middleOnly() const { return middle.adjusted(0, 1, 0, -1); }
    QRect bottomOnly() const { return bottom.adjusted(0, 1, 0, 0); }

    QRect top;
    QRect middle;
    QRect bottom;
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
    void drawsTheSpecifiedTexts();
    void longTitleStopsBeforeTheMinutes_data();
    void longTitleStopsBeforeTheMinutes();
    void sizeHintScalesWithTheFont_data();
    void sizeHintScalesWithTheFont();
    void listShowsRowsOfFiveTimesTheFontSize();
    void hostileRolesStayInsideTheRow_data();
    void hostileRolesStayInsideTheRow();
    void invalidIndexPaintsNothing();
    void largeListLaysOutAndPaintsQuickly();
};

void TestChannelItemDelegate::bandsFollowTheEvents_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("next");

    QTest::newRow("channel without EPG shows only its name") << QString() << QString();
    QTest::newRow("current event without next event") << QStringLiteral("20:15 Tatort") << QString();
    QTest::newRow("current and next event")
        << QStringLiteral("20:15 Tatort") << QStringLiteral("21:45 Tagesthemen");
    QTest::newRow("next event alone") << QString() << QStringLiteral("21:45 Tagesthemen");
}

void TestChannelItemDelegate::bandsFollowTheEvents()
{
    QFETCH(QString, current);
    QFETCH(QString, next);

    ChannelItemDelegate delegate(nullptr);
    QStandardItemModel model;
    const QModelIndex index = addRow(model, channel(QStringLiteral("ZDF"), current, next));
    const QFont font = listFont(10);
    const QStyleOptionViewItem opt = option(QSize(400, 50), font);
    const QImage painted = paint(delegate, opt, index);
    const Bands bands(opt.rect);

    const QRect name = inkBounds(painted, bands.top);
    QVERIFY(!name.isNull());
    QCOMPARE(hasInk(painted, bands.middleOnly()), !current.isEmpty());
    QCOMPARE(hasInk(painted, bands.bottomOnly()), !next.isEmpty());

    // The percentage appears only with a current event, 6 pixels after the name.
    RowFonts fonts;
    fonts.update(font, &painted);
    const int nameEnd = bands.top.left() + fonts.boldMetrics().horizontalAdvance(QStringLiteral("ZDF"));
    QCOMPARE(name.right() > nameEnd + 6, !current.isEmpty());
    QVERIFY(!inkOutside(painted, opt.rect));
}

void TestChannelItemDelegate::drawsTheSpecifiedTexts()
{
    ChannelItemDelegate delegate(nullptr);
    QStandardItemModel model;
    const QModelIndex index =
        addRow(model, channel(QStringLiteral("Das Erste HD"), QStringLiteral("20:15 Tatort"),
                              QStringLiteral("21:45 Tagesthemen")));
    const QFont font = listFont(10);
    const QSize size(400, 50);
    const QStyleOptionViewItem opt = option(size, font);
    const Bands bands(opt.rect);

    // The same row drawn step by step: name, percentage after it, minutes at the right with
    // the title ending 11 pixels before them, duration at the right with the next title.
    QImage wanted = blank(size);
    QPainter painter(&wanted);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::black);
    const auto draw = [&painter](const QRect& band, int alignment, const QString& text, const QFont& f) {
        painter.setFont(f);
        QRect covered;
        painter.drawText(band, alignment | Qt::TextSingleLine, text, &covered);
        return covered;
    };
    const QRect name =
        draw(bands.top, Qt::AlignLeft | Qt::AlignBottom, QStringLiteral("Das Erste HD"), boldFont(font));
    draw(bands.top.adjusted(name.right() + 6 - bands.top.left(), 0, 0, 0), Qt::AlignLeft | Qt::AlignBottom,
         QStringLiteral("(30%)"), normalFont(font, 0));
    const QRect minutes =
        draw(bands.middle, Qt::AlignRight | Qt::AlignBottom, QStringLiteral(" 42 min"), normalFont(font));
    draw(QRect(bands.middle.topLeft(), QPoint(minutes.left() - 11, bands.middle.bottom())),
         Qt::AlignLeft | Qt::AlignBottom, QStringLiteral("20:15 Tatort"), normalFont(font));
    const QRect duration =
        draw(bands.bottom, Qt::AlignRight | Qt::AlignTop, QStringLiteral(" 90 min"), normalFont(font));
    draw(QRect(bands.bottom.topLeft(), QPoint(duration.left() - 11, bands.bottom.bottom())),
         Qt::AlignLeft | Qt::AlignTop, QStringLiteral("21:45 Tagesthemen"), normalFont(font));
    painter.end();

    QCOMPARE(paint(delegate, opt, index), wanted);
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
    const QModelIndex index = addRow(model, channel(QStringLiteral("ZDF"), longTitle(), longTitle()));
    const QFont font = listFont(10);
    const QStyleOptionViewItem opt = option(QSize(400, 50), font);
    const QImage painted = paint(delegate, opt, index);
    const Bands bands(opt.rect);
    const QRect band = nextLine ? bands.bottomOnly() : bands.middleOnly();

    RowFonts fonts;
    fonts.update(font, &painted);
    const QFontMetrics& metrics = fonts.normalMetrics();
    const QString column = nextLine ? QStringLiteral(" 90 min") : QStringLiteral(" 42 min");
    const int columnLeft = band.right() + 1 - metrics.horizontalAdvance(column);
    const int titleLimit = columnLeft - 11;
    const int columnInk = columnLeft + metrics.horizontalAdvance(u' ');

    const QRect title =
        inkBounds(painted, QRect(QPoint(band.left(), band.top()), QPoint(titleLimit + 1, band.bottom())));
    QVERIFY(!title.isNull());
    QVERIFY2(title.right() >= titleLimit - 2 * metrics.horizontalAdvance(u'W'), "the title fills its room");
    QVERIFY2(
        !hasInk(painted, QRect(QPoint(titleLimit + 2, band.top()), QPoint(columnInk - 2, band.bottom()))),
        "nothing between the cut title and the minutes");
    QVERIFY2(hasInk(painted, QRect(QPoint(columnInk - 1, band.top()), band.bottomRight())),
             "the minutes are still shown");
    QVERIFY(!hasInk(painted, QRect(QPoint(band.right() + 2, 0), QPoint(painted.width(), painted.height()))));
}

void TestChannelItemDelegate::sizeHintScalesWithTheFont_data()
{
    QTest::addColumn<QFont>("font");
    QTest::addColumn<int>("height");

    QFont pixels(QStringLiteral("DejaVu Sans"));
    pixels.setPixelSize(16);
    QTest::newRow("8 points") << listFont(8) << 40;
    QTest::newRow("10 points") << listFont(10) << 50;
    QTest::newRow("24 points") << listFont(24) << 120;
    QTest::newRow("font sized in pixels") << pixels << 60;
}

void TestChannelItemDelegate::sizeHintScalesWithTheFont()
{
    QFETCH(QFont, font);
    QFETCH(int, height);

    ChannelItemDelegate delegate(nullptr);
    QStandardItemModel model;
    QCOMPARE(delegate.sizeHint(option(QSize(1, 1), font), addRow(model, {})), QSize(200, height));
}

void TestChannelItemDelegate::listShowsRowsOfFiveTimesTheFontSize()
{
    QListWidget list;
    list.setObjectName(QStringLiteral("channel_listWidget"));
    list.setFont(listFont(12));
    list.setItemDelegate(new ChannelItemDelegate(&list));
    list.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list.resize(360, 400);
    for (const Roles& roles :
         {channel(QStringLiteral("Das Erste HD"), QStringLiteral("20:15 Tatort"), QString()),
          channel(QStringLiteral("ZDF"), longTitle(), longTitle())}) {
        auto* item = new QListWidgetItem(&list);
        for (auto it = roles.cbegin(); it != roles.cend(); ++it)
            item->setData(it.key(), it.value());
    }
    list.doItemsLayout();

    const QRect first = list.visualItemRect(list.item(0));
    const QRect second = list.visualItemRect(list.item(1));
    QCOMPARE(first.height(), 60);
    QCOMPARE(second.top(), first.bottom() + 1);

    // On screen as in an image: the long title of the second row stops before its minutes.
    const QImage shown = list.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const Bands bands(second);
    QVERIFY(hasInk(shown, bands.top));
    const QRect middle = inkBounds(shown, bands.middleOnly());
    QVERIFY(!middle.isNull());
    QVERIFY(middle.right() <= bands.middle.right() + 1);
    QVERIFY(!hasInk(shown, QRect(QPoint(second.right() - 8, second.top()), second.bottomRight())));
}

void TestChannelItemDelegate::hostileRolesStayInsideTheRow_data()
{
    QTest::addColumn<Roles>("roles");
    QTest::addColumn<QSize>("size");

    const int u = Qt::UserRole;
    const Roles wrongTypes{{u, QVariantList{1}},           {u + 1, QStringLiteral("much")},
                           {u + 2, QVariantMap{}},         {u + 3, QDateTime::fromSecsSinceEpoch(0)},
                           {u + 4, QByteArray("\xff", 1)}, {u + 5, QVariantList{}}};
    const Roles extremes{{u, QString(20000, u'N')},
                         {u + 1, std::numeric_limits<int>::min()},
                         {u + 2, QStringLiteral("20:15 line\nbreak")},
                         {u + 3, std::numeric_limits<qlonglong>::max()},
                         {u + 4, QStringLiteral("\u05e9\u05dc\u05d5\u05dd")},
                         {u + 5, -5}};
    QTest::newRow("no roles at all") << Roles{} << QSize(400, 50);
    QTest::newRow("roles of the wrong type") << wrongTypes << QSize(400, 50);
    QTest::newRow("extreme numbers and texts") << extremes << QSize(400, 50);
    QTest::newRow("row lower than its fonts") << extremes << QSize(400, 9);
    QTest::newRow("row narrower than its margins") << extremes << QSize(12, 50);
}

void TestChannelItemDelegate::hostileRolesStayInsideTheRow()
{
    QFETCH(Roles, roles);
    QFETCH(QSize, size);

    ChannelItemDelegate delegate(nullptr);
    QStandardItemModel model;
    const QStyleOptionViewItem opt = option(size, listFont(10));
    QVERIFY(!inkOutside(paint(delegate, opt, addRow(model, roles)), opt.rect));
}

void TestChannelItemDelegate::invalidIndexPaintsNothing()
{
    ChannelItemDelegate delegate(nullptr);
    QStyleOptionViewItem opt = option(QSize(400, 50), listFont(10));
    opt.state |= QStyle::State_Selected | QStyle::State_HasFocus;
    QCOMPARE(paint(delegate, opt, QModelIndex()), blank(opt.rect.size()));
}

void TestChannelItemDelegate::largeListLaysOutAndPaintsQuickly()
{
    QListWidget list;
    list.setItemDelegate(new ChannelItemDelegate(&list));
    list.resize(400, 600);
    for (int i = 0; i < 20000; ++i) {
        auto* item = new QListWidgetItem(&list);
        item->setData(Qt::UserRole, QStringLiteral("Channel %1").arg(i));
        item->setData(Qt::UserRole + 2, QStringLiteral("20:15 Event %1").arg(i));
        item->setData(Qt::UserRole + 4, QStringLiteral("21:45 Event %1").arg(i + 1));
    }
    QElapsedTimer clock;
    clock.start();
    list.doItemsLayout();
    QImage frame(list.viewport()->size(), QImage::Format_RGB32);
    for (int step = 0; step < 50; ++step) {
        list.scrollToItem(list.item(step * 400));
        list.viewport()->render(&frame);
    }
    // Generous on purpose: this guards against work that grows with the list, not against
    // a slow machine.
    QVERIFY2(clock.elapsed() < 10000, qPrintable(QStringLiteral("%1 ms").arg(clock.elapsed())));
}

QTEST_MAIN(TestChannelItemDelegate)
#include "tst_channelitemdelegate.moc"
