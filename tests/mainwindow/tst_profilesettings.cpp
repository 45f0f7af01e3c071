#include "settings/settings.h"
#include "tests/mainwindow/windowfixture.h"
#include "ui/pages/settingswidget.h"
#include "ui/shell/shellservices.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QSettings>
#include <QTabBar>

using namespace Qt::StringLiterals;
using Answer = MessageBoxAnswerer::Answer;

namespace {

// The window in front of a simulated receiver, shown. The store holds no profile, the
// receiver's active profile "Simulated", or that and an inactive "Second" at secondPort.
struct Fixture : WindowFixture
{
    explicit Fixture(int profiles, quint16 secondPort = 1, const SystemSet* systemSettings = nullptr)
        : WindowFixture(boxsim::Personality::Enigma2, [=] {
            if (systemSettings)
                Settings().saveSystemSettings(*systemSettings);
            if (profiles == 0)
                Settings().deleteProfile(u"Simulated"_s);
            if (profiles == 2)
                Settings().saveProfile(
                    {u"Second"_s, 1, false, {}, {}, u"127.0.0.1"_s, QString::number(secondPort)});
        })
    {
        window->show();
    }

    QWidget* page(const char* name) const { return find<QWidget>(name); }

    QTabWidget* tabs() const { return window->findChild<QTabWidget*>(u"profile_tabWidget"_s); }
    QStringList tabTitles() const
    {
        QStringList titles;
        for (int i = 0; i < tabs()->count(); ++i)
            titles << tabs()->tabText(i);
        return titles;
    }
    void clickTab(int index) const
    {
        QTabBar* bar = tabs()->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }

    // A control of the landscape form of the editor's tab.
    template<typename T = QAbstractButton>
    T* field(int tab, const char* name, const char* form = "ProfileTab_ls") const
    {
        return tabs()
            ->widget(tab)
            ->findChild<QWidget*>(QLatin1StringView(form))
            ->findChild<T*>(QLatin1StringView(name));
    }
};

void type(QLineEdit* edit, const QString& text)
{
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

void click(QAbstractButton* button)
{
    QVERIFY(button && button->isVisible());
    // Radio buttons and check boxes take clicks on their box and label only.
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

// The stored profiles, one "name address" line each, the active one marked with a star.
QStringList storedProfiles()
{
    QStringList lines;
    for (const Profile& profile : Settings().getProfiles())
        lines.append(profile.profileName + u' ' + profile.wlanAddr +
                     (profile.isActive ? u" *"_s : QString()));
    return lines;
}

Profile stored(const QString& name)
{
    const QList<Profile> profiles = Settings().getProfiles();
    const auto found = std::find_if(profiles.begin(), profiles.end(),
                                    [&](const Profile& p) { return p.profileName == name; });
    return found == profiles.end() ? Profile() : *found;
}

} // namespace

class TestProfileSettings : public QObject
{
    Q_OBJECT

private slots:
    void firstStartLeadsThroughTheEditorToTheList()
    {
        Fixture f(0);
        f.boxes.setDefaultAnswer(Answer::Accept);
        const QList<QGroupBox*> panels = f.window->findChildren<QGroupBox*>(u"panel_groupBox"_s);
        QTest::mouseClick(panels.first()->isVisible() ? panels.first() : panels.last(), Qt::LeftButton, {},
                          QPoint(10, 10));
        QVERIFY(f.window->shell()->isStackedWindowOpen(f.page("profilePage")));
        QCOMPARE(f.tabTitles(), QStringList{u"New Profil"_s});

        f.field<QComboBox>(0, "profilenWebif_comboBox")->setCurrentIndex(1);
        type(f.field<QLineEdit>(0, "profilenName_lineEdit"), u"Wohnzimmer"_s);
        type(f.field<QLineEdit>(0, "profilenUsername_lineEdit"), QString());
        type(f.field<QLineEdit>(0, "profilenUrl_lineEdit"), u" 127.0.0.1 "_s);
        type(f.field<QLineEdit>(0, "profilenPort_lineEdit"), QString::number(f.receiver.port));
        QSignalSpy built(f.window.get(), &MainWindow::serviceListsBuilt);
        click(f.field(0, "profilenSave_pushButton"));
        QVERIFY(built.wait(10000));

        QCOMPARE(f.boxes.askedTexts(),
                 (QStringList{u"Retrieve new service data from the box?"_s, u"No Active Profile found!"_s,
                              u"Profil saved!"_s, u"Create new profile!\nReload service data?"_s}));
        QCOMPARE(storedProfiles(), QStringList{u"Wohnzimmer 127.0.0.1 *"_s});
        QVERIFY(!f.window->shell()->isStackedWindowOpen(f.page("profilePage")));
        QCOMPARE(f.receiver.targetsTo(u"/web/getallservices"_s).size(), 1);
    }

    void newProfile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<QStringList>("stored"); // one line: nothing stored
        const QStringList unchanged{u"Simulated 127.0.0.1 *"_s};
        const QStringList name{u"Please give the profile a name without \"/\" and \"\\\"."_s};
        const QStringList port{u"The port must be a number from 1 to 65535."_s};
        const QString box = u"box"_s;
        QTest::newRow("address in lower case")
            << u"Zweit"_s << u"MyBox.LAN"_s << u"80"_s
            << QStringList{u"Profil saved!"_s, u"Create new profile!\nReload service data?"_s}
            << QStringList{u"Simulated 127.0.0.1"_s, u"Zweit mybox.lan *"_s};
        QTest::newRow("existing name")
            << u"Simulated"_s << box << u"80"_s << QStringList{u"Profile already exists!"_s} << unchanged;
        QTest::newRow("slash in name") << u"a/b"_s << box << u"80"_s << name << unchanged;
        QTest::newRow("blank name") << u"   "_s << box << u"80"_s << name << unchanged;
        QTest::newRow("port 0") << u"Zweit"_s << box << u"0"_s << port << unchanged;
        QTest::newRow("no port") << u"Zweit"_s << box << QString() << port << unchanged;
        QTest::newRow("no address")
            << u"Zweit"_s << u"  "_s << u"80"_s
            << QStringList{u"Please enter the IP address or host name of the receiver."_s} << unchanged;
        QTest::newRow("blank inside address")
            << u"Zweit"_s << u"my box"_s << u"80"_s
            << QStringList{u"\"my box\" is not an IP address or host name."_s} << unchanged;
    }

    void newProfile()
    {
        QFETCH(QString, name);
        QFETCH(QString, address);
        QFETCH(QString, port);
        QFETCH(QStringList, stored);
        Fixture f(1);
        f.trigger("profileAction");
        f.clickTab(1);
        type(f.field<QLineEdit>(1, "profilenName_lineEdit"), name);
        type(f.field<QLineEdit>(1, "profilenUrl_lineEdit"), address);
        auto* portField = f.field<QLineEdit>(1, "profilenPort_lineEdit");
        type(portField, port);
        QTest::keyClick(portField, Qt::Key_Return);

        QTEST(f.boxes.askedTexts(), "asked");
        // The new one is the active one; a refused one leaves the store as it was.
        QCOMPARE(storedProfiles(), stored);
        if (stored.size() == 1) {
            // The tabs still hold what was typed.
            QCOMPARE(f.tabTitles(), (QStringList{u"Simulated"_s, u"New Profil"_s}));
            QCOMPARE(f.field<QLineEdit>(1, "profilenName_lineEdit")->text(), name);
        } else {
            QCOMPARE(f.tabTitles(), (QStringList{u"Simulated"_s, name, u"New Profil"_s}));
        }
    }

    void savingAndActivatingReachTheEngine()
    {
        boxsim::BoxSim second(boxsim::Personality::Enigma2);
        Fixture f(2, second.listen());
        QVERIFY(f.load());
        f.trigger("profileAction");
        QCOMPARE(f.tabTitles(), (QStringList{u"Second"_s, u"Simulated"_s, u"New Profil"_s}));
        // An unchanged active profile saved again still asks to reload.
        f.clickTab(1);
        click(f.field(1, "profileSave_pushButton"));
        QCOMPARE(f.boxes.askedTexts(),
                 (QStringList{u"Profil saved!"_s, u"Profile changed!\nReload service data?"_s}));
        QCOMPARE(storedProfiles(), (QStringList{u"Second 127.0.0.1"_s, u"Simulated 127.0.0.1 *"_s}));

        f.clickTab(0);
        click(f.field(0, "profileActive_checkBox"));
        QCOMPARE(f.boxes.askedTexts().value(2), u"Active profile has been changed!\nReload service data?"_s);
        QCOMPARE(storedProfiles(), (QStringList{u"Second 127.0.0.1 *"_s, u"Simulated 127.0.0.1"_s}));
        QVERIFY(!f.field(1, "profileActive_checkBox", "ProfileTab_pt")->isChecked());

        // Not reloaded: the engine of the loaded image now asks the other receiver.
        f.control()->requestStatus();
        QTRY_VERIFY(!second.requestTargets().isEmpty());
        QVERIFY(second.requestTargets().first().startsWith("/web/"));
        QCOMPARE(f.receiver.targets(), QStringList());
    }

    void wakeUpFields_data()
    {
        QTest::addColumn<QString>("mac");  // typed into the MAC field; null: left as shown
        QTest::addColumn<QString>("wake"); // typed into the wake-up address field
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("storedMac");
        QTest::addColumn<QString>("storedWake");
        const QString learnt = u"00:1d:ec:0a:1b:2c"_s;
        QTest::newRow("the learnt address survives a save")
            << QString() << QString() << u"Profil saved!"_s << learnt << QString();
        QTest::newRow("typed with dashes, kept with colons")
            << u"00-1D-EC-0A-1B-2D"_s << u"192.168.1.255:7"_s << u"Profil saved!"_s << u"00:1d:ec:0a:1b:2d"_s
            << u"192.168.1.255:7"_s;
        QTest::newRow("no MAC address")
            << u"00:1d:ec"_s << QString()
            << u"\"00:1d:ec\" is not a MAC address; write it as six pairs of hex digits, "
               u"like 00:1d:ec:0a:1b:2c."_s
            << learnt << QString();
        QTest::newRow("a host name to wake")
            << QString() << u"router.lan"_s
            << u"\"router.lan\" is not an IP address with an optional port, like 192.168.1.255:9."_s << learnt
            << QString();
    }

    void wakeUpFields()
    {
        QFETCH(QString, mac);
        QFETCH(QString, wake);
        QFETCH(QString, storedMac);
        Fixture f(1);
        // The editor is open while the receiver reports its address.
        f.trigger("profileAction");
        QVERIFY(f.load());
        auto* macField = f.field<QLineEdit>(0, "profileMac_lineEdit");
        if (!mac.isNull())
            type(macField, mac);
        if (!wake.isNull())
            type(f.field<QLineEdit>(0, "profileWakeAddress_lineEdit"), wake);
        click(f.field(0, "profileSave_pushButton"));
        QTEST(f.boxes.askedTexts().value(0), "message");
        QCOMPARE(stored(u"Simulated"_s).lanMac, storedMac);
        QTEST(stored(u"Simulated"_s).wakeAddress, "storedWake");
        QCOMPARE(macField->text(), mac.isNull() ? storedMac : mac);
    }

    void leavingUnsavedTab_data()
    {
        QTest::addColumn<bool>("save");
        QTest::newRow("yes stores the edit") << true;
        QTest::newRow("no puts the stored values back") << false;
    }

    void leavingUnsavedTab()
    {
        QFETCH(bool, save);
        Fixture f(1);
        f.trigger("profileAction");
        auto* user = f.field<QLineEdit>(0, "profileUsername_lineEdit");
        type(user, u"admin"_s);
        QCOMPARE(f.field<QLineEdit>(0, "profileUsername_lineEdit", "ProfileTab_pt")->text(), u"admin"_s);
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

    void deleteTakesThePressedTabAndTheReceiver()
    {
        Fixture f(2);
        QVERIFY(f.load());
        f.trigger("profileAction");
        f.clickTab(1);
        // While the question is open, another tab becomes the current one.
        f.boxes.holdNextOpen([&f] { f.tabs()->setCurrentIndex(0); });
        f.boxes.answerNext(Answer::Accept);
        click(f.field(1, "profileDelete_pushButton"));
        QCOMPARE(f.boxes.askedTexts(), QStringList{u"Profile delete?"_s});
        QCOMPARE(f.tabTitles(), (QStringList{u"Second"_s, u"New Profil"_s}));
        QCOMPARE(Settings().getActiveProfile().profileName, QString(noActiveProfileName));
        QVERIFY(!f.control()->currentEngine());
        f.control()->requestStatus();
        f.control()->panelWidget_ClickedEvent();
        QTest::qWait(50);
        QCOMPARE(f.receiver.targets(), QStringList());
    }

    void settingsClicks_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<SystemSet>("expected");
        QTest::newRow("nothing clicked") << QString() << SystemSet{};
        QTest::newRow("channel list click") << u"setChanlistClickZap_radioButton"_s
                                            << SystemSet{.chanlistClick = true, .chanlistDbClick = false};
        QTest::newRow("movie list click") << u"setMovielistClickZap_radioButton"_s
                                          << SystemSet{.movielistClick = true, .movielistDbClick = false};
        QTest::newRow("send exit") << u"setPanelSendExit_checkBox"_s << SystemSet{.panelClickSendExit = true};
        QTest::newRow("no ok") << u"setPanelSendOk_checkBox"_s << SystemSet{.panelClickSendOk = false};
        QTest::newRow("portrait") << u"setOrientationPortrait_radioButton"_s << SystemSet{.orientation = 2};
        QTest::newRow("epg only when needed")
            << u"setEpgLoadOnDemand_radioButton"_s << SystemSet{.epgLoadOnDemand = true};
    }

    void settingsClicks()
    {
        QFETCH(QString, control);
        QFETCH(SystemSet, expected);
        Fixture f(1);
        auto* page = f.window->findChild<SettingsWidget*>(u"settingsWidget"_s);
        QSignalSpy emitted(page, &SettingsWidget::systemSettingsChanged);
        f.trigger("settingsAction");
        if (!control.isEmpty()) {
            auto* button =
                page->findChild<QWidget*>(u"SettingsWidget_ls"_s)->findChild<QAbstractButton*>(control);
            page->findChild<QTabWidget*>()->setCurrentWidget(button->parentWidget()->parentWidget());
            click(button);
            QCOMPARE(emitted.size(), 1);
            QCOMPARE(emitted.first().first().value<SystemSet>(), expected);
            QCOMPARE(page->findChild<QWidget*>(u"SettingsWidget_pt"_s)
                         ->findChild<QAbstractButton*>(control)
                         ->isChecked(),
                     button->isChecked());
            QCOMPARE(f.control()->currentSystemSettings(), expected);
        }
        QCOMPARE(f.window->shell()->orientation(), expected.orientation);
        f.window->shell()->closeStackedWindow(f.page("settingsPage"));
        QCOMPARE(emitted.size(), control.isEmpty() ? 1 : 2);
        QVERIFY(QSettings().value(u"SystemIntern/defaultSet"_s).toBool());
        QCOMPARE(Settings().getSystemSettings(), expected);
    }

    void storedOrientationOutsideRangeAndReset()
    {
        const SystemSet odd{.orientation = 7, .chanlistClick = true};
        Fixture f(1, 1, &odd);
        f.trigger("settingsAction");
        auto* page = f.window->findChild<SettingsWidget*>(u"settingsWidget"_s);
        const auto checked = [page](const char* name) {
            return page->findChild<QAbstractButton*>(QLatin1StringView(name))->isChecked();
        };
        QVERIFY(!checked("setOrientationAuto_radioButton"));
        QVERIFY(!checked("setOrientationLandscape_radioButton"));
        QVERIFY(!checked("setOrientationPortrait_radioButton"));

        QSignalSpy emitted(page, &SettingsWidget::systemSettingsChanged);
        f.boxes.answerNext(Answer::Accept);
        click(page->findChild<QAbstractButton*>(u"setResetSettings_pushButton"_s));
        QCOMPARE(f.boxes.askedTexts(), QStringList{u"Restore the default settings?"_s});
        QCOMPARE(emitted.size(), 1);
        QCOMPARE(emitted.first().first().value<SystemSet>(), SystemSet{});
        QVERIFY(checked("setOrientationAuto_radioButton"));
        QVERIFY(checked("setChanlistDbClickZap_radioButton"));
    }

    void epgLoading_data()
    {
        QTest::addColumn<bool>("onDemand");
        QTest::addColumn<int>("nowNextRequests");
        QTest::newRow("all automatically: every showing") << false << 3;
        QTest::newRow("only when needed: the first showing") << true << 1;
    }

    void epgLoading()
    {
        QFETCH(bool, onDemand);
        const SystemSet set{.epgLoadOnDemand = onDemand};
        Fixture f(1, 1, &set);
        QVERIFY(f.load());
        auto* combo = f.window->findChild<QComboBox*>(u"Bouquet_comboBox"_s);
        QVERIFY(combo->count() > 1);
        const int shown = combo->currentIndex();
        const int other = (shown + 1) % combo->count();
        for (const int bouquet : {other, shown, other}) {
            combo->setCurrentIndex(bouquet);
            QVERIFY(f.settle());
        }
        QTEST(int(f.receiver.targetsTo(u"/web/epgnow"_s).size()), "nowNextRequests");
    }
};

QTEST_MAIN(TestProfileSettings)
#include "tst_profilesettings.moc"
