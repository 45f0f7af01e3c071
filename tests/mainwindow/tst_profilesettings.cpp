#include "control/manualtimersource.h"
#include "control/messageboxanswerer.h"
#include "control/tavrelcontrol.h"
#include "settings/settings.h"
#include "tests/common/settlecontrol.h"
#include "tests/common/simulatedreceiver.h"
#include "ui/mainwindow.h"
#include "ui/pages/profiletab.h"
#include "ui/pages/settingswidget.h"
#include "ui/shell/shellservices.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QSettings>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

using namespace Qt::StringLiterals;
using Answer = MessageBoxAnswerer::Answer;

namespace {

// The window in front of a simulated receiver; the store holds the receiver's profile
// "Simulated", and "Second" (at secondPort, inactive) when asked, or nothing at all.
struct Fixture
{
    enum class Store
    {
        Empty,
        Simulated,
        SimulatedAndSecond
    };

    explicit Fixture(Store store, quint16 secondPort = 1, const SystemSet* systemSettings = nullptr)
        : receiver(boxsim::Personality::Enigma2)
    {
        if (systemSettings)
            Settings().saveSystemSettings(*systemSettings);
        if (store == Store::Empty)
            Settings().deleteProfile(u"Simulated"_s);
        if (store == Store::SimulatedAndSecond) {
            Profile second{u"Second"_s, 1, false, {}, {}, u"127.0.0.1"_s, QString::number(secondPort)};
            Settings().saveProfile(second);
        }
        window = std::make_unique<MainWindow>(receiver.clock, timers);
        window->resize(800, 480);
        window->show();
    }

    TavrelControl* control() const { return window->control(); }

    bool load()
    {
        QSignalSpy built(window.get(), &MainWindow::serviceListsBuilt);
        control()->loadServiceData();
        const bool ok = built.wait(10000) && settleControl(*control());
        receiver.box.clearRequests();
        return ok;
    }

    QWidget* openEditor()
    {
        window->findChild<QAction*>(u"profileAction"_s)->trigger();
        return page("profilePage");
    }

    QWidget* page(const char* name) const { return window->findChild<QWidget*>(QLatin1StringView(name)); }
    QTabWidget* tabs() const { return window->findChild<QTabWidget*>(u"profile_tabWidget"_s); }
    QStringList tabTitles() const
    {
        QStringList titles;
        for (int i = 0; i < tabs()->count(); ++i)
            titles << tabs()->tabText(i);
        return titles;
    }

    // A control of the landscape form of the editor's tab i.
    template<typename T>
    T* field(int tab, const char* name) const
    {
        return tabs()
            ->widget(tab)
            ->findChild<QWidget*>(u"ProfileTab_ls"_s)
            ->findChild<T*>(QLatin1StringView(name));
    }

    static void type(QLineEdit* edit, const QString& text)
    {
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }

    void clickTab(int index) const
    {
        QTabBar* bar = tabs()->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }

