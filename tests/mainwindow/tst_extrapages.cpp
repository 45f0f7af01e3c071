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
#include <QRegularExpression>
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
class FinderFixture : public WindowFixture
{
public:
    explicit FinderFixture(Personality personality)
        : WindowFixture(personality)
    {
        window->show();
        finder = find<SatFinderWidget>("satFinderWidget");
        page = find<QWidget>("satfinder_page");
    }

    void open() { trigger("satfinderAction"); }
    void close() { window->shell()->closeStackedWindow(page); }
    qsizetype cycles() const { return finder->findChildren<ControlTimer*>().size(); }
    QComboBox* box(const char* name) const
    {
        return finder->findChild<QComboBox*>(QString::fromLatin1(name));
    }
    QString text(const char* label) const
    {
        return finder->findChild<QLabel*>(QLatin1StringView(label))->text();
    }

    SatFinderWidget* finder = nullptr;
    QWidget* page = nullptr;
};

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
class MessageFixture : public WindowFixture
{
public:
    explicit MessageFixture(Personality personality)
        : WindowFixture(personality)
    {
        window->show();
        trigger("messageSenderAction");
        page = find<MessagePage>(personality == Personality::Enigma1 ? "messageWidget" : "messageWidgetE2");
        page->window()->resize(800, 480);
    }

    // A control of one set: 0 landscape, 1 portrait, -1 the visible one.
    template<typename T>
    T* in(int set, const char* name) const
    {
        const QString form =
            page->objectName() == u"messageWidget" ? u"MessageWidget"_s : u"MessageWidgetE2"_s;
        const bool portrait = (set < 0 ? page->visibleSet() : set) == 1;
        auto* container = page->findChild<QWidget*>(form + (portrait ? u"_pt"_s : u"_ls"_s));
        return container->findChild<T*>(QLatin1StringView(name));
    }

    template<typename T>
    QList<T*> both(const char* name) const
    {
        return {in<T>(0, name), in<T>(1, name)};
    }

    [[nodiscard]] bool turnTo(int width, int height)
    {
        page->window()->resize(width, height);
        const int set = width > height ? 0 : 1;
        return QTest::qWaitFor([this, set] { return page->visibleSet() == set; }, 5000);
    }

    QStringList buttons() const
    {
        return {in<QPushButton>(0, "messageSend_pushButton")->text(),
                in<QPushButton>(1, "messageSend_pushButton")->text()};
    }

    MessagePage* page = nullptr;
};

// The remote page of the main window, opened as a user opens it.
class RemoteFixture : public WindowFixture
{
public:
    explicit RemoteFixture(Personality personality)
        : WindowFixture(personality)
    {
        window->show();
        trigger("remoteAction");
        remote = find<RemoteWidget>("remoteWidget");
        picture = find<QLabel>("tvPicture_label");
    }

    QToolButton* key(const RemoteKeyCode& code) const
    {
        return remote->findChild<QToolButton*>(u"remoteKey_%1_toolButton"_s.arg(QLatin1String(code.name)));
    }
    qsizetype grabs() const { return receiver.requestsTo("/grab").size(); }
    bool enigma1() const { return receiver.box.personality() == Personality::Enigma1; }
    int code(RemoteKey key) const
    {
        return enigma1() ? remoteKeyCode(key).enigma1 : remoteKeyCode(key).enigma2;
    }

    RemoteWidget* remote = nullptr;
    QLabel* picture = nullptr;
};

} // namespace

class TestExtraPages : public QObject
{
    Q_OBJECT

private slots:
    // The information page.
    void recordsFillTheirSubPage_data()
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
            << QStringList{u"infoEnigmaVersion_label=OE 2.0"_s, u"infoDHCP_label=Yes"_s,
                           u"infoCPU_label=MIPS"_s};
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

    void recordsFillTheirSubPage()
    {
        QFETCH(QStringList, records);
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
        QTEST(info.findChild<QStackedWidget*>()->currentWidget()->objectName(), "page");
        for (const QString& value : std::as_const(values)) {
            const auto* label = info.findChild<QLabel*>(value.section(u'=', 0, 0));
            QVERIFY2(label, qPrintable(value));
            QCOMPARE(label->text(), value.section(u'=', 1));
            QVERIFY(label->textInteractionFlags().testFlag(Qt::TextSelectableByMouse));
        }
    }

