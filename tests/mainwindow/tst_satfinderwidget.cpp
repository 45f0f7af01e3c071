#include "control/controltimer.h"
#include "model/channel.h"
#include "model/tavreldatabase.h"
#include "tests/mainwindow/windowfixture.h"
#include "ui/pages/satfinderwidget.h"
#include "ui/shell/shellservices.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>

using namespace Qt::StringLiterals;
using boxsim::Personality;

namespace {

// The satellite finder of the main window, opened and closed as a user does it.
class FinderFixture
{
public:
    explicit FinderFixture(Personality personality)
        : f(personality)
    {
        f.window->show();
        finder = f.find<SatFinderWidget>("satFinderWidget");
        page = f.find<QWidget>("satfinder_page");
    }

    void open() { f.trigger("satfinderAction"); }
    void close() { f.window->shell()->closeStackedWindow(page); }
    qsizetype timers() const { return finder->findChildren<ControlTimer*>().size(); }
    QComboBox* box(const char* name) const
    {
        return finder->findChild<QComboBox*>(QString::fromLatin1(name));
    }

    WindowFixture f;
    SatFinderWidget* finder = nullptr;
    QWidget* page = nullptr;
};

QByteArray measurementPath(Personality personality)
{
    return personality == Personality::Enigma1 ? "/satFinder" : "/web/signal";
}

} // namespace

class TestSatFinderWidget : public QObject
{
    Q_OBJECT

private slots:
    void setUpThenChoose_data();
    void setUpThenChoose();
    void measuresOnlyWhileShown();
    void enigma2BeforeLoading();
    void receiverChangeStopsTheOldCycle();
    void meters_data();
    void meters();
};

void TestSatFinderWidget::setUpThenChoose_data()
{
    QTest::addColumn<Personality>("personality");
    QTest::addColumn<QStringList>("firstBox");
    QTest::addColumn<QByteArray>("choice");
    QTest::addColumn<QByteArray>("chosenPath");
    QTest::addColumn<QString>("chosenValue");

    // Enigma1: the receiver's satellites; another satellite measures its first transponder.
    QTest::newRow("enigma1 satellites and transponders")
        << Personality::Enigma1 << QStringList{u"Astra 19.2E"_s, u"Hotbird 13.0E"_s}
        << QByteArray("satfinderSatelite_comboBox") << QByteArray("/satFinder") << u"11034000"_s;
    // Enigma2: the bouquets; another channel is zapped to at once.
    QTest::newRow("enigma2 bouquets and channels")
        << Personality::Enigma2 << QStringList() << QByteArray("satfinderFrequency_comboBox")
        << QByteArray("/web/zap") << QString();
}

void TestSatFinderWidget::setUpThenChoose()
{
    QFETCH(Personality, personality);
    QFETCH(QStringList, firstBox);
    QFETCH(QByteArray, choice);
    QFETCH(QByteArray, chosenPath);
    QFETCH(QString, chosenValue);
    FinderFixture s(personality);
    const bool e1 = personality == Personality::Enigma1;
    if (!e1)
        QVERIFY(s.f.load());
    s.open();
    QVERIFY(s.f.settle());

    QComboBox* satellites = s.box("satfinderSatelite_comboBox");
    QComboBox* frequencies = s.box("satfinderFrequency_comboBox");
    if (e1) {
        QCOMPARE(satellites->count(), firstBox.size());
        for (int i = 0; i < firstBox.size(); ++i)
            QCOMPARE(satellites->itemText(i), firstBox.at(i));
        QCOMPARE(frequencies->count(), 3);
        QCOMPARE(frequencies->currentIndex(), 1); // where the receiver's own finder stands
    } else {
        // The bouquet and channel the receiver shows.
        const auto found =
            s.f.control()->currentDatabase()->findService(s.f.receiver.box.currentServiceReference());
        QVERIFY(found);
        QCOMPARE(satellites->currentIndex(), found->first);
        QCOMPARE(frequencies->currentIndex(), found->second);
    }
    QVERIFY(s.finder->findChild<QCheckBox*>(u"satfinderLOCK_checkBox"_s)->isVisible() == e1);
    // Filling the boxes asked for nothing and switched nothing.
    QVERIFY(s.f.receiver.requestsTo(measurementPath(personality)).isEmpty());
    QVERIFY(s.f.receiver.requestsTo("/web/zap").isEmpty());
    QVERIFY(s.f.receiver.requestsTo("/cgi-bin/zapTo").isEmpty());

    s.f.timers.advance(SatFinderWidget::measureIntervalMs);
    QVERIFY(s.f.settle());
    QCOMPARE(s.f.receiver.requestsTo(measurementPath(personality)).size(), 1);
    if (e1)
        QVERIFY(s.f.receiver.requestsTo("/satFinder").first().rawQuery.startsWith("11836500"));
    QTRY_VERIFY(!s.finder->findChild<QLabel*>(u"satfinderSNR_label"_s)->text().startsWith(u'0'));

    // A choice acts at once, without waiting for the next measurement.
    QComboBox* chosen = s.box(choice.constData());
    chosen->setFocus();
    QTest::keyClick(chosen, Qt::Key_Down);
    QVERIFY(s.f.settle());
    const QList<boxsim::LoggedRequest> acted = s.f.receiver.requestsTo(chosenPath);
    QVERIFY(!acted.isEmpty());
    if (e1) {
        QVERIFY(acted.last().rawQuery.startsWith(chosenValue.toLatin1()));
        QCOMPARE(frequencies->count(), 2);
    } else {
        QCOMPARE(acted.size(), 1);
        const Channel* next = s.f.control()->currentDatabase()->channel(satellites->currentIndex(),
                                                                        frequencies->currentIndex());
        QCOMPARE(acted.first().queryValue(u"sRef"_s), next->serviceReference);
    }
}

