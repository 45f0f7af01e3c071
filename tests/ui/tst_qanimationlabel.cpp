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
    void startAndStop_data();
    void startAndStop();
    void turnsOnlyWhileRunning();
    void sizeFromTheAnimationOrGiven();
    void unreadableAnimationNeverShows();
};

void TestQAnimationLabel::startAndStop_data()
{
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<bool>("running");
    QTest::addColumn<int>("starts");

    const QString start = QStringLiteral("start");
    const QString stop = QStringLiteral("stop");
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

void TestQAnimationLabel::turnsOnlyWhileRunning()
{
    QWidget window;
    auto* indicator = new QAnimationLabel(ResourcePaths::waitAnimation(), QSize(), &window);
    window.show();
    QPointer<QMovie> movie = indicator->findChild<QMovie*>();
    QSignalSpy frames(movie, &QMovie::frameChanged);
    indicator->start();
    QTRY_VERIFY(frames.count() >= 3);
    indicator->stop();
    const qsizetype stoppedAt = frames.count();
    QTest::qWait(250); // two and a half frames: nothing may move while stopped
    QCOMPARE(frames.count(), stoppedAt);
    indicator->start();
    delete indicator; // destroyed while running, together with its animation
    QVERIFY(movie.isNull());
}

void TestQAnimationLabel::sizeFromTheAnimationOrGiven()
{
    for (const QSize empty : {QSize(), QSize(0, 0), QSize(-1, 5), QSize(5, 0)}) {
        QAnimationLabel indicator(ResourcePaths::waitAnimation(), empty, nullptr);
        QCOMPARE(indicator.size(), QSize(32, 32));
        QCOMPARE(indicator.minimumSize(), indicator.maximumSize());
        QCOMPARE(indicator.findChild<QMovie*>()->currentFrameNumber(), 0);
    }
    QAnimationLabel scaled(ResourcePaths::waitAnimation(), QSize(20, 20), nullptr);
    QCOMPARE(scaled.size(), QSize(20, 20));
    QCOMPARE(scaled.findChild<QLabel*>()->size(), QSize(20, 20));
    scaled.start();
    QCOMPARE(scaled.findChild<QMovie*>()->currentPixmap().size(), QSize(20, 20));
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