    void receiverAnswersFillTheMatchingPage_data()
    {
        QTest::addColumn<Personality>("personality");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("model");
        QTest::newRow("enigma2") << Personality::Enigma2 << u"enigma2_page"_s << u"infoModel_label"_s;
        QTest::newRow("enigma1") << Personality::Enigma1 << u"enigma1_page"_s << u"infoModel_label_2"_s;
    }

    void receiverAnswersFillTheMatchingPage()
    {
        QFETCH(Personality, personality);
        QFETCH(QString, model);
        WindowFixture f(personality);
        QVERIFY(f.load());
        f.trigger("infoAction");
        QVERIFY(f.settle());
        const auto* info = f.find<GeneralInfoWidget>("infoWidget");
        QTEST(info->findChild<QStackedWidget*>()->currentWidget()->objectName(), "page");
        QVERIFY(!info->findChild<QLabel*>(model)->text().isEmpty());
        QVERIFY(!info->findChild<QLabel*>(u"infoBytesReceived_label"_s)->text().isEmpty());
        f.window->shell()->closeStackedWindow(f.find<QWidget>("infoPage"));
    }

    // The satellite finder.
    void satFinderSetUpThenChoose_data()
    {
        QTest::addColumn<Personality>("personality");
        QTest::newRow("enigma1 satellites and transponders") << Personality::Enigma1;
        QTest::newRow("enigma2 bouquets and channels") << Personality::Enigma2;
    }

    void satFinderSetUpThenChoose()
    {
        QFETCH(Personality, personality);
        FinderFixture s(personality);
        const bool e1 = personality == Personality::Enigma1;
        if (!e1)
            QVERIFY(s.load());
        s.open();
        QVERIFY(s.settle());

        // Enigma1: the receiver's satellites; Enigma2: the bouquet and channel the receiver shows.
        QComboBox* satellites = s.box("satfinderSatelite_comboBox");
        QComboBox* frequencies = s.box("satfinderFrequency_comboBox");
        if (e1) {
            QCOMPARE(satellites->count(), 2);
            QCOMPARE(satellites->itemText(0), u"Astra 19.2E"_s);
            QCOMPARE(satellites->itemText(1), u"Hotbird 13.0E"_s);
            QCOMPARE(frequencies->count(), 3);
            QCOMPARE(frequencies->currentIndex(), 1); // where the receiver's own finder stands
        } else {
            const auto found =
                s.control()->currentDatabase()->findService(s.receiver.box.currentServiceReference());
            QCOMPARE((std::pair{satellites->currentIndex(), frequencies->currentIndex()}),
                     found.value_or(std::pair{-1, -1}));
        }
        QVERIFY(s.finder->findChild<QCheckBox*>(u"satfinderLOCK_checkBox"_s)->isVisible() == e1);
        // Filling the boxes asked for nothing and switched nothing.
        const QRegularExpression measureOrZap(u"^/(satFinder|web/signal|web/zap|cgi-bin/zapTo)\\b"_s);
        QCOMPARE(s.receiver.targets().filter(measureOrZap), QStringList());

        s.timers.advance(SatFinderWidget::measureIntervalMs);
        QVERIFY(s.settle());
        const QList<boxsim::LoggedRequest> measurements =
            s.receiver.requestsTo(e1 ? "/satFinder" : "/web/signal");
        QCOMPARE(measurements.size(), 1);
        if (e1)
            QVERIFY(measurements.first().rawQuery.startsWith("11836500"));
        QTRY_VERIFY(!s.text("satfinderSNR_label").startsWith(u'0'));

        // A choice acts at once, without waiting for the next measurement: on Enigma1 another
        // satellite measures its first transponder, on Enigma2 another channel is zapped to.
        QComboBox* chosen = e1 ? satellites : frequencies;
        chosen->setFocus();
        QTest::keyClick(chosen, Qt::Key_Down);
        QVERIFY(s.settle());
        const QList<boxsim::LoggedRequest> acted = s.receiver.requestsTo(e1 ? "/satFinder" : "/web/zap");
        QVERIFY(!acted.isEmpty());
        if (e1) {
            QVERIFY(acted.last().rawQuery.startsWith("11034000"));
            QCOMPARE(frequencies->count(), 2);
        } else {
            QCOMPARE(acted.size(), 1);
            const Channel* next = s.control()->currentDatabase()->channel(satellites->currentIndex(),
                                                                          frequencies->currentIndex());
            QCOMPARE(acted.first().queryValue(u"sRef"_s), next->serviceReference);
        }
    }

