// The pages behind the extras: the receiver's information, the satellite finder, the message
// pages and the remote control, each opened from the window in front of the simulated receiver.

#include "box/remotekey.h"
#include "control/controltimer.h"
#include "model/channel.h"
#include "model/records.h"
#include "model/tavreldatabase.h"
#include "tests/mainwindow/windowfixture.h"
#include "ui/pages/generalinfowidget.h"
#include "ui/pages/messagepage.h"
#include "ui/pages/remotewidget.h"
#include "ui/pages/satfinderwidget.h"
#include "ui/pages/tvpictureview.h"
#include "ui/shell/shellservices.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QToolButton>

using namespace Qt::StringLiterals;
using boxsim::FaultKind;
using boxsim::Personality;

Q_DECLARE_METATYPE(boxsim::Personality)

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

// Clicks a check box where a person would: on its box.
void clickBox(QCheckBox* box)
{
    QStyleOptionButton option;
    option.initFrom(box);
    const QRect indicator = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
    QTest::mouseClick(box, Qt::LeftButton, {}, indicator.center());
}

void typeNumber(QSpinBox* spin, int value)
{
    spin->setFocus();
    QTest::keyClick(spin, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(spin, QString::number(value));
}

// The message page of the active profile, opened from the menu as a user opens it.
class MessageFixture
{
public:
    explicit MessageFixture(Personality personality)
        : f(personality)
    {
        f.window->show();
        f.trigger("messageSenderAction");
        page = f.find<MessagePage>(personality == Personality::Enigma1 ? "messageWidget" : "messageWidgetE2");
        window = page->window();
        window->resize(800, 480);
    }

    template<typename T>
    T* in(const QString& set, const char* name) const
    {
        auto* container = page->findChild<QWidget*>(set);
        return container->findChild<T*>(QString::fromLatin1(name));
    }

    // Both sets of a page: landscape first.
    QStringList sets() const
    {
        const QString prefix =
            page->objectName() == u"messageWidget" ? u"MessageWidget"_s : u"MessageWidgetE2"_s;
        return {prefix + u"_ls"_s, prefix + u"_pt"_s};
    }

    template<typename T>
    QList<T*> both(const char* name) const
    {
        return {in<T>(sets().at(0), name), in<T>(sets().at(1), name)};
    }
    [[nodiscard]] bool turnTo(int width, int height)
    {
        window->resize(width, height);
        const int set = width > height ? 0 : 1;
        return QTest::qWaitFor([this, set] { return page->visibleSet() == set; }, 5000);
    }

    QString visible() const { return sets().at(page->visibleSet()); }

    WindowFixture f;
    MessagePage* page = nullptr;
    QWidget* window = nullptr;
};

// The remote page of the main window, opened as a user opens it.
class RemoteFixture
{
public:
    explicit RemoteFixture(Personality personality)
        : f(personality)
    {
        f.window->show();
        f.trigger("remoteAction");
        remote = f.find<RemoteWidget>("remoteWidget");
        picture = f.find<QLabel>("tvPicture_label");
    }

    QToolButton* key(const RemoteKeyCode& code) const
    {
        return remote->findChild<QToolButton*>(u"remoteKey_%1_toolButton"_s.arg(QLatin1String(code.name)));
    }
    qsizetype grabs() const { return f.receiver.requestsTo("/grab").size(); }
    bool enigma1() const { return f.receiver.box.personality() == Personality::Enigma1; }
    int code(RemoteKey key) const
    {
        return enigma1() ? remoteKeyCode(key).enigma1 : remoteKeyCode(key).enigma2;
    }

    WindowFixture f;
    RemoteWidget* remote = nullptr;
    QLabel* picture = nullptr;
};

} // namespace