    ManualTimerSource timers;
    SimulatedReceiver receiver;
    MessageBoxAnswerer boxes;
    std::unique_ptr<MainWindow> window;
};

Profile stored(const QString& name)
{
    const QList<Profile> profiles = Settings().getProfiles();
    for (const Profile& profile : profiles) {
        if (profile.profileName == name)
            return profile;
    }
    return Profile();
}

void click(QAbstractButton* button)
{
    QVERIFY(button && button->isVisible());
    // Radio buttons and check boxes take clicks on their box and label only.
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

} // namespace

class TestProfileSettings : public QObject
{
    Q_OBJECT

private slots:
    void firstStartLeadsThroughTheEditorToTheList();
    void newProfile_data();
    void newProfile();
    void storedProfileSavedAgainAsksToReload();
    void activeBoxReachesTheEngine();
    void leavingUnsavedTab_data();
    void leavingUnsavedTab();
    void deleteTakesThePressedTabAndTheReceiver();
    void settingsClicks_data();
    void settingsClicks();
    void storedOrientationOutsideRangeAndReset();
    void epgLoading_data();
    void epgLoading();
};

void TestProfileSettings::firstStartLeadsThroughTheEditorToTheList()
{
    Fixture f(Fixture::Store::Empty);
    f.boxes.setDefaultAnswer(Answer::Accept);
    const QList<QGroupBox*> panels = f.window->findChildren<QGroupBox*>(u"panel_groupBox"_s);
    QGroupBox* panel = panels.first()->isVisible() ? panels.first() : panels.last();
    QTest::mouseClick(panel, Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY(f.window->shell()->isStackedWindowOpen(f.page("profilePage")));
    QCOMPARE(f.tabTitles(), QStringList{u"New Profil"_s});

    f.field<QComboBox>(0, "profilenWebif_comboBox")->setCurrentIndex(1);
    Fixture::type(f.field<QLineEdit>(0, "profilenName_lineEdit"), u"Wohnzimmer"_s);
    Fixture::type(f.field<QLineEdit>(0, "profilenUsername_lineEdit"), QString());
    Fixture::type(f.field<QLineEdit>(0, "profilenUrl_lineEdit"), u" 127.0.0.1 "_s);
    QLineEdit* port = f.field<QLineEdit>(0, "profilenPort_lineEdit");
    Fixture::type(port, QString::number(f.receiver.port));
    QSignalSpy built(f.window.get(), &MainWindow::serviceListsBuilt);
    click(f.field<QAbstractButton>(0, "profilenSave_pushButton"));
    QVERIFY(built.wait(10000));

    QCOMPARE(f.boxes.askedTexts(),
             (QStringList{u"Retrieve new service data from the box?"_s, u"No Active Profile found!"_s,
                          u"Profil saved!"_s, u"Create new profile!\nReload service data?"_s}));
    const Profile saved = Settings().getActiveProfile();
    QCOMPARE(saved.profileName, u"Wohnzimmer"_s);
    QCOMPARE(saved.wlanAddr, u"127.0.0.1"_s);
    QVERIFY(!f.window->shell()->isStackedWindowOpen(f.page("profilePage")));
    QCOMPARE(f.receiver.targetsTo(u"/web/getallservices"_s).size(), 1);
}

void TestProfileSettings::newProfile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("storedAddress"); // empty: nothing stored

    const QString badName = u"Please give the profile a name without \"/\" and \"\\\"."_s;
    const QString badPort = u"The port must be a number from 1 to 65535."_s;
    QTest::newRow("address in lower case")
        << u"Zweit"_s << u"MyBox.LAN"_s << u"8080"_s << u"Profil saved!"_s << u"mybox.lan"_s;
    QTest::newRow("existing name") << u"Simulated"_s << u"box"_s << u"80"_s << u"Profile already exists!"_s
                                   << QString();
    QTest::newRow("slash in name") << u"a/b"_s << u"box"_s << u"80"_s << badName << QString();
    QTest::newRow("backslash in name") << u"a\\b"_s << u"box"_s << u"80"_s << badName << QString();
    QTest::newRow("blank name") << u"   "_s << u"box"_s << u"80"_s << badName << QString();
    QTest::newRow("port 0") << u"Zweit"_s << u"box"_s << u"0"_s << badPort << QString();
    QTest::newRow("no port") << u"Zweit"_s << u"box"_s << QString() << badPort << QString();
    QTest::newRow("no address") << u"Zweit"_s << u"  "_s << u"80"_s
                                << u"Please enter the IP address or host name of the receiver."_s
                                << QString();
    QTest::newRow("blank inside address") << u"Zweit"_s << u"my box"_s << u"80"_s
                                          << u"\"my box\" is not an IP address or host name."_s << QString();
}

void TestProfileSettings::newProfile()
{
    QFETCH(QString, name);
    QFETCH(QString, address);
    QFETCH(QString, port);
    QFETCH(QString, message);
    QFETCH(QString, storedAddress);
    Fixture f(Fixture::Store::Simulated);
    f.openEditor();
    f.clickTab(1);
    Fixture::type(f.field<QLineEdit>(1, "profilenName_lineEdit"), name);
    Fixture::type(f.field<QLineEdit>(1, "profilenUrl_lineEdit"), address);
    QLineEdit* portField = f.field<QLineEdit>(1, "profilenPort_lineEdit");
    Fixture::type(portField, port);
    QTest::keyClick(portField, Qt::Key_Return);

    QCOMPARE(f.boxes.askedTexts().value(0), message);
    const bool saved = !storedAddress.isEmpty();
    QCOMPARE(Settings().getProfiles().size(), saved ? 2 : 1);
    if (saved) {
        // The new one is the active one, and the only one.
        QCOMPARE(f.boxes.askedTexts().value(1), u"Create new profile!\nReload service data?"_s);
        QCOMPARE(stored(name).wlanAddr, storedAddress);
        QVERIFY(stored(name).isActive);
        QVERIFY(!stored(u"Simulated"_s).isActive);
        QCOMPARE(f.tabTitles(), (QStringList{u"Simulated"_s, name, u"New Profil"_s}));
    } else {
        QCOMPARE(f.boxes.askedTexts().size(), 1);
        QCOMPARE(f.tabTitles(), (QStringList{u"Simulated"_s, u"New Profil"_s}));
        QCOMPARE(f.field<QLineEdit>(1, "profilenName_lineEdit")->text(), name);
    }
}

void TestProfileSettings::storedProfileSavedAgainAsksToReload()
{
    Fixture f(Fixture::Store::Simulated);
    f.openEditor();
    click(f.field<QAbstractButton>(0, "profileSave_pushButton"));
    QCOMPARE(f.boxes.askedTexts(),
             (QStringList{u"Profil saved!"_s, u"Profile changed!\nReload service data?"_s}));
    QVERIFY(stored(u"Simulated"_s).isActive);
    QCOMPARE(stored(u"Simulated"_s).wlanPort, QString::number(f.receiver.port));
}

void TestProfileSettings::activeBoxReachesTheEngine()
{
    boxsim::BoxSim second(boxsim::Personality::Enigma2);
    const quint16 secondPort = second.listen();
    Fixture f(Fixture::Store::SimulatedAndSecond, secondPort);
    QVERIFY(f.load());
    f.openEditor();
    QCOMPARE(f.tabTitles(), (QStringList{u"Second"_s, u"Simulated"_s, u"New Profil"_s}));
    click(f.field<QCheckBox>(0, "profileActive_checkBox"));
    QCOMPARE(f.boxes.askedTexts(), QStringList{u"Active profile has been changed!\nReload service data?"_s});
    QVERIFY(stored(u"Second"_s).isActive);
    QVERIFY(!stored(u"Simulated"_s).isActive);
    QVERIFY(!f.field<QCheckBox>(1, "profileActive_checkBox")->isChecked());

    // Not reloaded: the engine of the loaded image now asks the other receiver.
    f.control()->requestStatus();
    QTRY_VERIFY(!second.requestTargets().isEmpty());
    QVERIFY(second.requestTargets().first().startsWith("/web/"));
    QVERIFY(f.receiver.targets().isEmpty());
}

void TestProfileSettings::leavingUnsavedTab_data()
{
    QTest::addColumn<bool>("save");
    QTest::newRow("yes stores the edit") << true;
    QTest::newRow("no puts the stored values back") << false;
}

void TestProfileSettings::leavingUnsavedTab()
{
    QFETCH(bool, save);
    Fixture f(Fixture::Store::Simulated);
    f.openEditor();
    QLineEdit* user = f.field<QLineEdit>(0, "profileUsername_lineEdit");
    Fixture::type(user, u"admin"_s);
    QCOMPARE(f.tabs()
                 ->widget(0)
                 ->findChild<QWidget*>(u"ProfileTab_pt"_s)
                 ->findChild<QLineEdit*>(u"profileUsername_lineEdit"_s)
                 ->text(),
             u"admin"_s);
    f.boxes.answerNext(save ? Answer::Accept : Answer::Reject);
    f.clickTab(1);
    QCOMPARE(f.boxes.askedTexts(), QStringList{u"Profile not yet saved.\nSave now?"_s});
    QCOMPARE(stored(u"Simulated"_s).userName, save ? u"admin"_s : QString());
    QCOMPARE(user->text(), save ? u"admin"_s : QString());
    // Nothing is asked again once the tab and the store agree.
    f.clickTab(0);
    f.clickTab(1);
    QCOMPARE(f.boxes.askedTexts().size(), 1);
}

void TestProfileSettings::deleteTakesThePressedTabAndTheReceiver()
{
    Fixture f(Fixture::Store::SimulatedAndSecond);
    QVERIFY(f.load());
    f.openEditor();
    f.clickTab(1);
    // While the question is open, another tab becomes the current one.
    f.boxes.holdNextOpen([&f] { f.tabs()->setCurrentIndex(0); });
    f.boxes.answerNext(Answer::Accept);
    click(f.field<QAbstractButton>(1, "profileDelete_pushButton"));
    QCOMPARE(f.boxes.askedTexts(), QStringList{u"Profile delete?"_s});
    QTRY_COMPARE(f.tabTitles(), (QStringList{u"Second"_s, u"New Profil"_s}));
    QCOMPARE(Settings().getActiveProfile().profileName, QString(noActiveProfileName));
    QVERIFY(!f.control()->currentEngine());
    f.control()->requestStatus();
    f.control()->panelWidget_ClickedEvent();
    QTest::qWait(50);
    QVERIFY(f.receiver.targets().isEmpty());
}

void TestProfileSettings::settingsClicks_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<SystemSet>("expected");
    SystemSet set;
    QTest::newRow("nothing clicked") << QString() << set;
    set.chanlistClick = true;
    set.chanlistDbClick = false;
    QTest::newRow("channel list click") << u"setChanlistClickZap_radioButton"_s << set;
    set = {};
    set.movielistClick = true;
    set.movielistDbClick = false;
    QTest::newRow("movie list click") << u"setMovielistClickZap_radioButton"_s << set;
    set = {};
    set.panelClickSendExit = true;
    QTest::newRow("send exit") << u"setPanelSendExit_checkBox"_s << set;
    set = {};
    set.panelClickSendOk = false;
    QTest::newRow("no ok") << u"setPanelSendOk_checkBox"_s << set;
    set = {};
    set.orientation = 2;
    QTest::newRow("portrait") << u"setOrientationPortrait_radioButton"_s << set;
    set = {};
    set.epgLoadOnDemand = true;
    QTest::newRow("epg only when needed") << u"setEpgLoadOnDemand_radioButton"_s << set;
}