    void measuresOnlyWhileShown()
    {
        FinderFixture s(Personality::Enigma1);
        // Shown, hidden and shown again before the receiver answered: one timer.
        s.open();
        s.close();
        s.open();
        QVERIFY(s.settle());
        QCOMPARE(s.cycles(), 1);
        QVERIFY(s.finder->isMeasuring());
        // A second configuration replaces the timer.
        s.control()->initSatfinder();
        QVERIFY(s.settle());
        QCOMPARE(s.cycles(), 1);
        s.timers.advance(4 * SatFinderWidget::measureIntervalMs);
        QVERIFY(s.settle());
        QCOMPARE(s.receiver.requestsTo("/satFinder").size(), 4);

        // Closed it measures nothing; an answer that comes after the page went starts nothing.
        s.receiver.box.clearRequests();
        for (const bool reopen : {false, true}) {
            if (reopen)
                s.open();
            s.close();
            if (reopen)
                QVERIFY(s.settle());
            QCOMPARE(s.cycles(), 0);
            s.timers.advance(10 * SatFinderWidget::measureIntervalMs);
            QVERIFY(s.settle());
            QCOMPARE(s.receiver.targetsTo(u"/satFinder"_s), QStringList());
        }
    }

    void enigma2BeforeLoading()
    {
        FinderFixture s(Personality::Enigma2);
        s.open();
        s.timers.advance(4 * SatFinderWidget::measureIntervalMs);
        QVERIFY(s.settle());
        QVERIFY(s.receiver.box.requests().isEmpty());
        QVERIFY(s.finder->findChild<QLabel*>(u"satfinderHint_label"_s)->isVisible());
    }

    void receiverChangeStopsTheOldCycle()
    {
        FinderFixture s(Personality::Enigma2);
        QVERIFY(s.load());
        s.open();
        QVERIFY(s.settle());
        QVERIFY(s.finder->isMeasuring());

        boxsim::BoxSim other(Personality::Enigma2);
        Profile profile = Settings().getActiveProfile();
        profile.wlanPort = QString::number(other.listen());
        Q_EMIT s.control()->activeProfileChanged(profile);
        QVERIFY(s.settle());
        s.receiver.box.clearRequests();
        s.timers.advance(4 * SatFinderWidget::measureIntervalMs);
        QVERIFY(s.settle());
        QCOMPARE(s.receiver.targetsTo(u"/web/signal"_s), QStringList());
        QCOMPARE(s.cycles(), 1);
        QVERIFY(other.requestTargets().contains("/web/signal"));

        // A reload while the page is open: the old cycle ends with the old image.
        Q_EMIT s.control()->resetServiceDataLists();
        QCOMPARE(s.cycles(), 0);
        QCOMPARE(s.box("satfinderSatelite_comboBox")->count(), 0);
    }

    void satFinderMeters_data()
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

