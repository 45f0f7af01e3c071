#include "settings/settings.h"

#include "settings/passwordkeyring.h"

#include <QPointer>

#include <algorithm>

namespace {

constexpr QLatin1StringView profilesGroup{"profiles"};
constexpr QLatin1StringView systemSetGroup{"SystemSet"};
constexpr QLatin1StringView systemInternGroup{"SystemIntern"};
constexpr QLatin1StringView searchSetGroup{"searchSet"};
constexpr QLatin1StringView httpScheme{"http://"};
constexpr QLatin1StringView passwordKey{"password"};
// Marks a profile whose password the keyring holds; absent otherwise, so that the file of a
// profile without one reads as before.
constexpr QLatin1StringView inKeyringKey{"passwordInKeyring"};

QPointer<PasswordKeyring> passwordKeyring;

QString key(const QString& group, QLatin1StringView name)
{
    return group + QLatin1Char('/') + name;
}

// The keyring has taken the password over: it leaves the file, unless the file has been
// given another one meanwhile.
void forgetFilePassword(const QString& file, const QString& group, const QString& password)
{
    QSettings store(file, QSettings::NativeFormat);
    const QString path = profilesGroup + QLatin1Char('/') + group + QLatin1Char('/');
    if (store.value(path + passwordKey).toString() != password)
        return;
    store.remove(path + passwordKey);
    store.setValue(path + inKeyringKey, true);
}

// The keyring refused the password: the file keeps it, as long as the profile is still there.
void keepFilePassword(const QString& file, const QString& group, const QString& password)
{
    QSettings store(file, QSettings::NativeFormat);
    const QString path = profilesGroup + QLatin1Char('/') + group + QLatin1Char('/');
    if (!store.value(path + inKeyringKey).toBool())
        return;
    store.setValue(path + passwordKey, password);
    store.remove(path + inKeyringKey);
}

} // namespace

Settings::Settings(QObject* parent)
    : QObject(parent)
{
    readDefaultSetFlag();
}

Settings::~Settings() = default;

Profile Settings::getActiveProfile()
{
    readProfiles();
    if (m_activeIndex < 0 || m_activeIndex >= m_profiles.size()) {
        Profile none;
        none.profileName = noActiveProfileName;
        return none;
    }
    return m_profiles.at(m_activeIndex);
}

QList<Profile> Settings::getProfiles()
{
    readProfiles();
    return m_profiles;
}

void Settings::usePasswordKeyring(PasswordKeyring* keyring)
{
    passwordKeyring = keyring;
}

QString Settings::fileName() const
{
    return m_store.fileName();
}

QStringList Settings::profilesWithKeyringPassword()
{
    QStringList names;
    m_store.beginGroup(profilesGroup);
    const QStringList groups = m_store.childGroups();
    for (const QString& group : groups) {
        if (m_store.value(key(group, inKeyringKey)).toBool())
            names.append(group);
    }
    m_store.endGroup();
    return names;
}

bool Settings::isStorableProfileName(const QString& name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
}

bool Settings::saveProfile(const Profile& profile)
{
    if (!isStorableProfileName(profile.profileName))
        return false;
    // Another instance may have written since this cache was filled.
    readProfiles(Announce::Nothing);
    const qsizetype found = m_profiles.indexOf(profile);
    if (found >= 0) {
        m_profiles[found] = profile;
    } else {
        m_profiles.append(profile);
        ++m_profileCount;
    }
    writeProfiles();
    readProfiles();
    return true;
}

void Settings::deleteProfile(const QString& name)
{
    readProfiles(Announce::Nothing);
    const auto found = std::find_if(m_profiles.cbegin(), m_profiles.cend(),
                                    [&](const Profile& profile) { return profile.profileName == name; });
    if (found == m_profiles.cend())
        return;
    m_profiles.erase(found);
    --m_profileCount;
    m_store.beginGroup(profilesGroup);
    const bool inKeyring = m_store.value(key(name, inKeyringKey)).toBool();
    m_store.remove(name);
    m_store.endGroup();
    if (inKeyring && passwordKeyring && passwordKeyring->isAvailable())
        passwordKeyring->remove(name);
    readProfiles();
}

