#include "settings/passwordkeyring.h"
#include "settings/settings.h"
#include "tests/common/privatesessionbus.h"
#include "tests/common/temporarysettings.h"
#include "tools/boxsim/boxsim.h"

#include <QSignalSpy>

using namespace Qt::StringLiterals;

// The profiles' passwords against a real secret service on a D-Bus session of the test's own;
// built a second time with no secret service on the session, the same cases check that the
// settings file keeps the passwords as before.
class TestKeyring : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_bus.isReady());
        m_keyring = std::make_unique<PasswordKeyring>(Settings().fileName());
        m_told = std::make_unique<QSignalSpy>(m_keyring.get(), &PasswordKeyring::unavailable);
        Settings::usePasswordKeyring(m_keyring.get());
    }

    void passwordPlace_data()
    {
        QTest::addColumn<bool>("byEarlierVersion"); // else saved through the store
        QTest::addColumn<QString>("password");
        QTest::newRow("saved") << false << u"s3cret"_s;
        QTest::newRow("saved, not ASCII, with '='") << false << u"Grüße=€ 𝄞"_s;
        QTest::newRow("left in the file by an earlier version") << true << u"old secret"_s;
        QTest::newRow("saved without a password") << false << QString();
    }

    void passwordPlace()
    {
        QFETCH(bool, byEarlierVersion);
        QFETCH(QString, password);
        const QString name = QString::fromLatin1(QTest::currentDataTag()).left(12);
        Profile profile{name, 1, false, u"root"_s, password, u"127.0.0.1"_s, u"80"_s};
        if (byEarlierVersion) {
            QSettings file;
            file.setValue(u"profiles/"_s + name + u"/profileName"_s, name);
            file.setValue(u"profiles/"_s + name + u"/password"_s, password);
            file.setValue(u"profiles/"_s + name + u"/wlanAddr"_s, profile.wlanAddr);
        } else {
            QVERIFY(Settings().saveProfile(profile));
        }
        // The first reading has the password, wherever it is kept.
        QCOMPARE(storedPassword(name), password);
        waitUntilIdle(*m_keyring);

        const bool inKeyring = TAVREL_SECRET_SERVICE && !password.isEmpty();
        QSettings file;
        QCOMPARE(file.contains(u"profiles/"_s + name + u"/password"_s), !inKeyring);
        if (inKeyring)
            QVERIFY(!fileText().contains(password.toUtf8()));
        QCOMPARE(passwordAfterRestart(name), password);
    }

    void deletedProfileLeavesTheKeyring()
    {
        QVERIFY(Settings().saveProfile(
            {u"Gone"_s, 1, false, u"root"_s, u"gone secret"_s, u"10.0.0.9"_s, u"80"_s}));
        waitUntilIdle(*m_keyring);
        Settings().deleteProfile(u"Gone"_s);
        waitUntilIdle(*m_keyring);

        PasswordKeyring restarted(Settings().fileName());
        restarted.load({u"Gone"_s});
        waitUntilIdle(restarted);
        QVERIFY(!restarted.password(u"Gone"_s).has_value());
    }

    void commandLineTakesTheProfilePassword()
    {
        boxsim::BoxSim box(boxsim::Personality::Enigma2);
        QVERIFY(box.listen() != 0);
        box.setCredentials(u"root"_s, u"cli secret"_s);
        // The client's own settings store, written by an earlier version.
        QTemporaryDir home;
        QVERIFY(QDir().mkpath(home.filePath(u"Quillory APPDEV"_s)));
        const QString storeFile = home.filePath(u"Quillory APPDEV/TavrelControl Lite.conf"_s);
        {
            QSettings store(storeFile, QSettings::IniFormat);
            store.setValue(u"profiles/Box/profileName"_s, u"Box"_s);
            store.setValue(u"profiles/Box/webIfType"_s, 1);
            store.setValue(u"profiles/Box/userName"_s, u"root"_s);
            store.setValue(u"profiles/Box/password"_s, u"cli secret"_s);
            store.setValue(u"profiles/Box/wlanAddr"_s, u"127.0.0.1"_s);
            store.setValue(u"profiles/Box/wlanPort"_s, QString::number(box.port()));
        }
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"XDG_CONFIG_HOME"_s, home.path());
        // Twice: the first run moves the password into the keyring, the second finds it there.
        for (int run = 0; run < 2; ++run) {
            QProcess client;
            client.setProcessEnvironment(environment);
            client.start(QStringLiteral(TAVREL_CLI), {u"--profile"_s, u"Box"_s, u"dump"_s, u"about"_s});
            QTRY_VERIFY_WITH_TIMEOUT(client.state() == QProcess::NotRunning, 30000);
            const QByteArray err = client.readAllStandardError();
            QVERIFY2(client.exitCode() == 0, err.constData());
            QCOMPARE(err.contains("keyring"), !TAVREL_SECRET_SERVICE);
            QVERIFY(!err.contains("cli secret") && !client.readAllStandardOutput().contains("cli secret"));
            QFile file(storeFile);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll().contains("cli secret"), !TAVREL_SECRET_SERVICE);
        }
    }

    void unavailableIsToldOnce()
    {
        // Every case above wanted the keyring; without a service that is said once in all.
        QCOMPARE(m_told->size(), TAVREL_SECRET_SERVICE ? 0 : 1);
    }

private:
    static void waitUntilIdle(const PasswordKeyring& keyring)
    {
        QTRY_VERIFY_WITH_TIMEOUT(!keyring.isBusy(), 20000);
    }

    static QString storedPassword(const QString& name)
    {
        for (const Profile& profile : Settings().getProfiles()) {
            if (profile.profileName == name)
                return profile.password;
        }
        return u"(no profile)"_s;
    }

    // The password as a later start reads it: a new keyring loads what the file points to.
    QString passwordAfterRestart(const QString& name)
    {
        PasswordKeyring restarted(Settings().fileName());
        Settings::usePasswordKeyring(&restarted);
        restarted.load(Settings().profilesWithKeyringPassword());
        waitUntilIdle(restarted);
        const QString password = storedPassword(name);
        Settings::usePasswordKeyring(m_keyring.get());
        return password;
    }

    QByteArray fileText()
    {
        QSettings().sync();
        QFile file(Settings().fileName());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
    }

    PrivateSessionBus m_bus{TAVREL_SECRET_SERVICE ? PrivateSessionBus::Keyring::Unlocked
                                                  : PrivateSessionBus::Keyring::None};
    TemporarySettings m_settings;
    std::unique_ptr<PasswordKeyring> m_keyring;
    std::unique_ptr<QSignalSpy> m_told;
};

QTEST_GUILESS_MAIN(TestKeyring)
#include "tst_keyring.moc"
