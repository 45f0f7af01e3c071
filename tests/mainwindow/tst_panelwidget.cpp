#include "model/epgitem.h"
#include "tests/mainwindow/windowfixture.h"
#include "ui/panelwidget.h"

#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QNetworkDatagram>
#include <QProgressBar>
#include <QSlider>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>
#include <QUdpSocket>
#include <QWheelEvent>

#include <algorithm>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

// The panel as the main window holds it, on virtual timers in front of a simulated receiver.
struct PanelFixture : WindowFixture
{
    explicit PanelFixture(boxsim::Personality personality = boxsim::Personality::Enigma2)
        : WindowFixture(personality)
        , panel(window->findChild<PanelWidget*>())
    {}

    // The widgets of this name in both forms.
    template<typename T>
    QList<T*> both(const char* name) const
    {
        return panel->findChildren<T*>(QString::fromLatin1(name));
    }

    // What read gives for every widget of this name, in both forms.
    template<typename T, typename Read>
    auto all(const char* name, Read read) const
    {
        QList<std::invoke_result_t<Read, const T*>> values;
        for (const T* widget : both<T>(name))
            values.append(std::invoke(read, widget));
        return values;
    }

    QStringList labelTexts(const char* name) const { return all<QLabel>(name, &QLabel::text); }

    // The entry of the power menu with this text; null when there is none.
    QAction* powerEntry(const QString& text) const
    {
        const QList<QAction*> actions = both<QToolButton>("panelPower_toolButton").first()->menu()->actions();
        const auto found = std::find_if(actions.begin(), actions.end(),
                                        [&text](const QAction* action) { return action->text() == text; });
        return found == actions.end() ? nullptr : *found;
    }

    // Whether every button of this name shows the bitmap at path.
    bool showsIcon(const char* name, const QString& path) const
    {
        const QImage expected = QIcon(path).pixmap(32, 32).toImage();
        const QList<QToolButton*> buttons = both<QToolButton>(name);
        for (const QToolButton* button : buttons) {
            if (button->icon().pixmap(32, 32).toImage() != expected)
                return false;
        }
        return !buttons.isEmpty();
    }

    PanelWidget* panel;
};

QString icon(const char* name)
{
    return QString::fromLatin1(name);
}

} // namespace

class TestPanelWidget : public QObject
{
    Q_OBJECT

private slots:
    void tapAsksToConnect();
    void modes_data();
    void modes();
    void standbyIsNotOverwritten();
    void events_data();
    void events();
    void buttonsReachTheReceiver_data();
    void buttonsReachTheReceiver();
    void powerMenu_data();
    void powerMenu();
    void wakeOnLanIsOfferedWhenTheReceiverSleeps_data();
    void wakeOnLanIsOfferedWhenTheReceiverSleeps();
    void stopAsksTheController();
    void volumeSliderWaitsForTheHand();
    void volumeByKeysAndWheel_data();
    void volumeByKeysAndWheel();
    void positionSliderWaitsForTheHand();
    void networkIcons_data();
    void networkIcons();
    void volumeRange_data();
    void volumeRange();
    void orientationPicksTheForm();
};

void TestPanelWidget::tapAsksToConnect()
{
    PanelFixture f;
    QCOMPARE(f.labelTexts("panelChannel_label"), QStringList(2, QStringLiteral("Click to connect...")));
    QVERIFY(f.showsIcon("panelPower_toolButton", icon(":/buttons/buttons/power_red_42.png")));
    QVERIFY(f.show());
    f.boxes.answerNext(MessageBoxAnswerer::Answer::Reject);
    QList<QGroupBox*> areas = f.panel->findChildren<QGroupBox*>(QStringLiteral("panel_groupBox"));
    QCOMPARE(areas.size(), 2);
    QGroupBox* shown = areas.first()->isVisible() ? areas.first() : areas.last();
    QTest::mouseClick(shown, Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(f.boxes.askedTexts(), QStringList{QStringLiteral("Retrieve new service data from the box?")});
    QVERIFY(f.receiver.targets().isEmpty());
}

void TestPanelWidget::modes_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("controls");
    QTest::addColumn<QString>("power");
    QTest::addColumn<QString>("channel");
    QTest::addColumn<QString>("event");
    QTest::newRow("tv") << 0 << u"tv_page"_s << true << u"green"_s << u"Channel"_s << u"20:15"_s;
    QTest::newRow("other changes nothing")
        << 1 << u"movie_page"_s << true << u"green"_s << u"Channel"_s << u"20:15"_s;
    QTest::newRow("movie clears the events")
        << 2 << u"movie_page"_s << true << u"green"_s << u"Channel"_s << u""_s;
    QTest::newRow("timeshift") << 3 << u"movie_page"_s << true << u"green"_s << u"Channel"_s << u"20:15"_s;
    QTest::newRow("standby") << 4 << u"tv_page"_s << false << u"yellow"_s << u"Box is standby"_s << u""_s;
}