void TestProfileSettings::settingsClicks()
{
    QFETCH(QString, control);
    QFETCH(SystemSet, expected);
    Fixture f(Fixture::Store::Simulated);
    auto* page = f.window->findChild<SettingsWidget*>(u"settingsWidget"_s);
    QSignalSpy emitted(page, &SettingsWidget::systemSettingsChanged);
    f.window->findChild<QAction*>(u"settingsAction"_s)->trigger();
    QWidget* wide = page->findChild<QWidget*>(u"SettingsWidget_ls"_s);
    QWidget* tall = page->findChild<QWidget*>(u"SettingsWidget_pt"_s);
    if (!control.isEmpty()) {
        auto* button = wide->findChild<QAbstractButton*>(control);
        wide->findChild<QTabWidget*>()->setCurrentWidget(button->parentWidget()->parentWidget());
        click(button);
        QCOMPARE(emitted.size(), 1);
        QCOMPARE(emitted.first().first().value<SystemSet>(), expected);
        QCOMPARE(tall->findChild<QAbstractButton*>(control)->isChecked(), button->isChecked());
        QCOMPARE(f.control()->currentSystemSettings(), expected);
    }
    QCOMPARE(f.window->shell()->orientation(), expected.orientation);
    f.window->shell()->closeStackedWindow(f.page("settingsPage"));
    QCOMPARE(emitted.size(), control.isEmpty() ? 1 : 2);
    QSettings store;
    QVERIFY(store.value(u"SystemIntern/defaultSet"_s).toBool());
    QCOMPARE(Settings().getSystemSettings(), expected);
}

