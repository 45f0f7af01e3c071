#include "settings/settings.h"
#include "tests/common/temporarysettings.h"
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

Profile makeProfile(const QString& name, bool active, const QString& address = u"192.168.1.20"_s)
{
    return {name, 1, active, u"root"_s, u"dreambox"_s, address, u"80"_s};
}

// What the store keeps of a profile, as one line.
QString fields(const Profile& p)
{
    return u"%1 | %2 | %3 | %4 | %5 | %6 | %7"_s.arg(p.profileName, QString::number(p.webIfType),
                                                     p.isActive ? u"active"_s : u"inactive"_s, p.userName,
                                                     p.password, p.wlanAddr, p.wlanPort);
}

QStringList namesOf(const QList<Profile>& profiles)
{
    QStringList names;
    for (const Profile& profile : profiles)
        names.append(profile.profileName + (profile.isActive ? u"*"_s : QString()));
    return names;
}

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_store = std::make_unique<TemporarySettings>(); }

    void cleanup() { m_store.reset(); }

    void noProfileGivesTheMarker()
    {
        Settings settings;
        QSignalSpy announced(&settings, &Settings::activeProfileChanged);
        QCOMPARE(fields(settings.getActiveProfile()),
                 fields({QString(noActiveProfileName), 0, false, {}, {}, {}, {}}));
        QCOMPARE(announced.count(), 0);
        QVERIFY(settings.getProfiles().isEmpty());
    }

    void profileRoundTripAcrossInstances_data()
    {
        QTest::addColumn<QString>("entered");
        QTest::addColumn<QString>("stored"); // the address loses only a lower-case scheme

        QTest::newRow("plain address") << u"192.168.1.20"_s << u"192.168.1.20"_s;
        QTest::newRow("http scheme removed") << u"http://dreambox.local"_s << u"dreambox.local"_s;
        QTest::newRow("upper-case scheme kept") << u"HTTP://dreambox.local"_s << u"HTTP://dreambox.local"_s;
        QTest::newRow("https kept") << u"https://box"_s << u"https://box"_s;
    }

    void profileRoundTripAcrossInstances()
    {
        QFETCH(QString, entered);
        QFETCH(QString, stored);
        Profile saved = makeProfile(u"Wohnzimmer Ümlaut"_s, true, entered);
        saved.password = u"p@ss wörd&#"_s;
        QVERIFY(Settings().saveProfile(saved));
        saved.wlanAddr = stored;
        QCOMPARE(fields(Settings().getActiveProfile()), fields(saved));

        // The keys are where other tools and earlier versions look for them.
        QSettings store;
        QCOMPARE(store.value(u"profiles/Wohnzimmer Ümlaut/wlanPort"_s).toString(), u"80"_s);
        QCOMPARE(store.value(u"profiles/Wohnzimmer Ümlaut/isActive"_s).toBool(), true);
    }

    void readingAnnouncesTheActiveProfile()
    {
        Settings settings;
        QSignalSpy announced(&settings, &Settings::activeProfileChanged);
        QVERIFY(settings.saveProfile(makeProfile(u"a"_s, false)));
        QCOMPARE(announced.count(), 0);
        QVERIFY(settings.saveProfile(makeProfile(u"b"_s, true)));
        QCOMPARE(announced.count(), 1); // synchronously, before the save returned
        settings.getActiveProfile();
        settings.getProfiles();
        QCOMPARE(announced.count(), 3);
        QCOMPARE(announced.last().first().value<Profile>().profileName, u"b"_s);
    }

    void severalActiveProfilesAnnounceEach()
    {
        {
            QSettings store;
            for (const QString& name : {u"x"_s, u"y"_s}) {
                store.setValue(u"profiles/"_s + name + u"/profileName"_s, name);
                store.setValue(u"profiles/"_s + name + u"/isActive"_s, true);
            }
        }
        Settings settings;
        QSignalSpy announced(&settings, &Settings::activeProfileChanged);
        QCOMPARE(settings.getActiveProfile().profileName, u"y"_s);
        QCOMPARE(announced.count(), 2);
        QCOMPARE(announced.at(0).first().value<Profile>().profileName, u"x"_s);
    }

    void onlyTheFirstActiveProfileIsWritten()
    {
        Settings first;
        QVERIFY(first.saveProfile(makeProfile(u"Alpha"_s, true)));
        // Another instance that never read the store saves a second active profile.
        Settings second;
        QVERIFY(second.saveProfile(makeProfile(u"Beta"_s, true)));
        QCOMPARE(namesOf(second.getProfiles()), (QStringList{u"Alpha*"_s, u"Beta"_s}));
        QCOMPARE(first.getActiveProfile().profileName, u"Alpha"_s);

        // Re-saving the active one inactive leaves no active profile.
        QVERIFY(first.saveProfile(makeProfile(u"Alpha"_s, false)));
        QCOMPARE(first.getActiveProfile().profileName, QString(noActiveProfileName));
    }

    void unstorableNamesAreRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("empty") << QString();
        QTest::newRow("slash") << u"living/room"_s;
        QTest::newRow("backslash") << u"living\\room"_s;
    }

    void unstorableNamesAreRefused()
    {
        QFETCH(QString, name);

        Settings settings;
        QVERIFY(settings.saveProfile(makeProfile(u"kept"_s, true)));
        QVERIFY(!settings.saveProfile(makeProfile(name, true)));
        QCOMPARE(namesOf(settings.getProfiles()), QStringList{u"kept*"_s});
        QCOMPARE(QSettings().allKeys().size(), 7);
    }

    void deleteProfile()
    {
        Settings settings;
        QVERIFY(settings.saveProfile(makeProfile(u"a"_s, true)));
        QVERIFY(settings.saveProfile(makeProfile(u"b"_s, false)));
        const QStringList keysBefore = QSettings().allKeys();

        settings.deleteProfile(u"unknown"_s);
        QCOMPARE(QSettings().allKeys(), keysBefore);
        QCOMPARE(namesOf(settings.getProfiles()), (QStringList{u"a*"_s, u"b"_s}));

        // A profile saved by another instance can be deleted through this one.
        Settings other;
        QVERIFY(other.saveProfile(makeProfile(u"c"_s, false)));
        settings.deleteProfile(u"c"_s);
        settings.deleteProfile(u"a"_s);
        QCOMPARE(namesOf(other.getProfiles()), QStringList{u"b"_s});
        QCOMPARE(settings.getActiveProfile().profileName, QString(noActiveProfileName));
    }

    void systemSettingsDefaultsUntilSaved()
    {
        {
            QSettings store;
            store.setValue(u"SystemSet/isLiveMode"_s, false);
            store.setValue(u"SystemSet/orientation"_s, 2);
        }
        const SystemSet s = Settings().getSystemSettings();
        QCOMPARE(s, SystemSet{});
        QCOMPARE((QList<int>{s.orientation, s.panelClickSendOk, s.panelClickSendExit, s.chanlistClick,
                             s.chanlistDbClick, s.movielistClick, s.movielistDbClick, s.isLiveMode}),
                 (QList<int>{0, true, false, false, true, false, true, true}));
    }

    void systemSettingsRoundTrip()
    {
        Settings settings;
        QSignalSpy changed(&settings, &Settings::systemSettingsChanged);
        SystemSet set;
        set.orientation = 2;
        set.panelClickSendOk = false;
        set.chanlistClick = true;
        set.isLiveMode = false;
        settings.saveSystemSettings(set);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.first().first().value<SystemSet>(), set);
        QCOMPARE(settings.getSystemSettings(), set);
        QCOMPARE(Settings().getSystemSettings(), set);

        // Once saved, a flag that went missing reads as false rather than as its default.
        QSettings().remove(u"SystemSet/chanlistDbClick"_s);
        QVERIFY(!Settings().getSystemSettings().chanlistDbClick);
    }

    void searchSettings()
    {
        Settings settings;
        QCOMPARE(settings.getSearchSettings(), SearchSet{});
        QSignalSpy changed(&settings, &Settings::systemSettingsChanged);
        SearchSet set;
        set.keyTitel = true;
        set.keyTime = true;
        settings.saveSearchSettings(set);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(Settings().getSearchSettings(), set);
    }

private:
    std::unique_ptr<TemporarySettings> m_store;
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
