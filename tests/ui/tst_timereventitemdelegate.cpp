#include "rowimage.h"
#include "ui/delegates/timereventitemdelegate.h"

#include <QIcon>
#include <QStandardItemModel>
#include <QTest>

using namespace RowImage;

namespace {

using Roles = QMap<int, QVariant>;

QModelIndex addRow(QStandardItemModel& model, const Roles& roles)
{
    auto* item = new QStandardItem;
    for (auto it = roles.cbegin(); it != roles.cend(); ++it)
        item->setData(it.value(), it.key());
    model.appendRow(item);
    return item->index();
}

// A timer as the timer page stores it, with the role numbers written out.
Roles timer(const QVariant& justPlay, const QString& name, const QString& description)
{
    const int u = Qt::UserRole;
    return {{u, QStringLiteral("Das Erste HD")},
            {u + 1, name},
            {u + 2, description},
            {u + 3, QStringLiteral("20:15")},
            {u + 4, QStringLiteral("21:45")},
            {u + 5, QStringLiteral("Sun Dec 6 2026")},
            {u + 6, justPlay}};
}

} // namespace

class TestTimerEventItemDelegate : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void drawsTimerAndNameLines_data();
    void drawsTimerAndNameLines();
    void keepsASquareForTheStateIcon();
    void sizeHintScalesWithTheFont();
    void hostileRolesStayInsideTheRow();
};

void TestTimerEventItemDelegate::drawsTimerAndNameLines_data()
{
    QTest::addColumn<Roles>("roles");
    QTest::addColumn<QString>("timerLine");
    QTest::addColumn<QString>("nameLine");

    const QString plain = QStringLiteral("Sun Dec 6 2026 20:15-21:45 Das Erste HD");
    QTest::newRow("zap timer") << timer(QStringLiteral("1"), QStringLiteral("Tatort"),
                                        QStringLiteral("Krimi"))
                               << plain + QStringLiteral(" - Zap Timer") << QStringLiteral("Tatort - Krimi");
    QTest::newRow("record timer") << timer(QStringLiteral("0"), QStringLiteral("Tatort"), QString())
                                  << plain + QStringLiteral(" - Record Timer") << QStringLiteral("Tatort");
    QTest::newRow("timer of unknown kind (Enigma1)")
        << timer(QString(), QString(), QStringLiteral("Krimi")) << plain << QStringLiteral("Krimi");
    QTest::newRow("any other kind leaves the first line empty")
        << timer(QStringLiteral("2"), QStringLiteral("Tatort"), QStringLiteral("Krimi")) << QString()
        << QStringLiteral("Tatort - Krimi");
    QTest::newRow("kind given as a number is read as its text")
        << timer(1, QStringLiteral("Tatort"), QString()) << plain + QStringLiteral(" - Zap Timer")
        << QStringLiteral("Tatort");
    QTest::newRow("no name and no description leave the second line empty")
        << timer(QStringLiteral("0"), QString(), QString()) << plain + QStringLiteral(" - Record Timer")
        << QString();
}

void TestTimerEventItemDelegate::drawsTimerAndNameLines()
{
    QFETCH(Roles, roles);
    QFETCH(QString, timerLine);
    QFETCH(QString, nameLine);

    TimerEventItemDelegate delegate(nullptr);
    QStandardItemModel model;
    const QModelIndex index = addRow(model, roles);
    const QFont font = listFont(10);
    const QSize size(480, 40);
    const QStyleOptionViewItem opt = option(size, font);

    // Both lines start a row's height in, where the icon's square ends.
    const int left = opt.rect.left() + opt.rect.height();
    const QImage wanted = expected(
        size, {{upperBand(opt.rect, left), Qt::AlignLeft | Qt::AlignBottom, timerLine, normalFont(font)},
               {lowerBand(opt.rect, left), Qt::AlignLeft | Qt::AlignTop, nameLine, boldFont(font)}});
    QCOMPARE(paint(delegate, opt, index), wanted);
}

void TestTimerEventItemDelegate::keepsASquareForTheStateIcon()
{
    TimerEventItemDelegate delegate(nullptr);
    QStandardItemModel model;
    Roles roles = timer(QStringLiteral("0"), QStringLiteral("Tatort"), QString());
    roles.insert(Qt::DecorationRole, QIcon(QStringLiteral(":/buttons/buttons/player_time_48.png")));
    const QModelIndex index = addRow(model, roles);
    const QFont font = listFont(10);
    const QStyleOptionViewItem opt = option(QSize(480, 40), font);
    const QImage painted = paint(delegate, opt, index);

    const QRect square(opt.rect.topLeft(), QSize(opt.rect.height(), opt.rect.height()));
    QVERIFY2(hasInk(painted, square), "the state icon is drawn in the square");
    const QImage withoutIcon =
        paint(delegate, opt, addRow(model, timer(QStringLiteral("0"), QStringLiteral("Tatort"), QString())));
    const QRect text(square.right() + 1, 0, painted.width() - square.right() - 1, painted.height());
    QCOMPARE(painted.copy(text), withoutIcon.copy(text));
}

void TestTimerEventItemDelegate::sizeHintScalesWithTheFont()
{
    TimerEventItemDelegate delegate(nullptr);
    QStandardItemModel model;
    const QModelIndex index = addRow(model, {});
    QCOMPARE(delegate.sizeHint(option(QSize(1, 1), listFont(9)), index), QSize(200, 36));
    QCOMPARE(delegate.sizeHint(option(QSize(1, 1), listFont(20)), index), QSize(200, 80));
}

void TestTimerEventItemDelegate::hostileRolesStayInsideTheRow()
{
    TimerEventItemDelegate delegate(nullptr);
    QStandardItemModel model;
    const int u = Qt::UserRole;
    const QModelIndex wrongTypes = addRow(model, {{u, QVariantList{1}},
                                                  {u + 1, QString(50000, u'n')},
                                                  {u + 2, QByteArray("\xff", 1)},
                                                  {u + 6, QVariantMap{}},
                                                  {Qt::DecorationRole, QStringLiteral("not an icon")}});
    const QModelIndex empty = addRow(model, {});
    for (const QModelIndex& index : {wrongTypes, empty, QModelIndex()}) {
        for (const QSize size : {QSize(480, 40), QSize(30, 40), QSize(480, 6)}) {
            const QStyleOptionViewItem opt = option(size, listFont(10));
            QVERIFY(!inkOutside(paint(delegate, opt, index), opt.rect));
        }
    }
}

QTEST_MAIN(TestTimerEventItemDelegate)
#include "tst_timereventitemdelegate.moc"