void TestSatFinderWidget::measuresOnlyWhileShown()
{
    FinderFixture s(Personality::Enigma1);
    // Shown, hidden and shown again before the receiver answered: one timer.
    s.open();
    s.close();
    s.open();
    QVERIFY(s.f.settle());
    QCOMPARE(s.timers(), 1);
    QVERIFY(s.finder->isMeasuring());
    // A second configuration replaces the timer.
    s.f.control()->initSatfinder();
    QVERIFY(s.f.settle());
    QCOMPARE(s.timers(), 1);
    s.f.timers.advance(4 * SatFinderWidget::measureIntervalMs);
    QVERIFY(s.f.settle());
    QCOMPARE(s.f.receiver.requestsTo("/satFinder").size(), 4);

    s.close();
    QCOMPARE(s.timers(), 0);
    s.f.receiver.box.clearRequests();
    s.f.timers.advance(10 * SatFinderWidget::measureIntervalMs);
    QVERIFY(s.f.settle());
    QVERIFY(s.f.receiver.requestsTo("/satFinder").isEmpty());

    // An answer that comes after the page went starts nothing.
    s.open();
    s.close();
    QVERIFY(s.f.settle());
    QCOMPARE(s.timers(), 0);
    s.f.timers.advance(10 * SatFinderWidget::measureIntervalMs);
    QVERIFY(s.f.settle());
    QVERIFY(s.f.receiver.requestsTo("/satFinder").isEmpty());
}

void TestSatFinderWidget::enigma2BeforeLoading()
{
    FinderFixture s(Personality::Enigma2);
    s.open();
    s.f.timers.advance(4 * SatFinderWidget::measureIntervalMs);
    QVERIFY(s.f.settle());
    QVERIFY(s.f.receiver.box.requests().isEmpty());
    QVERIFY(s.finder->findChild<QLabel*>(u"satfinderHint_label"_s)->isVisible());
}

void TestSatFinderWidget::receiverChangeStopsTheOldCycle()
{
    FinderFixture s(Personality::Enigma2);
    QVERIFY(s.f.load());
    s.open();
    QVERIFY(s.f.settle());
    QVERIFY(s.finder->isMeasuring());

    boxsim::BoxSim other(Personality::Enigma2);
    Profile profile = Settings().getActiveProfile();
    profile.wlanPort = QString::number(other.listen());
    Q_EMIT s.f.control()->activeProfileChanged(profile);
    QVERIFY(s.f.settle());
    s.f.receiver.box.clearRequests();
    s.f.timers.advance(4 * SatFinderWidget::measureIntervalMs);
    QVERIFY(s.f.settle());
    QVERIFY(s.f.receiver.requestsTo("/web/signal").isEmpty());
    QCOMPARE(s.timers(), 1);
    const QList<boxsim::LoggedRequest> measured = other.requests();
    QVERIFY(std::any_of(measured.begin(), measured.end(),
                        [](const boxsim::LoggedRequest& r) { return r.rawPath == "/web/signal"; }));

    // A reload while the page is open: the old cycle ends with the old image.
    Q_EMIT s.f.control()->resetServiceDataLists();
    QCOMPARE(s.timers(), 0);
    QVERIFY(s.box("satfinderSatelite_comboBox")->count() == 0);
}

void TestSatFinderWidget::meters_data()
{
    QTest::addColumn<bool>("enigma1");
    QTest::addColumn<int>("percent");
    QTest::addColumn<QString>("text"); // as an Enigma2 receiver says it
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("bar");

    QTest::newRow("enigma1 57") << true << 57 << QString() << u"57%"_s << 57;
    QTest::newRow("enigma1 above full is capped") << true << 140 << QString() << u"140%"_s << 100;
    QTest::newRow("enigma1 below zero is empty") << true << -3 << QString() << u"-3%"_s << 0;
    QTest::newRow("enigma2 100 with a space") << false << 100 << u"100 %"_s << u"100 %"_s << 100;
    QTest::newRow("enigma2 above full is capped") << false << 180 << u"180 %"_s << u"180 %"_s << 100;
    QTest::newRow("enigma2 empty reading after a full one") << false << 0 << QString() << QString() << 0;
}

void TestSatFinderWidget::meters()
{
    QFETCH(bool, enigma1);
    QFETCH(int, percent);
    QFETCH(QString, text);
    FinderFixture s(enigma1 ? Personality::Enigma1 : Personality::Enigma2);
    if (enigma1) {
        SatfinderData data{percent, percent, 0, true, true};
        s.finder->satfinderRefreshData(&data);
    } else {
        SignalInfo full{90, 90, 0, u"90 %"_s, u"13.1 dB"_s, u"90 %"_s, u"0"_s};
        s.finder->satfinderRefreshData(&full);
        SignalInfo info{percent, percent, 0, text, QString(), text, QString()};
        s.finder->satfinderRefreshData(&info);
    }
    QTEST(s.finder->findChild<QLabel*>(u"satfinderSNR_label"_s)->text(), "shown");
    QTEST(s.finder->findChild<QProgressBar*>(u"satfinderSNR_progressBar"_s)->value(), "bar");
    QTEST(s.finder->findChild<QProgressBar*>(u"satfinderAGC_progressBar"_s)->value(), "bar");
}

QTEST_MAIN(TestSatFinderWidget)
#include "tst_satfinderwidget.moc"