    void satFinderMeters()
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
        QTEST(s.text("satfinderSNR_label"), "shown");
        QTEST(s.finder->findChild<QProgressBar*>(u"satfinderSNR_progressBar"_s)->value(), "bar");
        QTEST(s.finder->findChild<QProgressBar*>(u"satfinderAGC_progressBar"_s)->value(), "bar");
    }

    // The message pages.
    void messageOptionsMirror_data()
    {
        QTest::addColumn<Personality>("personality");
        QTest::addColumn<bool>("portrait");
        QTest::addColumn<QStringList>("clicks");
        // "control.property" true in both sets, "!control.property" false in both.
        QTest::addColumn<QStringList>("expected");
        const auto e1 = Personality::Enigma1;
        const auto e2 = Personality::Enigma2;
        QTest::newRow("timeout enables the seconds")
            << e1 << true << QStringList{u"timeout"_s}
            << QStringList{u"timeout.checked"_s, u"seconds.enabled"_s};
        QTest::newRow("ok button takes the timeout away")
            << e1 << false << QStringList{u"timeout"_s, u"ok"_s}
            << QStringList{u"ok.checked"_s, u"!timeout.checked"_s, u"!timeout.enabled"_s,
                           u"!seconds.enabled"_s};
        QTest::newRow("ok button off gives back the timeout, not the seconds")
            << e1 << true << QStringList{u"timeout"_s, u"ok"_s, u"ok"_s}
            << QStringList{u"!ok.checked"_s, u"timeout.enabled"_s, u"!timeout.checked"_s,
                           u"!seconds.enabled"_s};
        QTest::newRow("no question, no reply request")
            << e2 << false << QStringList() << QStringList{u"!reply.enabled"_s};
        QTest::newRow("question enables reply request")
            << e2 << true << QStringList{u"question"_s}
            << QStringList{u"question.checked"_s, u"reply.enabled"_s};
        QTest::newRow("question off disables it again")
            << e2 << false << QStringList{u"question"_s, u"question"_s}
            << QStringList{u"!question.checked"_s, u"!reply.enabled"_s};
    }

    void messageOptionsMirror()
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
            clickBox(m.in<QCheckBox>(-1, names.value(click)));
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

    void messageTypedTextFollows()
    {
        MessageFixture m(Personality::Enigma1);
        // Header and seconds typed in portrait are in the landscape set before any turn.
        QVERIFY(m.turnTo(480, 800));
        QTest::keyClicks(m.in<QLineEdit>(1, "messageHead_lineEdit"), u"Dinner"_s);
        QCOMPARE(m.in<QLineEdit>(0, "messageHead_lineEdit")->text(), u"Dinner"_s);
        clickBox(m.in<QCheckBox>(1, "messageTimeout_checkBox"));
        typeNumber(m.in<QSpinBox>(1, "messageTimeout_spinBox"), 25);
        QCOMPARE(m.in<QSpinBox>(0, "messageTimeout_spinBox")->value(), 25);

        // The body goes over with a turn, and only then: a taller window is no turn.
        const QList<QTextEdit*> bodies = m.both<QTextEdit>("messageBody_textEdit");
        QTest::keyClicks(bodies.at(1), u"Pizza is here"_s);
        QCOMPARE(bodies.at(0)->toPlainText(), QString());
        QVERIFY(m.turnTo(500, 900));
        QVERIFY(QTest::qWaitFor([&m] { return m.page->height() > 800; }));
        QCOMPARE(bodies.at(1)->toPlainText(), u"Pizza is here"_s);
        QVERIFY(m.turnTo(800, 480));
        QCOMPARE(bodies.at(0)->toPlainText(), u"Pizza is here"_s);
    }

    void messageSending_data()
    {
        QTest::addColumn<Personality>("personality");
        QTest::addColumn<bool>("uncheckTimeout");
        QTest::addColumn<bool>("okButtonOrQuestion");
        QTest::addColumn<FaultKind>("fault");
        QTest::addColumn<QStringList>("sent"); // what the receiver saw
        // Of a question: what the viewer answers, and what the answer button then says.
        QTest::addColumn<boxsim::MessageAnswer>("viewer");
        QTest::addColumn<QString>("answer"); // empty: no answer is asked for
        const auto e1 = Personality::Enigma1;
        const auto e2 = Personality::Enigma2;
        const auto none = FaultKind::None;
        const auto xmessage = [](const char* timeout) {
            return QStringList{
                u"/cgi-bin/xmessage?caption=Kitchen&timeout=%1&body=Tea%20%26%20cake%20%231"_s.arg(
                    QLatin1StringView(timeout))};
        };
        const auto message = [](const char* type, const char* timeout) {
            return QStringList{u"/web/message?text=Tea%20%26%20cake%20%231&type=%1&timeout=%2"_s.arg(
                QLatin1StringView(type), QLatin1StringView(timeout))};
        };
        const auto yes = boxsim::MessageAnswer::Yes;
        QTest::newRow("enigma1 unchecked timeout passes 0 whatever the seconds")
            << e1 << true << false << none << xmessage("0") << yes << QString();
        QTest::newRow("enigma1 checked timeout passes its seconds")
            << e1 << false << false << none << xmessage("30") << yes << QString();
        QTest::newRow("enigma1 ok button waits for the viewer")
            << e1 << false << true << none << xmessage("-1") << yes << QString();
        QTest::newRow("enigma2 information with its seconds")
            << e2 << false << false << none << message("2", "30") << yes << QString();
        QTest::newRow("enigma2 question, unchecked timeout passes 0, answered yes")
            << e2 << true << true << none << message("0", "0") << yes << u"Answer is YES!"_s;
        QTest::newRow("enigma2 question answered no") << e2 << true << true << none << message("0", "0")
                                                      << boxsim::MessageAnswer::No << u"Answer is NO!"_s;
        QTest::newRow("enigma2 question not answered in time")
            << e2 << true << true << none << message("0", "0") << boxsim::MessageAnswer::NoAnswer
            << u"No answer in time!"_s;
        QTest::newRow("enigma1 unreachable")
            << e1 << false << false << FaultKind::Refuse << QStringList() << yes << QString();
        QTest::newRow("enigma2 server error")
            << e2 << false << false << FaultKind::Http500 << message("2", "30") << yes << QString();
    }

    void messageSending()
    {
        QFETCH(Personality, personality);
        QFETCH(bool, uncheckTimeout);
        QFETCH(bool, okButtonOrQuestion);
        QFETCH(FaultKind, fault);
        QFETCH(boxsim::MessageAnswer, viewer);
        QFETCH(QString, answer);
        MessageFixture m(personality);
        m.receiver.box.setMessageAnswer(viewer);
        const bool e1 = personality == Personality::Enigma1;
        const QString path = e1 ? u"/cgi-bin/xmessage"_s : u"/web/message"_s;
        if (fault != FaultKind::None)
            m.receiver.box.setPathFault(path, {fault});
        QVERIFY(m.turnTo(480, 800)); // the portrait set is the one read
        if (e1)
            QTest::keyClicks(m.in<QLineEdit>(1, "messageHead_lineEdit"), u"Kitchen"_s);
        QTest::keyClicks(m.in<QTextEdit>(1, "messageBody_textEdit"), u"Tea & cake #1"_s);
        clickBox(m.in<QCheckBox>(1, "messageTimeout_checkBox"));
        typeNumber(m.in<QSpinBox>(1, "messageTimeout_spinBox"), 30);
        if (uncheckTimeout)
            clickBox(m.in<QCheckBox>(1, "messageTimeout_checkBox"));
        if (okButtonOrQuestion)
            clickBox(m.in<QCheckBox>(1, e1 ? "messageOkButton_checkBox" : "messageQuestion_checkBox"));

        QTest::mouseClick(m.in<QPushButton>(1, "messageSend_pushButton"), Qt::LeftButton);
        QVERIFY(m.settle());
        if (fault != FaultKind::Refuse)
            QTEST(m.targetsTo(path), "sent");

        // "sent..." only for a message the receiver took, for two seconds; a failure says so.
        const bool taken = fault == FaultKind::None;
        const QString shown = taken ? u"sent..."_s : u"Send"_s;
        QCOMPARE(m.buttons(), QStringList({shown, shown}));
        for (QLabel* state : m.both<QLabel>("messageState_label"))
            QCOMPARE(state->text().isEmpty(), taken);
        // Nothing typed is lost, whatever became of the message.
        QCOMPARE(m.in<QTextEdit>(1, "messageBody_textEdit")->toPlainText(), u"Tea & cake #1"_s);
        m.timers.advance(MessagePage::sentNoticeMs - 1);
        QCOMPARE(m.buttons(), QStringList({shown, shown}));
        m.timers.advance(1);
        QCOMPARE(m.buttons(), QStringList({u"Send"_s, u"Send"_s}));
        if (answer.isEmpty())
            return;

        // Only the button asks for the answer: the landscape form's, not the form the message went from.
        QCOMPARE(m.targetsTo(u"/web/messageanswer"_s), QStringList());
        QVERIFY(m.turnTo(800, 480));
        QTest::mouseClick(m.in<QPushButton>(0, "messageAnswer_pushButton"), Qt::LeftButton);
        QVERIFY(m.settle());
        QTRY_COMPARE(m.boxes.asked().size(), 1);
        const AskedMessageBox box = m.boxes.asked().first();
        QCOMPARE(box.text, answer);
        QCOMPARE(box.icon, QMessageBox::Warning);
        QCOMPARE(box.buttons, QStringList{u"OK"_s});
        QCOMPARE(box.parent, m.page);
        QCOMPARE(m.targetsTo(u"/web/messageanswer"_s).size(), 1);
    }

    // The remote control page.
    void everyKeyOnceInOrder_data()
    {
        QTest::addColumn<Personality>("personality");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("longOk");
        QTest::newRow("enigma2") << Personality::Enigma2 << u"/web/remotecontrol"_s
                                 << u"/web/remotecontrol?command=352&type=long"_s;
        QTest::newRow("enigma1") << Personality::Enigma1 << u"/cgi-bin/rc"_s << u"/cgi-bin/rc?352:1"_s;
    }

    void everyKeyOnceInOrder()
    {
        QFETCH(Personality, personality);
        QFETCH(QString, path);
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
        QTRY_COMPARE_WITH_TIMEOUT(r.receiver.box.remoteKeys().size(), expected.size(), 10000);
        // A button held for the long-press time is one long press.
        QToolButton* ok = r.key(remoteKeyCode(RemoteKey::Ok));
        QTest::mousePress(ok, Qt::LeftButton);
        r.timers.advance(RemoteWidget::longPressMs);
        QTest::mouseRelease(ok, Qt::LeftButton);
        expected.append({352, true});

        QTRY_COMPARE(r.receiver.box.remoteKeys().size(), expected.size());
        QVERIFY(r.settle());
        QCOMPARE(r.receiver.box.remoteKeys(), expected);
        const QStringList sent = r.targetsTo(path);
        QCOMPARE(sent.size(), expected.size());
        QTEST(sent.last(), "longOk");
        // Escape was the remote's Exit, not the way back.
        QVERIFY(r.window->shell()->isStackedWindowOpen(r.find<QWidget>("remotePage")));
        QVERIFY(r.remote->findChild<QLabel*>(u"remoteMapping_label"_s)->text().contains(u"Esc"_s));
    }

    void pictureFollowsKeysOnlyWhileShown()
    {
        RemoteFixture r(Personality::Enigma2);
        QTRY_VERIFY(!r.picture->pixmap().isNull());
        QCOMPARE(r.grabs(), 1);

        // A moment after the receiver took a key, and every few seconds.
        QTest::mouseClick(r.key(remoteKeyCode(RemoteKey::Menu)), Qt::LeftButton);
        QTRY_COMPARE(r.receiver.box.remoteKeys().size(), 1);
        QVERIFY(r.settle());
        QCOMPARE(r.grabs(), 1);
        r.timers.advance(TvPictureView::afterKeyDelayMs);
        QTRY_COMPARE(r.grabs(), 2);
        QVERIFY(r.settle());
        r.timers.advance(TvPictureView::refreshIntervalMs - TvPictureView::afterKeyDelayMs);
        QTRY_COMPARE(r.grabs(), 3);
        QVERIFY(r.settle());

        // Saved as the receiver sent it.
        QTemporaryDir folder;
        QVERIFY(r.find<TvPictureView>("tvPictureView")->savePicture(folder.filePath(u"tv.png"_s)));
        QFile saved(folder.filePath(u"tv.png"_s));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QVERIFY(saved.readAll().startsWith("\x89PNG\r\n\x1a\n"));

        // Hidden, nothing is asked for, keys or not.
        r.window->shell()->closeStackedWindow(r.find<QWidget>("remotePage"));
        QTRY_VERIFY(!r.remote->isVisible());
        r.control()->sendRemoteKey(RemoteKey::Ok, false);
        QTRY_COMPARE(r.receiver.box.remoteKeys().size(), 2);
        QVERIFY(r.settle());
        r.timers.advance(10 * TvPictureView::refreshIntervalMs);
        QVERIFY(r.settle());
        QCOMPARE(r.grabs(), 3);
    }

    void missingPictureIsSaid_data()
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

    void missingPictureIsSaid()
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
};

QTEST_MAIN(TestExtraPages)
#include "tst_extrapages.moc"