class TestExtraPages : public QObject
{
    Q_OBJECT

private slots:
    // The information page.
    void recordsFillTheirSubPage_data();
    void recordsFillTheirSubPage();
    void receiverAnswersFillTheMatchingPage_data();
    void receiverAnswersFillTheMatchingPage();
    // The satellite finder.
    void satFinderSetUpThenChoose_data();
    void satFinderSetUpThenChoose();
    void measuresOnlyWhileShown();
    void enigma2BeforeLoading();
    void receiverChangeStopsTheOldCycle();
    void satFinderMeters_data();
    void satFinderMeters();
    // The message pages.
    void messageOptionsMirror_data();
    void messageOptionsMirror();
    void messageTypedTextFollows();
    void messageSending_data();
    void messageSending();
    void messageAnswers_data();
    void messageAnswers();
    // The remote control page.
    void everyKeyOnceInOrder_data();
    void everyKeyOnceInOrder();
    void remoteLongPress_data();
    void remoteLongPress();
    void pictureFollowsKeysOnlyWhileShown();
    void missingPictureIsSaid_data();
    void missingPictureIsSaid();
};

void TestExtraPages::recordsFillTheirSubPage_data()
{
    QTest::addColumn<QStringList>("records"); // given to the page in this order
    QTest::addColumn<QString>("page");
    QTest::addColumn<QStringList>("values"); // label=text
    QTest::newRow("nothing yet") << QStringList() << u"enigma2_page"_s
                                 << QStringList{u"infoEnigmaVersion_label="_s,
                                                u"infoBytesReceived_label_2="_s};
    QTest::newRow("enigma1 after enigma2 keeps the hidden values")
        << QStringList{u"e2"_s, u"e1"_s} << u"enigma1_page"_s
        << QStringList{u"infoEnigmaVersion_label=OE 2.0"_s, u"infoKernel_label=2.6.9"_s,
                       u"infoDHCP_label=No"_s};
    QTest::newRow("enigma2 again shows them")
        << QStringList{u"e2"_s, u"e1"_s, u"e2 dhcp"_s} << u"enigma2_page"_s
        << QStringList{u"infoEnigmaVersion_label=OE 2.0"_s, u"infoDHCP_label=Yes"_s, u"infoCPU_label=MIPS"_s};
    QTest::newRow("signal before any about record")
        << QStringList{u"signal"_s} << u"enigma2_page"_s
        << QStringList{u"infoSNRdB_label=12.5 dB"_s, u"infoBER_label=7"_s};
    QTest::newRow("device data before any about record")
        << QStringList{u"device"_s} << u"enigma2_page"_s
        << QStringList{u"infoFreeSpace_label_2=120 GB"_s, u"infoCapacity_label_2=80 %"_s,
                       u"infoSNR_label_2=77"_s};
    QTest::newRow("empty data text clears both")
        << QStringList{u"data 1.2 MB"_s, u"data "_s} << u"enigma2_page"_s
        << QStringList{u"infoBytesReceived_label="_s, u"infoBytesReceived_label_2="_s};
}

void TestExtraPages::recordsFillTheirSubPage()
{
    QFETCH(QStringList, records);
    QFETCH(QString, page);
    QFETCH(QStringList, values);
    AboutInfo e2;
    AboutInfoE1 e1;
    SignalInfo signal;
    DeviceData device;
    e2.enigmaVersion = u"OE 2.0"_s;
    e1.processor = u"MIPS"_s;
    e1.linuxKernel = u"2.6.9"_s;
    signal.snrDbText = u"12.5 dB"_s;
    signal.berText = u"7"_s;
    device.diskGB = u"120 GB"_s;
    device.diskH = u"80 %"_s;
    device.snr = u"77"_s;
    GeneralInfoWidget info(nullptr);
    for (const QString& record : std::as_const(records)) {
        e2.lanDhcp = record == u"e2 dhcp";
        if (record.startsWith(u"e2"))
            info.setAboutInformation(&e2);
        else if (record == u"e1")
            info.setAboutInformation(&e1);
        else if (record == u"signal")
            info.setSignalInformation(&signal);
        else if (record == u"device")
            info.setDeviceInformation(&device);
        else
            info.setDataInformation(record.mid(5));
    }
    QCOMPARE(info.findChild<QStackedWidget*>()->currentWidget()->objectName(), page);
    for (const QString& value : std::as_const(values)) {
        const auto* label = info.findChild<QLabel*>(value.section(u'=', 0, 0));
        QVERIFY2(label, qPrintable(value));
        QCOMPARE(label->text(), value.section(u'=', 1));
        QVERIFY(label->textInteractionFlags().testFlag(Qt::TextSelectableByMouse));
    }
}