SystemSet Settings::getSystemSettings()
{
    if (m_useDefaultSystemSet)
        return SystemSet{};
    SystemSet set;
    m_store.beginGroup(systemSetGroup);
    set.orientation = m_store.value(QStringLiteral("orientation"), 0).toInt();
    set.panelClickSendOk = m_store.value(QStringLiteral("panelClickSendOk"), false).toBool();
    set.panelClickSendExit = m_store.value(QStringLiteral("panelClickSendExit"), false).toBool();
    set.chanlistClick = m_store.value(QStringLiteral("chanlistClick"), false).toBool();
    set.chanlistDbClick = m_store.value(QStringLiteral("chanlistDbClick"), false).toBool();
    set.movielistClick = m_store.value(QStringLiteral("movielistClick"), false).toBool();
    set.movielistDbClick = m_store.value(QStringLiteral("movielistDbClick"), false).toBool();
    set.isLiveMode = m_store.value(QStringLiteral("isLiveMode"), false).toBool();
    set.epgLoadOnDemand = m_store.value(QStringLiteral("epgLoadOnDemand"), false).toBool();
    set.playerCommand = m_store.value(QStringLiteral("playerCommand")).toString();
    m_store.endGroup();
    return set;
}

void Settings::saveSystemSettings(const SystemSet& set)
{
    m_store.beginGroup(systemSetGroup);
    m_store.setValue(QStringLiteral("orientation"), set.orientation);
    m_store.setValue(QStringLiteral("panelClickSendOk"), set.panelClickSendOk);
    m_store.setValue(QStringLiteral("panelClickSendExit"), set.panelClickSendExit);
    m_store.setValue(QStringLiteral("chanlistClick"), set.chanlistClick);
    m_store.setValue(QStringLiteral("chanlistDbClick"), set.chanlistDbClick);
    m_store.setValue(QStringLiteral("movielistClick"), set.movielistClick);
    m_store.setValue(QStringLiteral("movielistDbClick"), set.movielistDbClick);
    m_store.setValue(QStringLiteral("isLiveMode"), set.isLiveMode);
    m_store.setValue(QStringLiteral("epgLoadOnDemand"), set.epgLoadOnDemand);
    setOrRemove(QStringLiteral("playerCommand"), set.playerCommand);
    m_store.endGroup();

    m_store.beginGroup(systemInternGroup);
    m_store.setValue(QStringLiteral("defaultSet"), true);
    m_store.endGroup();
    readDefaultSetFlag();

    Q_EMIT systemSettingsChanged(set);
}

SearchSet Settings::getSearchSettings()
{
    SearchSet set;
    m_store.beginGroup(searchSetGroup);
    set.keyText = m_store.value(QStringLiteral("keyText"), false).toBool();
    set.keyTime = m_store.value(QStringLiteral("keyTime"), false).toBool();
    set.keyTitel = m_store.value(QStringLiteral("keyTitel"), false).toBool();
    m_store.endGroup();
    return set;
}

void Settings::saveSearchSettings(const SearchSet& set)
{
    m_store.beginGroup(searchSetGroup);
    m_store.setValue(QStringLiteral("keyText"), set.keyText);
    m_store.setValue(QStringLiteral("keyTime"), set.keyTime);
    m_store.setValue(QStringLiteral("keyTitel"), set.keyTitel);
    m_store.endGroup();
}

void Settings::readProfiles(Announce announce)
{
    m_activeIndex = -1;
    m_profileCount = 0;
    m_profiles.clear();

    m_store.beginGroup(profilesGroup);
    const QStringList groups = m_store.childGroups();
    for (int i = 0; i < groups.size(); ++i) {
        const QString& group = groups.at(i);
        Profile profile;
        profile.profileName = m_store.value(key(group, QLatin1StringView("profileName"))).toString();
        profile.webIfType = m_store.value(key(group, QLatin1StringView("webIfType")), 0).toInt();
        profile.isActive = m_store.value(key(group, QLatin1StringView("isActive")), false).toBool();
        profile.userName = m_store.value(key(group, QLatin1StringView("userName"))).toString();
        profile.password = readPassword(group);
        profile.wlanAddr = m_store.value(key(group, QLatin1StringView("wlanAddr"))).toString();
        profile.wlanPort = m_store.value(key(group, QLatin1StringView("wlanPort"))).toString();
        profile.lanMac = m_store.value(key(group, QLatin1StringView("lanMac"))).toString();
        profile.wakeAddress = m_store.value(key(group, QLatin1StringView("wakeAddress"))).toString();
        profile.zapBeforeWatching =
            m_store.value(key(group, QLatin1StringView("zapBeforeWatching")), false).toBool();
        profile.streamNeedsCredentials =
            m_store.value(key(group, QLatin1StringView("streamNeedsCredentials")), false).toBool();
        if (profile.isActive) {
            if (announce == Announce::ActiveProfile)
                Q_EMIT activeProfileChanged(profile);
            m_activeIndex = i;
        }
        m_profiles.append(profile);
    }
    m_store.endGroup();
    m_profileCount = int(m_profiles.size());
}