void TestPanelWidget::modes()
{
    QFETCH(int, mode);
    QFETCH(QString, page);
    QFETCH(bool, controls);
    QFETCH(QString, power);
    QFETCH(QString, channel);
    QFETCH(QString, event);
    PanelFixture f;
    f.panel->panelBoxModeChangedSlot(BoxModeTimeshift);
    f.panel->setChannelInformation(QStringLiteral("Channel"), QStringLiteral("720p"));
    f.panel->setEpg0Information(QStringLiteral("20:15"), QStringLiteral("News"), QStringLiteral("5 Min"));

    f.panel->panelBoxModeChangedSlot(BoxMode(mode));
    QCOMPARE(f.all<QStackedWidget>(
                 "panelProgress_stackedWidget",
                 [](const QStackedWidget* stack) { return stack->currentWidget()->objectName(); }),
             QStringList(2, page));
    for (const char* name : {"panelPlay_toolButton", "panelRec_toolButton", "panelVolMute_toolButton"})
        QCOMPARE(f.all<QToolButton>(name, &QWidget::isEnabled), QList<bool>(2, controls));
    QCOMPARE(f.all<QSlider>("panelVolume_horizontalSlider", &QWidget::isEnabled), QList<bool>(2, controls));
    QCOMPARE(f.all<QToolButton>("panelConnect_toolButton", &QWidget::isEnabled), QList<bool>(2, true));
    QVERIFY(f.showsIcon("panelPower_toolButton",
                        QStringLiteral(":/buttons/buttons/power_") + power + QStringLiteral("_42.png")));
    QCOMPARE(f.labelTexts("panelChannel_label"), QStringList(2, channel));
    QCOMPARE(f.labelTexts("panelEpg0Time_label"), QStringList(2, event));
}

void TestPanelWidget::standbyIsNotOverwritten()
{
    PanelFixture f;
    StatusData status;
    status.serviceName = QStringLiteral("Das Erste HD");
    status.videoFormat = QStringLiteral("1280x720");
    f.panel->updatePanelPowerstateSlotE2(true);
    f.panel->updatePanelChannelSlotE2(&status);
    QCOMPARE(f.labelTexts("panelChannel_label"), QStringList(2, QStringLiteral("Box is standby")));
    QVERIFY(f.showsIcon("panelPower_toolButton", icon(":/buttons/buttons/power_yellow_42.png")));
    QCOMPARE(f.all<QLabel>("panelEpg0Titel_label", &QWidget::isHidden), QList<bool>(2, true));

    f.panel->updatePanelPowerstateSlotE2(false);
    f.panel->updatePanelChannelSlotE2(&status);
    QCOMPARE(f.labelTexts("panelChannel_label"), QStringList(2, status.serviceName));
    QCOMPARE(f.labelTexts("panelVidFormat_label"), QStringList{status.videoFormat});
    QVERIFY(f.showsIcon("panelPower_toolButton", icon(":/buttons/buttons/power_green_42.png")));
    QCOMPARE(f.all<QLabel>("panelEpg0Titel_label", &QWidget::isHidden), QList<bool>(2, false));
}

void TestPanelWidget::events_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("nextTitle");
    QTest::addColumn<QString>("nextMinutes");
    QTest::newRow("now and next") << 2 << u"Tatort"_s << u"90 Min"_s;
    QTest::newRow("one event leaves the second row empty") << 1 << u""_s << u""_s;
}