void TestExtraPages::receiverAnswersFillTheMatchingPage_data()
{
    QTest::addColumn<boxsim::Personality>("personality");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("model");
    QTest::newRow("enigma2") << boxsim::Personality::Enigma2 << u"enigma2_page"_s << u"infoModel_label"_s;
    QTest::newRow("enigma1") << boxsim::Personality::Enigma1 << u"enigma1_page"_s << u"infoModel_label_2"_s;
}

void TestExtraPages::receiverAnswersFillTheMatchingPage()
{
    QFETCH(boxsim::Personality, personality);
    QFETCH(QString, page);
    QFETCH(QString, model);
    WindowFixture f(personality);
    QVERIFY(f.load());
    f.trigger("infoAction");
    QVERIFY(f.settle());
    const auto* info = f.find<GeneralInfoWidget>("infoWidget");
    QCOMPARE(info->findChild<QStackedWidget*>()->currentWidget()->objectName(), page);
    QVERIFY(!info->findChild<QLabel*>(model)->text().isEmpty());
    QVERIFY(!info->findChild<QLabel*>(u"infoBytesReceived_label"_s)->text().isEmpty());
    f.window->shell()->closeStackedWindow(f.find<QWidget>("infoPage"));
}

void TestExtraPages::satFinderSetUpThenChoose_data()
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

void TestExtraPages::satFinderSetUpThenChoose()
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

void TestExtraPages::measuresOnlyWhileShown()
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

void TestExtraPages::enigma2BeforeLoading()
{
    FinderFixture s(Personality::Enigma2);
    s.open();
    s.f.timers.advance(4 * SatFinderWidget::measureIntervalMs);
    QVERIFY(s.f.settle());
    QVERIFY(s.f.receiver.box.requests().isEmpty());
    QVERIFY(s.finder->findChild<QLabel*>(u"satfinderHint_label"_s)->isVisible());
}

void TestExtraPages::receiverChangeStopsTheOldCycle()
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

void TestExtraPages::satFinderMeters_data()
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

void TestExtraPages::satFinderMeters()
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

void TestExtraPages::messageOptionsMirror_data()
{
    QTest::addColumn<Personality>("personality");
    QTest::addColumn<bool>("portrait");
    QTest::addColumn<QStringList>("clicks");
    // "control.property" true in both sets, "!control.property" false in both.
    QTest::addColumn<QStringList>("expected");

    const auto e1 = Personality::Enigma1;
    const auto e2 = Personality::Enigma2;
    QTest::newRow("timeout enables the seconds")
        << e1 << true << QStringList{u"timeout"_s} << QStringList{u"timeout.checked"_s, u"seconds.enabled"_s};
    QTest::newRow("ok button takes the timeout away")
        << e1 << false << QStringList{u"timeout"_s, u"ok"_s}
        << QStringList{u"ok.checked"_s, u"!timeout.checked"_s, u"!timeout.enabled"_s, u"!seconds.enabled"_s};
    QTest::newRow("ok button off gives back the timeout, not the seconds")
        << e1 << true << QStringList{u"timeout"_s, u"ok"_s, u"ok"_s}
        << QStringList{u"!ok.checked"_s, u"timeout.enabled"_s, u"!timeout.checked"_s, u"!seconds.enabled"_s};
    QTest::newRow("no question, no reply request")
        << e2 << false << QStringList() << QStringList{u"!reply.enabled"_s};
    QTest::newRow("question enables reply request")
        << e2 << true << QStringList{u"question"_s} << QStringList{u"question.checked"_s, u"reply.enabled"_s};
    QTest::newRow("question off disables it again")
        << e2 << false << QStringList{u"question"_s, u"question"_s}
        << QStringList{u"!question.checked"_s, u"!reply.enabled"_s};
}

void TestExtraPages::messageOptionsMirror()
{
    QFETCH(Personality, personality);
    QFETCH(bool, portrait);
    QFETCH(QStringList, clicks);
    QFETCH(QStringList, expected);
    const QHash<QString, const char*> names{{u"timeout"_s, "messageTimeout_checkBox"},
                                            {u"seconds"_s, "messageTimeout_spinBox"},
                                            {u"ok"_s, "messageOkButton_checkBox"},
                                            {u"question"_s, "messageQuestion_checkBox"},
                                            {u"reply"_s, "messageAnswer_pushButton"}};
    MessageFixture m(personality);
    if (portrait)
        QVERIFY(m.turnTo(480, 800));
    for (const QString& click : clicks)
        clickBox(m.in<QCheckBox>(m.visible(), names.value(click)));
    for (QString state : expected) {
        const bool wanted = !state.startsWith(u'!');
        if (!wanted)
            state.remove(0, 1);
        const QStringList parts = state.split(u'.');
        for (QWidget* control : m.both<QWidget>(names.value(parts.at(0))))
            QVERIFY2(control->property(parts.at(1).toLatin1().constData()).toBool() == wanted,
                     qPrintable(state + u" in "_s + control->parentWidget()->objectName()));
    }
}

