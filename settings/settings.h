#pragma once

#include "model/records.h"

#include <QList>
#include <QObject>
#include <QSettings>

// Accessor to the one persistent store of profiles, system settings and search settings.
// Every component creates its own instance; all of them read and write the same store.
// Reading the active profile, and every save or delete of a profile, re-announces the active
// profile through activeProfileChanged(), synchronously, before the call returns.
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

    bool m_useDefaultSystemSet = true;
    QSettings m_store;
    QList<Profile> m_profiles;
    int m_profileCount = 0;
    int m_activeIndex = -1;
};