void TestPanelWidget::events()
{
    QFETCH(int, count);
    QFETCH(QString, nextTitle);
    QFETCH(QString, nextMinutes);
    PanelFixture f;
    EpgItem now;
    now.startTime = QStringLiteral("20:00");
    now.title = QStringLiteral("Tagesschau");
    now.minutesLeft = 7;
    now.progress = 53;
    EpgItem next;
    next.startTime = QStringLiteral("20:15");
    next.title = QStringLiteral("Tatort");
    next.duration = 5400;
    QList<EpgItem*> events{&now, &next};
    f.panel->updatePanelEpgDataSlot(events.mid(0, count));
    QCOMPARE(f.labelTexts("panelEpg0Titel_label"), QStringList(2, now.title));
    QCOMPARE(f.labelTexts("panelEpg0Min_label"), QStringList(2, QStringLiteral("7 Min")));
    QCOMPARE(f.labelTexts("panelEpg1Titel_label"), QStringList(2, nextTitle));
    QCOMPARE(f.labelTexts("panelEpg1Min_label"), QStringList(2, nextMinutes));
    QCOMPARE(f.all<QProgressBar>("panel_progressBar", &QProgressBar::value), QList<int>(2, 53));

    f.panel->clearPanelEpgDataSlot();
    QCOMPARE(f.labelTexts("panelEpg0Titel_label"), QStringList(2, QString()));
    QCOMPARE(f.all<QProgressBar>("panel_progressBar", &QProgressBar::value), QList<int>(2, 0));
}

void TestPanelWidget::buttonsReachTheReceiver_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("target");
    QTest::newRow("forward") << u"panelFwd_toolButton"_s << u"/web/remotecontrol?command=401"_s;
    QTest::newRow("rewind") << u"panelRwd_toolButton"_s << u"/web/remotecontrol?command=398"_s;
    QTest::newRow("play") << u"panelPlay_toolButton"_s << u"/web/remotecontrol?command=399"_s;
    QTest::newRow("pause") << u"panelPause_toolButton"_s << u"/web/remotecontrol?command=400"_s;
    QTest::newRow("record") << u"panelRec_toolButton"_s << u"/web/recordnow?recordnow=true"_s;
    QTest::newRow("mute") << u"panelVolMute_toolButton"_s << u"/web/vol?set=mute"_s;
}

void TestPanelWidget::buttonsReachTheReceiver()
{
    QFETCH(QString, button);
    QFETCH(QString, target);
    PanelFixture f;
    QVERIFY(f.load());
    const QList<QToolButton*> buttons = f.panel->findChildren<QToolButton*>(button);
    QCOMPARE(buttons.size(), 2);
    for (QToolButton* each : buttons)
        each->setEnabled(true);
    buttons.first()->click();
    QVERIFY(f.settle());
    QVERIFY2(f.receiver.targets().contains(target), qPrintable(f.receiver.targets().join(u' ')));
    QVERIFY(f.showsIcon("panelConnect_toolButton", icon(":/symbol/symbol/network-transmit-receive.png")) ||
            f.showsIcon("panelConnect_toolButton", icon(":/symbol/symbol/network-transmit.png")) ||
            f.showsIcon("panelConnect_toolButton", icon(":/symbol/symbol/network-receive.png")));

    // A second later the panel asks for the status.
    f.receiver.box.clearRequests();
    f.timers.advance(999);
    QVERIFY(f.settle());
    QVERIFY(!f.receiver.targets().contains(QStringLiteral("/web/powerstate")));
    f.timers.advance(1);
    QVERIFY(f.settle());
    QVERIFY(f.receiver.targets().contains(QStringLiteral("/web/powerstate")));
}

void TestPanelWidget::powerMenu_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("newState");
    QTest::newRow("reload asks first") << u"Enigma reload"_s << u"Enigma reload?"_s << u"3"_s;
    QTest::newRow("wake up") << u"Box wakeup"_s << u""_s << u"4"_s;
    QTest::newRow("standby") << u"Box standby"_s << u""_s << u"5"_s;
    QTest::newRow("reboot asks first") << u"Box reboot"_s << u"Box reboot?"_s << u"2"_s;
    QTest::newRow("shutdown asks first") << u"Box shutdown"_s << u"Box shutdown?"_s << u"1"_s;
}