void TestExtraPages::messageTypedTextFollows()
{
    MessageFixture m(Personality::Enigma1);
    // Header and seconds typed in portrait are in the landscape set before any turn.
    QVERIFY(m.turnTo(480, 800));
    QTest::keyClicks(m.in<QLineEdit>(u"MessageWidget_pt"_s, "messageHead_lineEdit"), u"Dinner"_s);
    QCOMPARE(m.in<QLineEdit>(u"MessageWidget_ls"_s, "messageHead_lineEdit")->text(), u"Dinner"_s);
    clickBox(m.in<QCheckBox>(u"MessageWidget_pt"_s, "messageTimeout_checkBox"));
    typeNumber(m.in<QSpinBox>(u"MessageWidget_pt"_s, "messageTimeout_spinBox"), 25);
    QCOMPARE(m.in<QSpinBox>(u"MessageWidget_ls"_s, "messageTimeout_spinBox")->value(), 25);

    // The body goes over with a turn, and only then: a taller window is no turn.
    QTest::keyClicks(m.in<QTextEdit>(u"MessageWidget_pt"_s, "messageBody_textEdit"), u"Pizza is here"_s);
    QVERIFY(m.in<QTextEdit>(u"MessageWidget_ls"_s, "messageBody_textEdit")->toPlainText().isEmpty());
    QVERIFY(m.turnTo(500, 900));
    QVERIFY(QTest::qWaitFor([&m] { return m.page->height() > 800; }));
    QCOMPARE(m.in<QTextEdit>(u"MessageWidget_pt"_s, "messageBody_textEdit")->toPlainText(),
             u"Pizza is here"_s);
    QVERIFY(m.turnTo(800, 480));
    QCOMPARE(m.in<QTextEdit>(u"MessageWidget_ls"_s, "messageBody_textEdit")->toPlainText(),
             u"Pizza is here"_s);
}

void TestExtraPages::messageSending_data()
{
    QTest::addColumn<Personality>("personality");
    QTest::addColumn<bool>("uncheckTimeout");
    QTest::addColumn<bool>("okButtonOrQuestion");
    QTest::addColumn<FaultKind>("fault");
    QTest::addColumn<QString>("timeout");
    QTest::addColumn<QString>("type");

    const auto e1 = Personality::Enigma1;
    const auto e2 = Personality::Enigma2;
    const auto none = FaultKind::None;
    QTest::newRow("enigma1 unchecked timeout passes 0 whatever the seconds")
        << e1 << true << false << none << u"0"_s << QString();
    QTest::newRow("enigma1 checked timeout passes its seconds")
        << e1 << false << false << none << u"30"_s << QString();
    QTest::newRow("enigma1 ok button waits for the viewer")
        << e1 << false << true << none << u"-1"_s << QString();
    QTest::newRow("enigma2 information with its seconds")
        << e2 << false << false << none << u"30"_s << u"2"_s;
    QTest::newRow("enigma2 question, unchecked timeout passes 0")
        << e2 << true << true << none << u"0"_s << u"0"_s;
    QTest::newRow("enigma1 unreachable")
        << e1 << false << false << FaultKind::Refuse << QString() << QString();
    QTest::newRow("enigma2 server error") << e2 << false << false << FaultKind::Http500 << u"30"_s << u"2"_s;
}