void TestProfileSettings::storedOrientationOutsideRangeAndReset()
{
    SystemSet odd;
    odd.orientation = 7;
    odd.chanlistClick = true;
    Fixture f(Fixture::Store::Simulated, 1, &odd);
    f.window->findChild<QAction*>(u"settingsAction"_s)->trigger();
    auto* page = f.window->findChild<SettingsWidget*>(u"settingsWidget"_s);
    const QStringList orientations{u"setOrientationAuto_radioButton"_s,
                                   u"setOrientationLandscape_radioButton"_s,
                                   u"setOrientationPortrait_radioButton"_s};
    for (const QString& name : orientations)
        QVERIFY(!page->findChild<QAbstractButton*>(name)->isChecked());

    QSignalSpy emitted(page, &SettingsWidget::systemSettingsChanged);
    f.boxes.answerNext(Answer::Accept);
    click(page->findChild<QWidget*>(u"SettingsWidget_ls"_s)
              ->findChild<QAbstractButton*>(u"setResetSettings_pushButton"_s));
    QCOMPARE(f.boxes.askedTexts(), QStringList{u"Restore the default settings?"_s});
    QCOMPARE(emitted.size(), 1);
    QCOMPARE(emitted.first().first().value<SystemSet>(), SystemSet{});
    QVERIFY(page->findChild<QAbstractButton*>(orientations.first())->isChecked());
    QVERIFY(page->findChild<QAbstractButton*>(u"setChanlistDbClickZap_radioButton"_s)->isChecked());
}

void TestProfileSettings::epgLoading_data()
{
    QTest::addColumn<bool>("onDemand");
    QTest::addColumn<int>("nowNextRequests");
    QTest::newRow("all automatically: every showing") << false << 3;
    QTest::newRow("only when needed: the first showing") << true << 1;
}

void TestProfileSettings::epgLoading()
{
    QFETCH(bool, onDemand);
    QFETCH(int, nowNextRequests);
    SystemSet set;
    set.epgLoadOnDemand = onDemand;
    Fixture f(Fixture::Store::Simulated, 1, &set);
    QVERIFY(f.load());
    auto* combo = f.window->findChild<QComboBox*>(u"Bouquet_comboBox"_s);
    QVERIFY(combo->count() > 1);
    const int shown = combo->currentIndex();
    const int other = (shown + 1) % combo->count();
    for (const int bouquet : {other, shown, other}) {
        combo->setCurrentIndex(bouquet);
        QVERIFY(settleControl(*f.control()));
    }
    const QStringList asked = f.receiver.targetsTo(u"/web/epgnow"_s);
    QCOMPARE(asked.size(), nowNextRequests);
}

QTEST_MAIN(TestProfileSettings)
#include "tst_profilesettings.moc"
