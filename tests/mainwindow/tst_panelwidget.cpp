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

    // The texts of the labels of these names, each as "landscape | portrait".
    QStringList texts(std::initializer_list<const char*> names) const
    {
        QStringList shown;
        for (const char* name : names)
            shown << labelTexts(name).join(u" | ");
        return shown;
    }

    // The area a person taps, in the form shown.
    QGroupBox* shownArea() const
    {
        const QList<QGroupBox*> areas = both<QGroupBox>("panel_groupBox");
        return areas.first()->isVisible() ? areas.first() : areas.last();
    }

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

    // The value of key in the one request to path that comes when the hand has rested for
    // restMs on the virtual timers; what came instead when it came sooner or not just once.
    QString sentAtRest(const QByteArray& path, const QString& key, int restMs)
    {
        timers.advance(restMs - 1);
        if (!settle() || !receiver.requestsTo(path).isEmpty())
            return u"sent before the rest"_s;
        timers.advance(1);
        if (!settle())
            return u"no quiet after the rest"_s;
        const QList<boxsim::LoggedRequest> sent = receiver.requestsTo(path);
        return sent.size() == 1 ? sent.first().queryValue(key) : u"%1 requests"_s.arg(sent.size());
    }

    PanelWidget* panel;
};

// The same texts in both forms.
QStringList inBoth(QStringList texts)
{
    for (QString& text : texts)
        text += u" | "_s + text;
    return texts;
}

QString power(const QString& colour)
{
    return u":/buttons/buttons/power_"_s + colour + u"_42.png"_s;
}

QString network(const QString& state)
{
    return u":/symbol/symbol/network-"_s + state + u".png"_s;
}

} // namespace

class TestPanelWidget : public QObject
{
    Q_OBJECT

private slots:
    void tapAsksToConnect()
    {
        PanelFixture f;
        QCOMPARE(f.labelTexts("panelChannel_label"), QStringList(2, u"Click to connect..."_s));
        QVERIFY(f.showsIcon("panelPower_toolButton", power(u"red"_s)));
        QVERIFY(f.show());
        QCOMPARE(f.both<QGroupBox>("panel_groupBox").size(), 2);
        QTest::mouseClick(f.shownArea(), Qt::LeftButton, {}, QPoint(10, 10));
        // Answered no: nothing is asked of the receiver.
        QCOMPARE(f.boxes.askedTexts(), QStringList{u"Retrieve new service data from the box?"_s});
        QVERIFY(f.receiver.targets().isEmpty());
    }