void TestExtraPages::messageSending()
{
    QFETCH(Personality, personality);
    QFETCH(bool, uncheckTimeout);
    QFETCH(bool, okButtonOrQuestion);
    QFETCH(FaultKind, fault);
    QFETCH(QString, timeout);
    QFETCH(QString, type);
    MessageFixture m(personality);
    const bool e1 = personality == Personality::Enigma1;
    const QByteArray path = e1 ? "/cgi-bin/xmessage" : "/web/message";
    if (fault != FaultKind::None)
        m.f.receiver.box.setPathFault(QString::fromLatin1(path), {fault});
    QVERIFY(m.turnTo(480, 800)); // the portrait set is the one read
    const QString set = m.visible();
    if (e1)
        QTest::keyClicks(m.in<QLineEdit>(set, "messageHead_lineEdit"), u"Kitchen"_s);
    QTest::keyClicks(m.in<QTextEdit>(set, "messageBody_textEdit"), u"Tea & cake #1"_s);
    clickBox(m.in<QCheckBox>(set, "messageTimeout_checkBox"));
    typeNumber(m.in<QSpinBox>(set, "messageTimeout_spinBox"), 30);
    if (uncheckTimeout)
        clickBox(m.in<QCheckBox>(set, "messageTimeout_checkBox"));
    if (okButtonOrQuestion)
        clickBox(m.in<QCheckBox>(set, e1 ? "messageOkButton_checkBox" : "messageQuestion_checkBox"));

    QTest::mouseClick(m.in<QPushButton>(set, "messageSend_pushButton"), Qt::LeftButton);
    QVERIFY(m.f.settle());
    if (!timeout.isEmpty()) {
        const QList<boxsim::LoggedRequest> sent = m.f.receiver.requestsTo(path);
        QCOMPARE(sent.size(), 1);
        QCOMPARE(sent.first().queryValue(u"timeout"_s), timeout);
        QCOMPARE(sent.first().queryValue(e1 ? u"body"_s : u"text"_s), u"Tea & cake #1"_s);
        QCOMPARE(sent.first().queryValue(e1 ? u"caption"_s : u"type"_s), e1 ? u"Kitchen"_s : type);
    }

    // "sent..." only for a message the receiver took, for two seconds; a failure says so.
    const bool taken = fault == FaultKind::None;
    const auto buttons = [&m] {
        return QStringList{m.in<QPushButton>(m.sets().at(0), "messageSend_pushButton")->text(),
                           m.in<QPushButton>(m.sets().at(1), "messageSend_pushButton")->text()};
    };
    const QString shown = taken ? u"sent..."_s : u"Send"_s;
    QCOMPARE(buttons(), QStringList({shown, shown}));
    for (QLabel* state : m.both<QLabel>("messageState_label"))
        QCOMPARE(state->text().isEmpty(), taken);
    // Nothing typed is lost, whatever became of the message.
    QCOMPARE(m.in<QTextEdit>(set, "messageBody_textEdit")->toPlainText(), u"Tea & cake #1"_s);
    m.f.timers.advance(MessagePage::sentNoticeMs - 1);
    QCOMPARE(buttons(), QStringList({shown, shown}));
    m.f.timers.advance(1);
    QCOMPARE(buttons(), QStringList({u"Send"_s, u"Send"_s}));
}

void TestExtraPages::messageAnswers_data()
{
    QTest::addColumn<boxsim::MessageAnswer>("viewer");
    QTest::addColumn<QString>("text");

    QTest::newRow("yes") << boxsim::MessageAnswer::Yes << u"Answer is YES!"_s;
    QTest::newRow("no") << boxsim::MessageAnswer::No << u"Answer is NO!"_s;
    QTest::newRow("no answer") << boxsim::MessageAnswer::NoAnswer << u"No answer in time!"_s;
}

void TestExtraPages::messageAnswers()
{
    QFETCH(boxsim::MessageAnswer, viewer);
    QFETCH(QString, text);
    MessageFixture m(Personality::Enigma2);
    m.f.receiver.box.setMessageAnswer(viewer);
    QTest::keyClicks(m.in<QTextEdit>(m.visible(), "messageBody_textEdit"), u"More tea?"_s);
    clickBox(m.in<QCheckBox>(m.visible(), "messageQuestion_checkBox"));
    QTest::mouseClick(m.in<QPushButton>(m.visible(), "messageSend_pushButton"), Qt::LeftButton);
    QVERIFY(m.f.settle());
    // Only the button asks for the answer.
    QVERIFY(m.f.receiver.requestsTo("/web/messageanswer").isEmpty());
    QTest::mouseClick(m.in<QPushButton>(m.visible(), "messageAnswer_pushButton"), Qt::LeftButton);
    QVERIFY(m.f.settle());
    QTRY_COMPARE(m.f.boxes.asked().size(), 1);
    const AskedMessageBox box = m.f.boxes.asked().first();
    QCOMPARE(box.text, text);
    QCOMPARE(box.icon, QMessageBox::Warning);
    QCOMPARE(box.buttons, QStringList{u"OK"_s});
    QCOMPARE(box.parent, m.page);
    QCOMPARE(m.f.receiver.requestsTo("/web/messageanswer").size(), 1);
}