void TestPanelWidget::powerMenu()
{
    QFETCH(QString, entry);
    QFETCH(QString, question);
    QFETCH(QString, newState);
    PanelFixture f;
    QVERIFY(f.load());
    const QList<QToolButton*> buttons = f.both<QToolButton>("panelPower_toolButton");
    QCOMPARE(buttons.size(), 2);
    QMenu* menu = buttons.first()->menu();
    QVERIFY(menu);
    QCOMPARE(buttons.last()->menu(), menu);
    QAction* chosen = f.powerEntry(entry);
    QVERIFY(chosen);
    f.boxes.answerNext(MessageBoxAnswerer::Answer::Accept);
    chosen->trigger();
    QVERIFY(f.settle());
    QCOMPARE(f.boxes.askedTexts(), question.isEmpty() ? QStringList() : QStringList{question});
    QVERIFY2(f.receiver.targets().contains(QStringLiteral("/web/powerstate?newstate=") + newState),
             qPrintable(f.receiver.targets().join(u' ')));
}

void TestPanelWidget::wakeOnLanIsOfferedWhenTheReceiverSleeps_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<bool>("offered");
    QTest::newRow("never connected") << u"new"_s << true;
    QTest::newRow("connected and awake") << u"awake"_s << false;
    QTest::newRow("in standby") << u"standby"_s << true;
    QTest::newRow("gone from the network") << u"gone"_s << true;
}

void TestPanelWidget::wakeOnLanIsOfferedWhenTheReceiverSleeps()
{
    QFETCH(QString, state);
    QFETCH(bool, offered);
    PanelFixture f;
    QUdpSocket listener;
    QVERIFY(listener.bind(QHostAddress::LocalHost, 0));
    Profile profile = Settings().getActiveProfile();
    profile.lanMac = u"00:1d:ec:0a:1b:2c"_s;
    profile.wakeAddress = u"127.0.0.1:"_s + QString::number(listener.localPort());
    Settings().saveProfile(profile);
    QVERIFY(f.show());
    if (state != u"new"_s)
        QVERIFY(f.load());
    QMenu* menu = f.both<QToolButton>("panelPower_toolButton").first()->menu();
    if (state == u"standby"_s) {
        f.powerEntry(u"Box standby"_s)->trigger();
        QVERIFY(f.settle());
    } else if (state == u"gone"_s) {
        f.receiver.box.setFault({boxsim::FaultKind::Refuse});
        QGroupBox* area = f.both<QGroupBox>("panel_groupBox").first();
        QTest::mousePress(area->isVisible() ? area : f.both<QGroupBox>("panel_groupBox").last(),
                          Qt::LeftButton, {}, QPoint(10, 10));
        QVERIFY(f.settle());
    }
    menu->popup(f.window->geometry().center());
    QAction* wake = f.powerEntry(u"Wake up (Wake-on-LAN)"_s);
    QVERIFY(wake);
    QCOMPARE(wake->isVisible(), offered);
    menu->hide();
    if (!offered)
        return;
    wake->trigger();
    QTRY_VERIFY(listener.hasPendingDatagrams());
    QCOMPARE(listener.receiveDatagram().data().size(), 102);
}

void TestPanelWidget::stopAsksTheController()
{
    PanelFixture f;
    // Before the first load the stop button sends nothing.
    f.panel->panelStop_toolButton_clicked();
    f.timers.advance(1000);
    QVERIFY(f.settle());
    QVERIFY(f.receiver.targets().isEmpty());

    QVERIFY(f.load());
    f.panel->panelStop_toolButton_clicked();
    QVERIFY(f.settle());
    // The Enigma2 receiver is asked for its timers first, to learn whether a recording runs.
    QVERIFY2(f.receiver.targets().contains(QStringLiteral("/web/timerlist")),
             qPrintable(f.receiver.targets().join(u' ')));
}

