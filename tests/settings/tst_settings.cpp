#include "settings/settings.h"
#include "tests/common/temporarysettings.h"
#include <QSignalSpy>
#include <QTest>

namespace {

Profile makeProfile(const QString& name, bool active, const QString& address = QStringLiteral("192.168.1.20"))
{
    Profile profile;
    profile.profileName = name;
    profile.webIfType = 1;
    profile.isActive = active;
    profile.userName = QStringLiteral("root");
    profile.password = QStringLiteral("dreambox");
    profile.wlanAddr = address;
    profile.wlanPort = QStringLiteral("80");
    return profile;
}

QStringList namesOf(const QList<Profile>& profiles)
{
    QStringList names;
    for (const Profile& profile : profiles)
        names.append(profile.profileName + (profile.isActive ? QStringLiteral("*") : QString()));
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
        const Profile profile = settings.getActiveProfile();
        QCOMPARE(profile.profileName, QString(noActiveProfileName));
        QVERIFY(profile.wlanAddr.isEmpty());
        QCOMPARE(profile.webIfType, 0);
        QCOMPARE(announced.count(), 0);
        QVERIFY(settings.getProfiles().isEmpty());
    }

    void profileRoundTripAcrossInstances()
    {
        Settings writer;
        Profile saved = makeProfile(QStringLiteral("Wohnzimmer Ümlaut"), true);
        saved.password = QStringLiteral("p@ss wörd&#");
        QVERIFY(writer.saveProfile(saved));

        Settings reader;
        const Profile read = reader.getActiveProfile();
        QCOMPARE(read.profileName, saved.profileName);
        QCOMPARE(read.webIfType, 1);
        QVERIFY(read.isActive);
        QCOMPARE(read.userName, saved.userName);
        QCOMPARE(read.password, saved.password);
        QCOMPARE(read.wlanAddr, saved.wlanAddr);
        QCOMPARE(read.wlanPort, saved.wlanPort);

        // The keys are where other tools and earlier versions look for them.
        QSettings store;
        QCOMPARE(store.value(QStringLiteral("profiles/Wohnzimmer Ümlaut/wlanPort")).toString(),
                 QStringLiteral("80"));
        QCOMPARE(store.value(QStringLiteral("profiles/Wohnzimmer Ümlaut/isActive")).toBool(), true);
    }

    void readingAnnouncesTheActiveProfile()
    {
        Settings settings;
        QSignalSpy announced(&settings, &Settings::activeProfileChanged);
        QVERIFY(settings.saveProfile(makeProfile(QStringLiteral("a"), false)));
        QCOMPARE(announced.count(), 0);
        QVERIFY(settings.saveProfile(makeProfile(QStringLiteral("b"), true)));
        QCOMPARE(announced.count(), 1); // synchronously, before the save returned
        settings.getActiveProfile();
        settings.getProfiles();
        QCOMPARE(announced.count(), 3);
        QCOMPARE(announced.last().first().value<Profile>().profileName, QStringLiteral("b"));
    }

    void severalActiveProfilesAnnounceEach()
    {
        {
            QSettings store;
            for (const char* name : {"x", "y"}) {
                const QString group = QStringLiteral("profiles/") + QLatin1String(name);
                store.setValue(group + QStringLiteral("/profileName"), QLatin1String(name));
                store.setValue(group + QStringLiteral("/isActive"), true);
            }
        }
        Settings settings;
        QSignalSpy announced(&settings, &Settings::activeProfileChanged);
        QCOMPARE(settings.getActiveProfile().profileName, QStringLiteral("y"));
        QCOMPARE(announced.count(), 2);
        QCOMPARE(announced.at(0).first().value<Profile>().profileName, QStringLiteral("x"));
    }

