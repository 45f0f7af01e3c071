#include "ui/pages/profilewidget.h"

#include "control/messagebox.h"
#include "control/tavrelcontrol.h"
#include "settings/settings.h"
#include "ui/pages/profiletab.h"

#include <QGridLayout>
#include <QTabWidget>

namespace {

// A private LAN address where a receiver often sits; the user corrects it.
constexpr QLatin1StringView templateAddress{"192.168.1.100"};

} // namespace

ProfileWidget::ProfileWidget(QWidget* parent, TavrelControl* control)
    : QWidget(parent)
    , tabs(new QTabWidget(this))
    , settings(new Settings(this))
    , control(control)
{
    if (objectName().isEmpty())
        setObjectName(tr("TavrelControl Profil Settings"));
    setWindowTitle(tr("TavrelControl Profil Settings"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    tabs->setObjectName(QStringLiteral("profile_tabWidget"));
    auto* layout = new QGridLayout(this);
    layout->addWidget(tabs, 0, 0);
    connect(settings, &Settings::activeProfileChanged, this, &ProfileWidget::activeProfileChanged);
    initProfileTabs();
}

void ProfileWidget::initProfileTabs()
{
    // The tabs may be the senders of the signal that led here.
    while (tabs->count() > 0) {
        QWidget* tab = tabs->widget(0);
        tab->removeEventFilter(tab);
        disconnect(this, nullptr, tab, nullptr);
        tabs->removeTab(0);
        tab->deleteLater();
    }
    const QList<Profile> profiles = settings->getProfiles();
    for (const Profile& profile : profiles) {
        auto* tab = new ProfileTab(this, profile, false, control);
        tabs->addTab(tab, profile.profileName);
        tab->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        connect(tab, &ProfileTab::profileSavedButton_triggered, this, &ProfileWidget::saveProfileRequest);
        connect(tab, &ProfileTab::directSaveProfile, this, &ProfileWidget::directSaveProfileRequest);
        connect(tab, &ProfileTab::profileDeleteButton_triggered, this, &ProfileWidget::deleteProfileRequest);
        connect(tab, &ProfileTab::profileCheckBox_triggered, this, &ProfileWidget::activateProfileRequest);
        connect(this, &ProfileWidget::profilesChanged, tab, &ProfileTab::refreshProfileTab);
        connect(tab, &ProfileTab::goPagebackRequest, this, &ProfileWidget::goPagebackRequest);
    }
    addNewTabPage();
}

void ProfileWidget::addNewTabPage()
{
    Profile profile;
    profile.profileName = QStringLiteral("Tavrelbox");
    profile.webIfType = 0;
    profile.isActive = tabs->count() == 0;
    profile.userName = QStringLiteral("root");
    profile.password = QStringLiteral("qxvbnmtz");
    profile.wlanAddr = templateAddress;
    profile.wlanPort = QStringLiteral("80");
    auto* tab = new ProfileTab(this, profile, true, control);
    connect(tab, &ProfileTab::profileSavedButton_triggered, this, &ProfileWidget::saveProfileRequest);
    tabs->addTab(tab, tr("New Profil"));
}

void ProfileWidget::saveProfileRequest(Profile profile, bool isNewProfile)
{
    const QList<Profile> stored = settings->getProfiles();
    const bool allowed = !isNewProfile || !stored.contains(profile);
    if (!allowed || !Settings::isStorableProfileName(profile.profileName)) {
        // Nothing was stored: the tabs stay as they are, with what the user typed.
        MessageBox::notice(this, QMessageBox::Warning,
                           allowed ? tr("Please give the profile a name without \"/\" and \"\\\".")
                                   : tr("Profile already exists!"));
        return;
    }
    if (isNewProfile) {
        profile.isActive = true;
        activateProfileRequest(profile);
    }
    settings->saveProfile(profile);
    MessageBox::notice(this, QMessageBox::Warning, tr("Profil saved!"));
    if (profile.isActive)
        askForReloadData(isNewProfile);
    initProfileTabs();
}

void ProfileWidget::activateProfileRequest(Profile profile)
{
    const QList<Profile> stored = settings->getProfiles();
    for (Profile p : stored) {
        p.isActive = p.profileName == profile.profileName && profile.isActive;
        settings->saveProfile(p);
        Q_EMIT profilesChanged(p);
    }
}

void ProfileWidget::directSaveProfileRequest(Profile profile)
{
    settings->saveProfile(profile);
}

void ProfileWidget::deleteProfileRequest(Profile profile)
{
    bool wasActive = false;
    const QList<Profile> stored = settings->getProfiles();
    for (const Profile& p : stored)
        wasActive = wasActive || (p.profileName == profile.profileName && p.isActive);
    settings->deleteProfile(profile.profileName);

    // The tab whose button was pressed goes, whichever tab is current by now.
    auto* pressed = qobject_cast<ProfileTab*>(sender());
    int index = pressed ? tabs->indexOf(pressed) : -1;
    for (int i = 0; index < 0 && i < tabs->count(); ++i) {
        const auto* tab = qobject_cast<ProfileTab*>(tabs->widget(i));
        if (tab && !tab->isNewProfileTab() && tab->storedProfile().profileName == profile.profileName)
            index = i;
    }
    if (index >= 0) {
        QWidget* tab = tabs->widget(index);
        tab->removeEventFilter(tab);
        tabs->removeTab(index);
        tab->deleteLater();
    }
    if (wasActive) {
        // Nobody is announced by the store now; the receiver of the deleted profile is let go.
        Profile none;
        none.profileName = noActiveProfileName;
        Q_EMIT activeProfileChanged(none);
    }
}

void ProfileWidget::askForReloadData(bool isNewProfile)
{
    const QString text = isNewProfile ? tr("Create new profile!\nReload service data?")
                                      : tr("Profile changed!\nReload service data?");
    if (MessageBox::question(this, QMessageBox::Warning, text)) {
        control->loadServiceData();
        Q_EMIT goPagebackRequest();
    }
}