void TestPanelWidget::volumeSliderWaitsForTheHand()
{
    PanelFixture f;
    QVERIFY(f.load());
    QSlider* slider = f.both<QSlider>("panelVolume_horizontalSlider").first();
    for (int position : {10, 20, 30}) {
        slider->setValue(position);
        f.panel->panelVolume_horizontalSlider_sliderMoved(position);
        f.timers.advance(150);
    }
    QVERIFY(f.settle());
    QCOMPARE(f.receiver.requestsTo("/web/vol").size(), 0);
    f.timers.advance(50);
    QVERIFY(f.settle());
    const QList<boxsim::LoggedRequest> sent = f.receiver.requestsTo("/web/vol");
    QCOMPARE(sent.size(), 1);
    QCOMPARE(sent.first().queryValue(QStringLiteral("set")), QStringLiteral("set30"));

    // Until a second after the request, status answers leave the slider where the hand put it.
    StatusData status;
    status.volume = 70;
    f.panel->updatePanelVolumeSlotE2(&status);
    QCOMPARE(slider->value(), 30);
    f.receiver.box.clearRequests();
    f.timers.advance(1000);
    QVERIFY(f.settle());
    QVERIFY(f.receiver.targets().contains(QStringLiteral("/web/powerstate")));
    f.panel->updatePanelVolumeSlotE2(&status);
    QCOMPARE(f.all<QSlider>("panelVolume_horizontalSlider", &QSlider::value), QList<int>(2, 70));
}

void TestPanelWidget::volumeByKeysAndWheel_data()
{
    QTest::addColumn<bool>("wheel");
    QTest::newRow("page and arrow keys") << false;
    QTest::newRow("mouse wheel") << true;
}

void TestPanelWidget::volumeByKeysAndWheel()
{
    QFETCH(bool, wheel);
    PanelFixture f;
    QVERIFY(f.load());
    QSlider* slider = f.both<QSlider>("panelVolume_horizontalSlider").first();
    QVERIFY(slider->isEnabled());
    slider->setValue(20);
    int expected = 20 + slider->pageStep() + slider->singleStep();
    if (wheel) {
        const QPoint at = slider->rect().center();
        QWheelEvent turn(at, slider->mapToGlobal(at), {}, QPoint(0, 120), Qt::NoButton, {}, Qt::NoScrollPhase,
                         false);
        QCoreApplication::sendEvent(slider, &turn);
        expected = slider->value();
        QVERIFY(expected != 20);
    } else {
        QTest::keyClick(slider, Qt::Key_PageUp);
        QTest::keyClick(slider, Qt::Key_Right);
        QCOMPARE(slider->value(), expected);
    }
    // Sent once, when the hand rests.
    f.timers.advance(199);
    QVERIFY(f.settle());
    QCOMPARE(f.receiver.requestsTo("/web/vol").size(), 0);
    f.timers.advance(1);
    QVERIFY(f.settle());
    const QList<boxsim::LoggedRequest> sent = f.receiver.requestsTo("/web/vol");
    QCOMPARE(sent.size(), 1);
    QCOMPARE(sent.first().queryValue(QStringLiteral("set")), QStringLiteral("set%1").arg(expected));
}

void TestPanelWidget::positionSliderWaitsForTheHand()
{
    // Only the Enigma1 interface can move the playback position.
    PanelFixture f(boxsim::Personality::Enigma1);
    QVERIFY(f.load());
    f.panel->panelMovie_horizontalSlider_sliderMoved(40);
    f.timers.advance(100);
    f.panel->panelMovie_horizontalSlider_sliderMoved(55);
    f.timers.advance(199);
    QVERIFY(f.settle());
    QVERIFY(f.receiver.requestsTo("/setVideo").isEmpty());
    f.timers.advance(1);
    QVERIFY(f.settle());
    const QList<boxsim::LoggedRequest> sent = f.receiver.requestsTo("/setVideo");
    QCOMPARE(sent.size(), 1);
    QCOMPARE(sent.first().queryValue(QStringLiteral("position")), QStringLiteral("55"));

    StatusData status;
    status.videoPosition = 12;
    f.panel->updatePanelTimeshiftModeSlot(&status);
    QCOMPARE(f.all<QSlider>("panelMovie_horizontalSlider", &QSlider::value), QList<int>(2, 0));
    f.timers.advance(1000);
    f.panel->updatePanelTimeshiftModeSlot(&status);
    QCOMPARE(f.all<QSlider>("panelMovie_horizontalSlider", &QSlider::value), QList<int>(2, 12));
}

