#include "ui/resourcepaths.h"
#include "ui/widgets/qanimationlabel.h"

#include <QMovie>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

class TestQAnimationLabel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startAndStop_data();
    void startAndStop();
    void unreadableAnimationNeverShows();
};

void TestQAnimationLabel::startAndStop_data()
{
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<bool>("running");
    QTest::addColumn<int>("starts");

    const QString start = u"start"_s;
    const QString stop = u"stop"_s;
    QTest::newRow("hidden until started") << QStringList{} << false << 0;
    QTest::newRow("start shows and runs") << QStringList{start} << true << 1;
    QTest::newRow("start twice keeps one running animation") << QStringList{start, start} << true << 1;
    QTest::newRow("stop hides") << QStringList{start, stop} << false << 1;
    QTest::newRow("stop on a stopped indicator does nothing")
        << QStringList{stop, start, stop, stop} << false << 1;
    QTest::newRow("start again after stop") << QStringList{start, stop, start} << true << 2;
}

void TestQAnimationLabel::startAndStop()
{
    QFETCH(QStringList, calls);
    QFETCH(bool, running);
    QFETCH(int, starts);

    QWidget window;
    auto* indicator = new QAnimationLabel(ResourcePaths::waitAnimation(), QSize(), &window);
    window.show();
    QSignalSpy started(indicator->findChild<QMovie*>(), &QMovie::started);
    for (const QString& call : calls)
        call == QLatin1String("start") ? indicator->start() : indicator->stop();
    QCOMPARE(indicator->isAnimating(), running);
    QCOMPARE(indicator->isVisible(), running);
    QCOMPARE(started.count(), starts);
}

void TestQAnimationLabel::unreadableAnimationNeverShows()
{
    QWidget window;
    auto* indicator = new QAnimationLabel(QStringLiteral(":/no/such/animation.gif"), QSize(), &window);
    window.show();
    indicator->start();
    QVERIFY(!indicator->isVisible());
    QVERIFY(!indicator->isAnimating());
}

QTEST_MAIN(TestQAnimationLabel)
#include "tst_qanimationlabel.moc"