void TestExtraPages::everyKeyOnceInOrder_data()
{
    QTest::addColumn<Personality>("personality");
    QTest::newRow("enigma2") << Personality::Enigma2;
    QTest::newRow("enigma1") << Personality::Enigma1;
}

void TestExtraPages::everyKeyOnceInOrder()
{
    QFETCH(Personality, personality);
    RemoteFixture r(personality);
    QList<boxsim::RemoteKeyPress> expected;
    // Every button, clicked faster than the receiver answers.
    for (const RemoteKeyCode& code : remoteKeyCodes()) {
        QToolButton* button = r.key(code);
        QVERIFY2(button, code.name);
        QTest::mouseClick(button, Qt::LeftButton);
        expected.append({r.code(code.key), false});
    }
    // The keyboard; a key the keyboard repeats while held is one press.
    const QList<std::pair<Qt::Key, RemoteKey>> keyboard{{Qt::Key_7, RemoteKey::Digit7},
                                                        {Qt::Key_0, RemoteKey::Digit0},
                                                        {Qt::Key_Up, RemoteKey::Up},
                                                        {Qt::Key_Down, RemoteKey::Down},
                                                        {Qt::Key_Left, RemoteKey::Left},
                                                        {Qt::Key_Right, RemoteKey::Right},
                                                        {Qt::Key_Return, RemoteKey::Ok},
                                                        {Qt::Key_Escape, RemoteKey::Exit},
                                                        {Qt::Key_PageUp, RemoteKey::ChannelUp},
                                                        {Qt::Key_PageDown, RemoteKey::ChannelDown},
                                                        {Qt::Key_Plus, RemoteKey::VolumeUp},
                                                        {Qt::Key_Minus, RemoteKey::VolumeDown}};
    for (const auto& [key, remoteKey] : keyboard) {
        QTest::keyClick(r.remote, key);
        expected.append({r.code(remoteKey), false});
    }
    QTest::simulateEvent(r.remote, true, Qt::Key_7, Qt::NoModifier, u"7"_s, true);
    QTest::keyClick(r.remote, Qt::Key_A); // no key of the remote

    QTRY_COMPARE_WITH_TIMEOUT(r.f.receiver.box.remoteKeys().size(), expected.size(), 10000);
    QVERIFY(r.f.settle());
    QCOMPARE(r.f.receiver.box.remoteKeys(), expected);
    QCOMPARE(r.f.targetsTo(r.enigma1() ? u"/cgi-bin/rc"_s : u"/web/remotecontrol"_s).size(), expected.size());
    // Escape was the remote's Exit, not the way back.
    QVERIFY(r.f.window->shell()->isStackedWindowOpen(r.f.find<QWidget>("remotePage")));
    QVERIFY(r.remote->findChild<QLabel*>(u"remoteMapping_label"_s)->text().contains(u"Esc"_s));
}

void TestExtraPages::remoteLongPress_data()
{
    QTest::addColumn<Personality>("personality");
    QTest::addColumn<QString>("target");
    QTest::newRow("enigma2") << Personality::Enigma2 << u"/web/remotecontrol?command=352&type=long"_s;
    QTest::newRow("enigma1") << Personality::Enigma1 << u"/cgi-bin/rc?352:1"_s;
}

void TestExtraPages::remoteLongPress()
{
    QFETCH(Personality, personality);
    QFETCH(QString, target);
    RemoteFixture r(personality);
    QToolButton* ok = r.key(remoteKeyCode(RemoteKey::Ok));
    QTest::mousePress(ok, Qt::LeftButton);
    r.f.timers.advance(RemoteWidget::longPressMs);
    QTest::mouseRelease(ok, Qt::LeftButton);
    QTRY_COMPARE(r.f.receiver.box.remoteKeys().size(), 1);
    QVERIFY(r.f.settle());
    QCOMPARE(r.f.receiver.box.remoteKeys().first(), (boxsim::RemoteKeyPress{352, true}));
    QCOMPARE(r.f.targetsTo(target.section(u'?', 0, 0)), QStringList{target});
}