void Settings::writeProfiles()
{
    bool activeWritten = false;
    m_store.beginGroup(profilesGroup);
    for (const Profile& cached : std::as_const(m_profiles)) {
        Profile profile = cached;
        // Only one profile may be active: the first one in list order keeps the flag.
        if (profile.isActive && activeWritten)
            profile.isActive = false;
        activeWritten = activeWritten || profile.isActive;
        if (profile.wlanAddr.startsWith(httpScheme))
            profile.wlanAddr.remove(0, httpScheme.size());

        const QString& group = profile.profileName;
        m_store.setValue(key(group, QLatin1StringView("profileName")), profile.profileName);
        m_store.setValue(key(group, QLatin1StringView("webIfType")), profile.webIfType);
        m_store.setValue(key(group, QLatin1StringView("isActive")), profile.isActive);
        m_store.setValue(key(group, QLatin1StringView("userName")), profile.userName);
        writePassword(group, profile.password);
        m_store.setValue(key(group, QLatin1StringView("wlanAddr")), profile.wlanAddr);
        m_store.setValue(key(group, QLatin1StringView("wlanPort")), profile.wlanPort);
        // Written only when known, so a profile without them reads as before.
        setOrRemove(key(group, QLatin1StringView("lanMac")), profile.lanMac);
        setOrRemove(key(group, QLatin1StringView("wakeAddress")), profile.wakeAddress);
        setFlagOrRemove(key(group, QLatin1StringView("zapBeforeWatching")), profile.zapBeforeWatching);
        setFlagOrRemove(key(group, QLatin1StringView("streamNeedsCredentials")),
                        profile.streamNeedsCredentials);
    }
    m_store.endGroup();
}

// Called inside the profiles group.
QString Settings::readPassword(const QString& group)
{
    const QString inFile = m_store.value(key(group, passwordKey)).toString();
    if (!passwordKeyring)
        return inFile;
    if (m_store.value(key(group, inKeyringKey)).toBool())
        return passwordKeyring->password(group).value_or(QString());
    // Left in the file by an earlier version, or while the keyring could not be used.
    if (!inFile.isEmpty() && passwordKeyring->isAvailable() && passwordKeyring->password(group) != inFile) {
        passwordKeyring->store(group, inFile, [file = fileName(), group, inFile](bool stored) {
            if (stored)
                forgetFilePassword(file, group, inFile);
        });
    }
    return inFile;
}

// Called inside the profiles group.
void Settings::writePassword(const QString& group, const QString& password)
{
    const bool wasInKeyring = m_store.value(key(group, inKeyringKey)).toBool();
    if (!passwordKeyring || !passwordKeyring->isAvailable()) {
        // An empty form cannot tell "no password" from "the keyring did not answer": the
        // password the keyring holds is kept for the next run.
        if (wasInKeyring && password.isEmpty())
            return;
        m_store.setValue(key(group, passwordKey), password);
        m_store.remove(key(group, inKeyringKey));
        return;
    }
    if (password.isEmpty()) {
        if (wasInKeyring)
            passwordKeyring->remove(group);
        m_store.setValue(key(group, passwordKey), password);
        m_store.remove(key(group, inKeyringKey));
        return;
    }
    m_store.remove(key(group, passwordKey));
    m_store.setValue(key(group, inKeyringKey), true);
    if (passwordKeyring->password(group) == password && wasInKeyring)
        return;
    passwordKeyring->store(group, password, [file = fileName(), group, password](bool stored) {
        if (!stored)
            keepFilePassword(file, group, password);
    });
}

void Settings::setOrRemove(const QString& name, const QString& value)
{
    if (value.isEmpty())
        m_store.remove(name);
    else
        m_store.setValue(name, value);
}

void Settings::setFlagOrRemove(const QString& name, bool value)
{
    if (value)
        m_store.setValue(name, true);
    else
        m_store.remove(name);
}

void Settings::readDefaultSetFlag()
{
    m_store.beginGroup(systemInternGroup);
    m_useDefaultSystemSet = !m_store.value(QStringLiteral("defaultSet"), false).toBool();
    m_store.endGroup();
}