    void onlyTheFirstActiveProfileIsWritten()
    {
        Settings first;
        QVERIFY(first.saveProfile(makeProfile(QStringLiteral("Alpha"), true)));
        // Another instance that never read the store saves a second active profile.
        Settings second;
        QVERIFY(second.saveProfile(makeProfile(QStringLiteral("Beta"), true)));
        QCOMPARE(namesOf(second.getProfiles()),
                 (QStringList{QStringLiteral("Alpha*"), QStringLiteral("Beta")}));
        QCOMPARE(first.getActiveProfile().profileName, QStringLiteral("Alpha"));

        // Re-saving the active one inactive leaves no active profile.
        QVERIFY(first.saveProfile(makeProfile(QStringLiteral("Alpha"), false)));
        QCOMPARE(first.getActiveProfile().profileName, QString(noActiveProfileName));
    }

    void addressLosesOnlyALowerCaseScheme_data()
    {
        QTest::addColumn<QString>("entered");
        QTest::addColumn<QString>("stored");

        QTest::newRow("plain address") << QStringLiteral("192.168.1.20") << QStringLiteral("192.168.1.20");
        QTest::newRow("http scheme removed")
            << QStringLiteral("http://dreambox.local") << QStringLiteral("dreambox.local");
        QTest::newRow("upper-case scheme kept")
            << QStringLiteral("HTTP://dreambox.local") << QStringLiteral("HTTP://dreambox.local");
        QTest::newRow("https kept") << QStringLiteral("https://box") << QStringLiteral("https://box");
    }

    void addressLosesOnlyALowerCaseScheme()
    {
        QFETCH(QString, entered);
        QFETCH(QString, stored);

        Settings settings;
        QVERIFY(settings.saveProfile(makeProfile(QStringLiteral("p"), true, entered)));
        QCOMPARE(settings.getActiveProfile().wlanAddr, stored);
    }

    void unstorableNamesAreRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("empty") << QString();
        QTest::newRow("slash") << QStringLiteral("living/room");
        QTest::newRow("backslash") << QStringLiteral("living\\room");
    }

    void unstorableNamesAreRefused()
    {
        QFETCH(QString, name);

        Settings settings;
        QVERIFY(settings.saveProfile(makeProfile(QStringLiteral("kept"), true)));
        QVERIFY(!settings.saveProfile(makeProfile(name, true)));
        QCOMPARE(namesOf(settings.getProfiles()), QStringList{QStringLiteral("kept*")});
        QCOMPARE(QSettings().allKeys().size(), 7);
    }

    void deleteProfile()
    {
        Settings settings;
        QVERIFY(settings.saveProfile(makeProfile(QStringLiteral("a"), true)));
        QVERIFY(settings.saveProfile(makeProfile(QStringLiteral("b"), false)));
        const QStringList keysBefore = QSettings().allKeys();

        settings.deleteProfile(QStringLiteral("unknown"));
        QCOMPARE(QSettings().allKeys(), keysBefore);
        QCOMPARE(namesOf(settings.getProfiles()), (QStringList{QStringLiteral("a*"), QStringLiteral("b")}));

        // A profile saved by another instance can be deleted through this one.
        Settings other;
        QVERIFY(other.saveProfile(makeProfile(QStringLiteral("c"), false)));
        settings.deleteProfile(QStringLiteral("c"));
        settings.deleteProfile(QStringLiteral("a"));
        QCOMPARE(namesOf(other.getProfiles()), QStringList{QStringLiteral("b")});
        QCOMPARE(settings.getActiveProfile().profileName, QString(noActiveProfileName));
    }

    void systemSettingsDefaultsUntilSaved()
    {
        {
            QSettings store;
            store.setValue(QStringLiteral("SystemSet/isLiveMode"), false);
            store.setValue(QStringLiteral("SystemSet/orientation"), 2);
        }
        Settings settings;
        QCOMPARE(settings.getSystemSettings(), SystemSet{});
        const SystemSet defaults = settings.getSystemSettings();
        QCOMPARE(defaults.orientation, 0);
        QVERIFY(defaults.panelClickSendOk);
        QVERIFY(!defaults.panelClickSendExit);
        QVERIFY(!defaults.chanlistClick);
        QVERIFY(defaults.chanlistDbClick);
        QVERIFY(!defaults.movielistClick);
        QVERIFY(defaults.movielistDbClick);
        QVERIFY(defaults.isLiveMode);
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
        QSettings().remove(QStringLiteral("SystemSet/chanlistDbClick"));
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
