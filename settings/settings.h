#pragma once

#include "model/records.h"

#include <QList>
#include <QObject>
#include <QSettings>

class PasswordKeyring;

// Accessor to the one persistent store of profiles, system settings and search settings.
// Every component creates its own instance; all of them read and write the same store.
// Reading the active profile, and every save or delete of a profile, re-announces the active
// profile through activeProfileChanged(), synchronously, before the call returns.
// Once a program names a keyring (usePasswordKeyring), profile passwords live there and not in
// the file; a password an earlier version left in the file moves there when it is first read.
// While no keyring is named, or the named one cannot be used, the file holds them as before.
class Settings : public QObject
{
    Q_OBJECT

public:
    explicit Settings(QObject* parent = nullptr);
    ~Settings() override;

    // The active profile, or a profile named noActiveProfileName when there is none.
    Profile getActiveProfile();
    QList<Profile> getProfiles();
    // Adds the profile or replaces the one of the same name. A name the store cannot hold as
    // a group (empty, or with "/" or "\") is refused: nothing is written and false returned.
    bool saveProfile(const Profile& profile);
    void deleteProfile(const QString& name);

    SystemSet getSystemSettings();
    void saveSystemSettings(const SystemSet& set);
    SearchSet getSearchSettings();
    void saveSearchSettings(const SearchSet& set);

    static bool isStorableProfileName(const QString& name);

    // The keyring every instance of this program keeps passwords in; nullptr: the file.
    static void usePasswordKeyring(PasswordKeyring* keyring);
    // The path of the file the store is kept in.
    QString fileName() const;
    // The profiles whose password the keyring holds, for PasswordKeyring::load().
    QStringList profilesWithKeyringPassword();

Q_SIGNALS:
    void activeProfileChanged(Profile profile);
    void systemSettingsChanged(SystemSet set);

private:
    enum class Announce
    {
        ActiveProfile,
        Nothing
    };
    void readProfiles(Announce announce = Announce::ActiveProfile);
    void writeProfiles();
    void readDefaultSetFlag();
    void setOrRemove(const QString& name, const QString& value);
    // A flag is written only when set.
    void setFlagOrRemove(const QString& name, bool value);
    QString readPassword(const QString& group);
    void writePassword(const QString& group, const QString& password);

    bool m_useDefaultSystemSet = true;
    QSettings m_store;
    QList<Profile> m_profiles;
    int m_profileCount = 0;
    int m_activeIndex = -1;
};