    void modes_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("page");
        QTest::addColumn<bool>("controls");
        QTest::addColumn<QString>("colour");
        QTest::addColumn<QStringList>("texts"); // channel, event
        QTest::newRow("tv") << 0 << u"tv_page"_s << true << u"green"_s
                            << QStringList{u"Channel"_s, u"20:15"_s};
        QTest::newRow("other changes nothing")
            << 1 << u"movie_page"_s << true << u"green"_s << QStringList{u"Channel"_s, u"20:15"_s};
        QTest::newRow("movie clears the events")
            << 2 << u"movie_page"_s << true << u"green"_s << QStringList{u"Channel"_s, QString()};
        QTest::newRow("timeshift") << 3 << u"movie_page"_s << true << u"green"_s
                                   << QStringList{u"Channel"_s, u"20:15"_s};
        QTest::newRow("standby") << 4 << u"tv_page"_s << false << u"yellow"_s
                                 << QStringList{u"Box is standby"_s, QString()};
    }

    void modes()
    {
        QFETCH(int, mode);
        QFETCH(QString, page);
        QFETCH(bool, controls);
        QFETCH(QString, colour);
        QFETCH(QStringList, texts);
        PanelFixture f;
        f.panel->panelBoxModeChangedSlot(BoxModeTimeshift);
        f.panel->setChannelInformation(u"Channel"_s, u"720p"_s);
        f.panel->setEpg0Information(u"20:15"_s, u"News"_s, u"5 Min"_s);

        f.panel->panelBoxModeChangedSlot(BoxMode(mode));
        QCOMPARE(f.all<QStackedWidget>(
                     "panelProgress_stackedWidget",
                     [](const QStackedWidget* stack) { return stack->currentWidget()->objectName(); }),
                 QStringList(2, page));
        for (const char* name : {"panelPlay_toolButton", "panelRec_toolButton", "panelVolMute_toolButton",
                                 "panelVolume_horizontalSlider"})
            QCOMPARE(f.all<QWidget>(name, &QWidget::isEnabled), QList<bool>(2, controls));
        QCOMPARE(f.all<QToolButton>("panelConnect_toolButton", &QWidget::isEnabled), QList<bool>(2, true));
        QVERIFY(f.showsIcon("panelPower_toolButton", power(colour)));
        QCOMPARE(f.texts({"panelChannel_label", "panelEpg0Time_label"}), inBoth(texts));
    }

    void standbyIsNotOverwritten()
    {
        PanelFixture f;
        StatusData status;
        status.serviceName = u"Das Erste HD"_s;
        status.videoFormat = u"1280x720"_s;
        f.panel->updatePanelPowerstateSlotE2(true);
        f.panel->updatePanelChannelSlotE2(&status);
        QCOMPARE(f.labelTexts("panelChannel_label"), QStringList(2, u"Box is standby"_s));
        QVERIFY(f.showsIcon("panelPower_toolButton", power(u"yellow"_s)));
        QCOMPARE(f.all<QLabel>("panelEpg0Titel_label", &QWidget::isHidden), QList<bool>(2, true));

        f.panel->updatePanelPowerstateSlotE2(false);
        f.panel->updatePanelChannelSlotE2(&status);
        // The video format shows in one form only.
        QCOMPARE(f.texts({"panelChannel_label", "panelVidFormat_label"}),
                 QStringList({status.serviceName + u" | "_s + status.serviceName, status.videoFormat}));
        QVERIFY(f.showsIcon("panelPower_toolButton", power(u"green"_s)));
        QCOMPARE(f.all<QLabel>("panelEpg0Titel_label", &QWidget::isHidden), QList<bool>(2, false));
    }

    void events_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("nextTitle");
        QTest::addColumn<QString>("nextMinutes");
        QTest::newRow("now and next") << 2 << u"Tatort"_s << u"90 Min"_s;
        QTest::newRow("one event leaves the second row empty") << 1 << QString() << QString();
    }

    void events()
    {
        QFETCH(int, count);
        QFETCH(QString, nextTitle);
        QFETCH(QString, nextMinutes);
        PanelFixture f;
        EpgItem now;
        now.startTime = u"20:00"_s;
        now.title = u"Tagesschau"_s;
        now.minutesLeft = 7;
        now.progress = 53;
        EpgItem next;
        next.startTime = u"20:15"_s;
        next.title = u"Tatort"_s;
        next.duration = 5400;
        f.panel->updatePanelEpgDataSlot(QList<EpgItem*>{&now, &next}.mid(0, count));
        QCOMPARE(f.texts({"panelEpg0Titel_label", "panelEpg0Min_label", "panelEpg1Titel_label",
                          "panelEpg1Min_label"}),
                 inBoth({now.title, u"7 Min"_s, nextTitle, nextMinutes}));
        QCOMPARE(f.all<QProgressBar>("panel_progressBar", &QProgressBar::value), QList<int>(2, 53));

        f.panel->clearPanelEpgDataSlot();
        QCOMPARE(f.labelTexts("panelEpg0Titel_label"), QStringList(2, QString()));
        QCOMPARE(f.all<QProgressBar>("panel_progressBar", &QProgressBar::value), QList<int>(2, 0));
    }

    void commandsReachTheReceiver_data()
    {
        QTest::addColumn<bool>("loaded");
        QTest::addColumn<QString>("gesture"); // a button of the panel, or "menu:" and a power menu entry
        QTest::addColumn<QStringList>("questions"); // each answered yes
        QTest::addColumn<QString>("target");        // empty: nothing at all is asked
        const QStringList none;
        const QString rc = u"/web/remotecontrol?command="_s;
        const QString power = u"/web/powerstate?newstate="_s;
        QTest::newRow("forward") << true << u"panelFwd_toolButton"_s << none << rc + u"401"_s;
        QTest::newRow("rewind") << true << u"panelRwd_toolButton"_s << none << rc + u"398"_s;
        QTest::newRow("play") << true << u"panelPlay_toolButton"_s << none << rc + u"399"_s;
        QTest::newRow("pause") << true << u"panelPause_toolButton"_s << none << rc + u"400"_s;
        QTest::newRow("record") << true << u"panelRec_toolButton"_s << none
                                << u"/web/recordnow?recordnow=true"_s;
        QTest::newRow("mute") << true << u"panelVolMute_toolButton"_s << none << u"/web/vol?set=mute"_s;
        // The Enigma2 receiver is asked for its timers first, to learn whether a recording runs.
        QTest::newRow("stop") << true << u"panelStop_toolButton"_s << none << u"/web/timerlist"_s;
        QTest::newRow("stop before the first load")
            << false << u"panelStop_toolButton"_s << none << QString();
        QTest::newRow("reload asks first")
            << true << u"menu:Enigma reload"_s << QStringList{u"Enigma reload?"_s} << power + u"3"_s;
        QTest::newRow("wake up") << true << u"menu:Box wakeup"_s << none << power + u"4"_s;
        QTest::newRow("standby") << true << u"menu:Box standby"_s << none << power + u"5"_s;
        QTest::newRow("reboot asks first")
            << true << u"menu:Box reboot"_s << QStringList{u"Box reboot?"_s} << power + u"2"_s;
        QTest::newRow("shutdown asks first")
            << true << u"menu:Box shutdown"_s << QStringList{u"Box shutdown?"_s} << power + u"1"_s;
    }

    void commandsReachTheReceiver()
    {
        QFETCH(bool, loaded);
        QFETCH(QString, gesture);
        QFETCH(QString, target);
        PanelFixture f;
        if (loaded)
            QVERIFY(f.load());
        f.boxes.setDefaultAnswer(MessageBoxAnswerer::Answer::Accept);
        const bool menu = gesture.startsWith(u"menu:"_s);
        if (menu) {
            // Both forms share the one menu.
            const QList<QMenu*> menus = f.all<QToolButton>("panelPower_toolButton", &QToolButton::menu);
            QVERIFY(menus.value(0));
            QCOMPARE(menus, QList<QMenu*>(2, menus.first()));
            QAction* chosen = f.powerEntry(gesture.mid(5));
            QVERIFY(chosen);
            chosen->trigger();
        } else {
            const QList<QToolButton*> buttons = f.panel->findChildren<QToolButton*>(gesture);
            QCOMPARE(buttons.size(), 2);
            for (QToolButton* each : buttons)
                each->setEnabled(true);
            buttons.first()->click();
        }
        QVERIFY(f.settle());
        QTEST(f.boxes.askedTexts(), "questions");
        if (target.isEmpty()) {
            f.timers.advance(1000);
            QVERIFY(f.settle());
            QCOMPARE(f.receiver.targets(), QStringList());
            return;
        }
        QVERIFY2(f.receiver.targets().contains(target), qPrintable(f.receiver.targets().join(u' ')));
        if (menu)
            return;
        // A panel button shows the traffic, and a second later the panel asks for the status.
        QVERIFY(f.showsIcon("panelConnect_toolButton", network(u"transmit-receive"_s)) ||
                f.showsIcon("panelConnect_toolButton", network(u"transmit"_s)) ||
                f.showsIcon("panelConnect_toolButton", network(u"receive"_s)));
        QCOMPARE(f.requestsAfter(999, u"/web/powerstate"_s), 0);
        QVERIFY(f.requestsAfter(1, u"/web/powerstate"_s) > 0);
    }

    void wakeOnLanIsOfferedWhenTheReceiverSleeps_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<bool>("offered");
        QTest::newRow("never connected") << u"new"_s << true;
        QTest::newRow("connected and awake") << u"awake"_s << false;
        QTest::newRow("in standby") << u"standby"_s << true;
        QTest::newRow("gone from the network") << u"gone"_s << true;
    }

    void wakeOnLanIsOfferedWhenTheReceiverSleeps()
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
            QTest::mousePress(f.shownArea(), Qt::LeftButton, {}, QPoint(10, 10));
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

    void volumeWaitsForTheHand_data()
    {
        QTest::addColumn<QString>("hand");
        QTest::newRow("slider dragged, each move restarting the wait") << u"drag"_s;
        QTest::newRow("page and arrow keys") << u"keys"_s;
        QTest::newRow("mouse wheel") << u"wheel"_s;
    }

    void volumeWaitsForTheHand()
    {
        QFETCH(QString, hand);
        PanelFixture f;
        QVERIFY(f.load());
        QSlider* slider = f.both<QSlider>("panelVolume_horizontalSlider").first();
        QVERIFY(slider->isEnabled());
        slider->setValue(20);
        int expected = 20 + slider->pageStep() + slider->singleStep();
        if (hand == u"drag"_s) {
            for (int position : {10, 20, 30}) {
                f.timers.advance(150);
                slider->setValue(position);
                f.panel->panelVolume_horizontalSlider_sliderMoved(position);
            }
            expected = 30;
        } else if (hand == u"wheel"_s) {
            const QPoint at = slider->rect().center();
            QWheelEvent turn(at, slider->mapToGlobal(at), {}, QPoint(0, 120), Qt::NoButton, {},
                             Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(slider, &turn);
            expected = slider->value();
            QVERIFY(expected != 20);
        } else {
            QTest::keyClick(slider, Qt::Key_PageUp);
            QTest::keyClick(slider, Qt::Key_Right);
            QCOMPARE(slider->value(), expected);
        }
        QCOMPARE(f.sentAtRest("/web/vol", u"set"_s, 200), u"set%1"_s.arg(expected));

        // Until a second after the request, status answers leave the slider where the hand put it.
        StatusData status;
        status.volume = 70;
        f.panel->updatePanelVolumeSlotE2(&status);
        QCOMPARE(slider->value(), expected);
        QVERIFY(f.requestsAfter(1000, u"/web/powerstate"_s) > 0);
        f.panel->updatePanelVolumeSlotE2(&status);
        QCOMPARE(f.all<QSlider>("panelVolume_horizontalSlider", &QSlider::value), QList<int>(2, 70));
    }

    void positionSliderWaitsForTheHand()
    {
        // Only the Enigma1 interface can move the playback position.
        PanelFixture f(boxsim::Personality::Enigma1);
        QVERIFY(f.load());
        f.panel->panelMovie_horizontalSlider_sliderMoved(40);
        f.timers.advance(100);
        f.panel->panelMovie_horizontalSlider_sliderMoved(55);
        QCOMPARE(f.sentAtRest("/setVideo", u"position"_s, 200), u"55"_s);

        StatusData status;
        status.videoPosition = 12;
        f.panel->updatePanelTimeshiftModeSlot(&status);
        QCOMPARE(f.all<QSlider>("panelMovie_horizontalSlider", &QSlider::value), QList<int>(2, 0));
        f.timers.advance(1000);
        f.panel->updatePanelTimeshiftModeSlot(&status);
        QCOMPARE(f.all<QSlider>("panelMovie_horizontalSlider", &QSlider::value), QList<int>(2, 12));
    }

    void networkIcons_data()
    {
        QTest::addColumn<QStringList>("signals_");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("holdMs");
        QTest::newRow("transmit") << QStringList{u"transmit"_s} << network(u"transmit"_s) << 10000;
        QTest::newRow("receive") << QStringList{u"receive"_s} << network(u"receive"_s) << 10000;
        QTest::newRow("receive while transmitting shows both")
            << QStringList{u"transmit"_s, u"receive"_s} << network(u"transmit-receive"_s) << 10000;
        QTest::newRow("error stays longer") << QStringList{u"error"_s} << network(u"error"_s) << 15000;
    }

    void networkIcons()
    {
        QFETCH(QStringList, signals_);
        QFETCH(QString, shown);
        QFETCH(int, holdMs);
        PanelFixture f;
        for (const QString& signal : std::as_const(signals_)) {
            if (signal == u"transmit"_s)
                f.panel->networkTransmitIconSlot(true);
            else if (signal == u"receive"_s)
                f.panel->networkReceiveIconSlot(true);
            else
                f.panel->networkErrorIconSlot(true);
        }
        QVERIFY(f.showsIcon("panelConnect_toolButton", shown));
        f.timers.advance(holdMs - 1);
        QVERIFY(f.showsIcon("panelConnect_toolButton", shown));
        f.timers.advance(1);
        QVERIFY(f.showsIcon("panelConnect_toolButton", network(u"idle"_s)));

        // With live mode off the quiet icon is the offline one.
        f.panel->modeOfflineAction_triggered();
        QVERIFY(f.showsIcon("panelConnect_toolButton", network(u"offline"_s)));
        QVERIFY(!f.control()->currentSystemSettings().isLiveMode);
        f.panel->modeOnlineAction_triggered();
        QVERIFY(f.control()->currentSystemSettings().isLiveMode);
    }

    void volumeRange_data()
    {
        QTest::addColumn<int>("webIfType");
        QTest::addColumn<int>("maximum");
        QTest::newRow("Enigma1 goes to 63") << 0 << 63;
        QTest::newRow("Enigma2 goes to 100") << 1 << 100;
    }

    void volumeRange()
    {
        QFETCH(int, webIfType);
        QFETCH(int, maximum);
        PanelFixture f;
        Profile profile;
        profile.webIfType = webIfType;
        f.panel->activeProfileUpdateSlot(profile);
        QCOMPARE(f.all<QSlider>("panelVolume_horizontalSlider", &QSlider::minimum), QList<int>(2, 0));
        QCOMPARE(f.all<QSlider>("panelVolume_horizontalSlider", &QSlider::maximum), QList<int>(2, maximum));
    }

    void orientationPicksTheForm()
    {
        PanelFixture f;
        QVERIFY(f.show());
        auto* stack = f.panel->findChild<QStackedWidget*>(u"panel_stackedWidget"_s);
        f.window->resize(800, 480);
        QTRY_VERIFY(stack->isVisible());
        // Only the landscape form swaps its buttons for the volume slider.
        f.panel->panelVolume_toolButton_clicked();
        QCOMPARE(stack->currentWidget()->objectName(), u"slider_page"_s);
        QVERIFY(f.showsIcon("panelVolume_toolButton", u":/menu/menu/tv_48.png"_s));
        f.panel->panelVolume_toolButton_clicked();
        QCOMPARE(stack->currentWidget()->objectName(), u"buttons_page"_s);
        QVERIFY(f.showsIcon("panelVolume_toolButton", u":/buttons/buttons/player_unmute_48.png"_s));
        f.window->resize(480, 800);
        QTRY_VERIFY(!stack->isVisible());
    }
};

QTEST_MAIN(TestPanelWidget)
#include "tst_panelwidget.moc"
