#include "ui/delegates/rowfonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QTest>

class TestRowFonts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fontsFollowTheListFont_data();
    void fontsFollowTheListFont();
    void missingFamilyFallsBackToTheListFamily();
    void keptUntilTheFontChanges();
};

void TestRowFonts::fontsFollowTheListFont_data()
{
    QTest::addColumn<QFont>("list");
    QTest::addColumn<int>("points");

    QFont italic(QStringLiteral("DejaVu Sans"), 11);
    italic.setItalic(true);
    QFont pixels(QStringLiteral("DejaVu Sans"));
    pixels.setPixelSize(20);
    QFont tiny(QStringLiteral("DejaVu Sans"));
    tiny.setPointSizeF(0.6);
    QTest::newRow("10 points") << QFont(QStringLiteral("DejaVu Sans"), 10) << 10;
    QTest::newRow("italic list font gives upright rows") << italic << 11;
    QTest::newRow("20 pixels at 96 dots per inch") << pixels << 15;
    QTest::newRow("below one point is kept readable") << tiny << 2;
}

void TestRowFonts::fontsFollowTheListFont()
{
    QFETCH(QFont, list);
    QFETCH(int, points);

    QImage device(10, 10, QImage::Format_RGB32);
    device.setDotsPerMeterY(3780); // 96 dots per inch
    device.setDotsPerMeterX(3780);
    RowFonts fonts;
    fonts.update(list, &device);
    QCOMPARE(fonts.pointSize(), points);
    QCOMPARE(fonts.bold().pointSize(), points);
    QCOMPARE(fonts.bold().weight(), QFont::Bold);
    QCOMPARE(fonts.normal().pointSize(), points - 1);
    QCOMPARE(fonts.normal().weight(), QFont::Normal);
    QCOMPARE(fonts.normalFull().pointSize(), points);
    for (const QFont& font : {fonts.bold(), fonts.normal(), fonts.normalFull()}) {
        QVERIFY(!font.italic());
        QCOMPARE(font.families().value(0), QStringLiteral("Lucida Grande"));
    }
    QVERIFY(fonts.boldMetrics().horizontalAdvance(QStringLiteral("Tatort")) >
            fonts.normalMetrics().horizontalAdvance(QStringLiteral("Tatort")));
}

void TestRowFonts::missingFamilyFallsBackToTheListFamily()
{
    const QFont list(QStringLiteral("DejaVu Sans"), 10);
    const QFont row = RowFonts::rowFont(list, 10, QFont::Bold);
    const QString expected = QFontDatabase::hasFamily(QStringLiteral("Lucida Grande"))
                                 ? QStringLiteral("Lucida Grande")
                                 : QFontInfo(list).family();
    QCOMPARE(QFontInfo(row).family(), expected);
    QVERIFY(QFontInfo(row).bold());
}

void TestRowFonts::keptUntilTheFontChanges()
{
    QImage device(10, 10, QImage::Format_RGB32);
    RowFonts fonts;
    fonts.update(QFont(QStringLiteral("DejaVu Sans"), 10), &device);
    const QFont* bold = &fonts.bold();
    const int width = fonts.boldMetrics().horizontalAdvance(QStringLiteral("ZDF"));
    fonts.update(QFont(QStringLiteral("DejaVu Sans"), 10), &device);
    QCOMPARE(&fonts.bold(), bold);
    fonts.update(QFont(QStringLiteral("DejaVu Sans"), 20), &device);
    QCOMPARE(fonts.pointSize(), 20);
    QVERIFY(fonts.boldMetrics().horizontalAdvance(QStringLiteral("ZDF")) > width);
}

QTEST_MAIN(TestRowFonts)
#include "tst_rowfonts.moc"
