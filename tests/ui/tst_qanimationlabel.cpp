#include "ui/resourcepaths.h"
#include "ui/widgets/qanimationlabel.h"

#include <QLabel>
#include <QMovie>
#include <QSignalSpy>
#include <QTest>

class TestQAnimationLabel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startsHidden();
    void startAndStop_data();
    void startAndStop();
    void animationAdvancesWhileRunning();
    void emptySizeTakesTheFrameSize();
    void givenSizeScalesTheAnimation();
    void unreadableAnimationNeverShows();
    void destroyedWhileRunning();
};

void TestQAnimationLabel::startsHidden()
{
    QWidget window;
    QAnimationLabel indicator(ResourcePaths::waitAnimation(), QSize(), &window);
    window.show();
    QVERIFY(!indicator.isVisible());
    QVERIFY(!indicator.isAnimating());
}

void TestQAnimationLabel::startAndStop_data()
{
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<bool>("running");
    QTest::addColumn<int>("starts");

    const QString start = QStringLiteral("start");
    const QString stop = QStringLiteral("stop");
    QTest::newRow("start shows and runs") << QStringList{start} << true << 1;
    QTest::newRow("start twice keeps one running animation") << QStringList{start, start} << true << 1;
    QTest::newRow("stop hides") << QStringList{start, stop} << false << 1;
    QTest::newRow("stop on a stopped indicator does nothing") << QStringList{stop} << false << 0;
    QTest::newRow("stop twice") << QStringList{start, stop, stop} << false << 1;
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
    auto* movie = indicator->findChild<QMovie*>();
    QVERIFY(movie);
    QSignalSpy started(movie, &QMovie::started);
    for (const QString& call : calls) {
        if (call == QLatin1String("start"))
            indicator->start();
        else
            indicator->stop();
    }
    QCOMPARE(indicator->isAnimating(), running);
    QCOMPARE(indicator->isVisible(), running);
    QCOMPARE(started.count(), starts);
}

void TestQAnimationLabel::animationAdvancesWhileRunning()
{
    QWidget window;
    auto* indicator = new QAnimationLabel(ResourcePaths::waitAnimation(), QSize(), &window);
    window.show();
    auto* movie = indicator->findChild<QMovie*>();
    QSignalSpy frames(movie, &QMovie::frameChanged);
    indicator->start();
    QTRY_VERIFY(frames.count() >= 3);
    indicator->stop();
    const qsizetype stoppedAt = frames.count();
    QTest::qWait(250); // three frames' time: nothing may move while stopped
    QCOMPARE(frames.count(), stoppedAt);
}

void TestQAnimationLabel::emptySizeTakesTheFrameSize()
{
    for (const QSize empty : {QSize(), QSize(0, 0), QSize(-1, 5), QSize(5, 0)}) {
        QAnimationLabel indicator(ResourcePaths::waitAnimation(), empty, nullptr);
        QCOMPARE(indicator.size(), QSize(32, 32));
        QCOMPARE(indicator.minimumSize(), indicator.maximumSize());
        QCOMPARE(indicator.findChild<QMovie*>()->currentFrameNumber(), 0);
    }
}

void TestQAnimationLabel::givenSizeScalesTheAnimation()
{
    QAnimationLabel indicator(ResourcePaths::waitAnimation(), QSize(20, 20), nullptr);
    QCOMPARE(indicator.size(), QSize(20, 20));
    auto* label = indicator.findChild<QLabel*>();
    QVERIFY(label);
    QCOMPARE(label->size(), QSize(20, 20));
    indicator.start();
    QCOMPARE(indicator.findChild<QMovie*>()->currentPixmap().size(), QSize(20, 20));
}

void TestQAnimationLabel::unreadableAnimationNeverShows()
{
    QWidget window;
    auto* indicator = new QAnimationLabel(QStringLiteral(":/no/such/animation.gif"), QSize(), &window);
    window.show();
    indicator->start();
    QVERIFY(!indicator->isVisible());
    QVERIFY(!indicator->isAnimating());
    indicator->stop();
    QVERIFY(!indicator->isVisible());
}

void TestQAnimationLabel::destroyedWhileRunning()
{
    QWidget window;
    auto* indicator = new QAnimationLabel(ResourcePaths::waitAnimation(), QSize(), &window);
    window.show();
    indicator->start();
    QPointer<QMovie> movie = indicator->findChild<QMovie*>();
    delete indicator;
    QVERIFY(movie.isNull());
}

QTEST_MAIN(TestQAnimationLabel)
#include "tst_qanimationlabel.moc"