void TestExtraPages::pictureFollowsKeysOnlyWhileShown()
{
    RemoteFixture r(Personality::Enigma2);
    QTRY_VERIFY(!r.picture->pixmap().isNull());
    QCOMPARE(r.grabs(), 1);

    // A moment after the receiver took a key, and every few seconds.
    QTest::mouseClick(r.key(remoteKeyCode(RemoteKey::Menu)), Qt::LeftButton);
    QTRY_COMPARE(r.f.receiver.box.remoteKeys().size(), 1);
    QVERIFY(r.f.settle());
    QCOMPARE(r.grabs(), 1);
    r.f.timers.advance(TvPictureView::afterKeyDelayMs);
    QTRY_COMPARE(r.grabs(), 2);
    QVERIFY(r.f.settle());
    r.f.timers.advance(TvPictureView::refreshIntervalMs - TvPictureView::afterKeyDelayMs);
    QTRY_COMPARE(r.grabs(), 3);
    QVERIFY(r.f.settle());

    // Saved as the receiver sent it.
    QTemporaryDir folder;
    auto* view = r.f.find<TvPictureView>("tvPictureView");
    QVERIFY(view->savePicture(folder.filePath(u"tv.png"_s)));
    QFile saved(folder.filePath(u"tv.png"_s));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QVERIFY(saved.readAll().startsWith("\x89PNG\r\n\x1a\n"));

    // Hidden, nothing is asked for, keys or not.
    r.f.window->shell()->closeStackedWindow(r.f.find<QWidget>("remotePage"));
    QTRY_VERIFY(!r.remote->isVisible());
    r.f.control()->sendRemoteKey(RemoteKey::Ok, false);
    QTRY_COMPARE(r.f.receiver.box.remoteKeys().size(), 2);
    QVERIFY(r.f.settle());
    r.f.timers.advance(10 * TvPictureView::refreshIntervalMs);
    QVERIFY(r.f.settle());
    QCOMPARE(r.grabs(), 3);
}

void TestExtraPages::missingPictureIsSaid_data()
{
    QTest::addColumn<Personality>("personality");
    QTest::addColumn<QByteArray>("grabAnswer"); // a replayed answer; empty: the receiver's own
    QTest::addColumn<bool>("fails");
    QTest::addColumn<QString>("said");

    QTest::newRow("enigma1") << Personality::Enigma1 << QByteArray() << false << u"Enigma1"_s;
    QTest::newRow("error answer") << Personality::Enigma2 << QByteArray() << true << u"HTTP 500"_s;
    QTest::newRow("text instead of a picture")
        << Personality::Enigma2 << QByteArray("<html><body>grab not installed</body></html>") << false
        << u"no picture"_s;
}

void TestExtraPages::missingPictureIsSaid()
{
    QFETCH(Personality, personality);
    QFETCH(QByteArray, grabAnswer);
    QFETCH(bool, fails);
    QFETCH(QString, said);

    QTemporaryDir replay;
    WindowFixture f(personality);
    if (fails)
        f.receiver.box.setPathFault(u"/grab"_s, {boxsim::FaultKind::Http500});
    if (!grabAnswer.isEmpty()) {
        QFile page(replay.filePath(u"grab.html"_s));
        QVERIFY(page.open(QIODevice::WriteOnly) && page.write(grabAnswer) == grabAnswer.size());
        page.close();
        QVERIFY(f.receiver.box.setReplayDirectory(replay.path()));
    }
    f.window->show();
    f.trigger("remoteAction");
    auto* picture = f.find<QLabel>("tvPicture_label");
    QTRY_VERIFY2(picture->text().contains(said), qPrintable(picture->text()));
    QVERIFY(picture->pixmap().isNull());
    QVERIFY(!f.find<QAction>("tvPictureSaveAction")->isEnabled());
}

QTEST_MAIN(TestExtraPages)
#include "tst_extrapages.moc"