void TestPanelWidget::networkIcons_data()
{
    QTest::addColumn<QStringList>("signals_");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("holdMs");
    QTest::newRow("transmit") << QStringList{u"transmit"_s} << icon(":/symbol/symbol/network-transmit.png")
                              << 10000;
    QTest::newRow("receive") << QStringList{u"receive"_s} << icon(":/symbol/symbol/network-receive.png")
                             << 10000;
    QTest::newRow("receive while transmitting shows both")
        << QStringList{u"transmit"_s, u"receive"_s} << icon(":/symbol/symbol/network-transmit-receive.png")
        << 10000;
    QTest::newRow("error stays longer")
        << QStringList{u"error"_s} << icon(":/symbol/symbol/network-error.png") << 15000;
}

void TestPanelWidget::networkIcons()
{
    QFETCH(QStringList, signals_);
    QFETCH(QString, shown);
    QFETCH(int, holdMs);
    PanelFixture f;
    for (const QString& signal : std::as_const(signals_)) {
        if (signal == QLatin1String("transmit"))
            f.panel->networkTransmitIconSlot(true);
        else if (signal == QLatin1String("receive"))
            f.panel->networkReceiveIconSlot(true);
        else
            f.panel->networkErrorIconSlot(true);
    }
    QVERIFY(f.showsIcon("panelConnect_toolButton", shown));
    f.timers.advance(holdMs - 1);
    QVERIFY(f.showsIcon("panelConnect_toolButton", shown));
    f.timers.advance(1);
    QVERIFY(f.showsIcon("panelConnect_toolButton", icon(":/symbol/symbol/network-idle.png")));

    // With live mode off the quiet icon is the offline one.
    f.panel->modeOfflineAction_triggered();
    QVERIFY(f.showsIcon("panelConnect_toolButton", icon(":/symbol/symbol/network-offline.png")));
    QVERIFY(!f.control()->currentSystemSettings().isLiveMode);
    f.panel->modeOnlineAction_triggered();
    QVERIFY(f.control()->currentSystemSettings().isLiveMode);
}

void TestPanelWidget::volumeRange_data()
{
    QTest::addColumn<int>("webIfType");
    QTest::addColumn<int>("maximum");
    QTest::newRow("Enigma1 goes to 63") << 0 << 63;
    QTest::newRow("Enigma2 goes to 100") << 1 << 100;
}

void TestPanelWidget::volumeRange()
{
    QFETCH(int, webIfType);
    QFETCH(int, maximum);
    PanelFixture f;
    Profile profile;
    profile.webIfType = webIfType;
    f.panel->activeProfileUpdateSlot(profile);
    const QList<QSlider*> sliders = f.both<QSlider>("panelVolume_horizontalSlider");
    QCOMPARE(sliders.size(), 2);
    for (const QSlider* slider : sliders) {
        QCOMPARE(slider->minimum(), 0);
        QCOMPARE(slider->maximum(), maximum);
    }
}

void TestPanelWidget::orientationPicksTheForm()
{
    PanelFixture f;
    QVERIFY(f.show());
    auto* stack = f.panel->findChild<QStackedWidget*>(QStringLiteral("panel_stackedWidget"));
    f.window->resize(800, 480);
    QTRY_VERIFY(stack->isVisible());
    // Only the landscape form swaps its buttons for the volume slider.
    f.panel->panelVolume_toolButton_clicked();
    QCOMPARE(stack->currentWidget()->objectName(), QStringLiteral("slider_page"));
    QVERIFY(f.showsIcon("panelVolume_toolButton", icon(":/menu/menu/tv_48.png")));
    f.panel->panelVolume_toolButton_clicked();
    QCOMPARE(stack->currentWidget()->objectName(), QStringLiteral("buttons_page"));
    QVERIFY(f.showsIcon("panelVolume_toolButton", icon(":/buttons/buttons/player_unmute_48.png")));
    f.window->resize(480, 800);
    QTRY_VERIFY(!stack->isVisible());
}

QTEST_MAIN(TestPanelWidget)
#include "tst_panelwidget.moc"
