#include "ui/pages/profiletab.h"

#include "box/wakeonlan.h"
#include "control/messagebox.h"
#include "control/tavrelcontrol.h"
#include "settings/settings.h"
#include "ui/pages/orientedforms.h"
#include "ui_profiletab_ls.h"
#include "ui_profiletab_pt.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QUrl>

namespace {

constexpr int lowestPort = 1;
constexpr int highestPort = 65535;

// Line edits mirror each other without resetting the cursor of the one being typed in.
void follow(QLineEdit* source, QLineEdit* twin)
{
    QObject::connect(source, &QLineEdit::textChanged, twin, [twin](const QString& text) {
        if (twin->text() != text)
            twin->setText(text);
    });
}

} // namespace

ProfileTab::ProfileTab(QWidget* parent, Profile profile, bool isNewTab, TavrelControl* control)
    : QWidget(parent)
    , landscape(std::make_unique<Ui::ProfileTab_ls>())
    , portrait(std::make_unique<Ui::ProfileTab_pt>())
    , landscapeView(new QWidget(this))
    , portraitView(new QWidget(this))
    , control(control)
    , profile(std::move(profile))
    , isNewTab(isNewTab)
    , wasActive(this->profile.isActive)
{
    landscape->setupUi(landscapeView);
    portrait->setupUi(portraitView);
    installEventFilter(this);
    landscape->profile_stackedWidget->setCurrentIndex(isNewTab ? 1 : 0);
    portrait->profile_stackedWidget->setCurrentIndex(isNewTab ? 1 : 0);

    for (const bool newPage : {false, true}) {
        const Fields wide = landscapeFields(newPage);
        const Fields tall = portraitFields(newPage);
        for (const Fields& f : {wide, tall}) {
            f.port->setValidator(new QIntValidator(lowestPort, highestPort, f.port));
            f.ccCamPort->setValidator(new QIntValidator(lowestPort, highestPort, f.ccCamPort));
            // Enter in any field saves, as the Save button does; watched here rather than
            // through returnPressed, which a port the validator does not accept yet never sends.
            for (QLineEdit* edit :
                 {f.name, f.user, f.password, f.address, f.port, f.ccCamPort, f.mac, f.wakeAddress}) {
                if (edit)
                    edit->installEventFilter(this);
            }
        }
        mirror(wide, tall);
        mirror(tall, wide);
    }
    fill(landscapeFields(isNewTab));
    fill(portraitFields(isNewTab));
    connectButtons(landscapeView);
    connectButtons(portraitView);
}

ProfileTab::~ProfileTab() = default;

// Both forms name their fields alike; a new tab has a name field and no "Active" box.
template<typename Form>
ProfileTab::Fields ProfileTab::fieldsOf(const Form& f, bool newPage)
{
    if (newPage)
        return {f.profilenName_lineEdit,
                f.profilenUsername_lineEdit,
                f.profilenPassword_lineEdit,
                f.profilenUrl_lineEdit,
                f.profilenPort_lineEdit,
                f.profilenCCcam_lineEdit,
                f.profilenWebif_comboBox,
                nullptr,
                f.profilenMac_lineEdit,
                f.profilenWakeAddress_lineEdit,
                f.profilenZapBeforeWatching_checkBox,
                f.profilenStreamCredentials_checkBox};
    return {nullptr,
            f.profileUsername_lineEdit,
            f.profilePassword_lineEdit,
            f.profileUrl_lineEdit,
            f.profilePort_lineEdit,
            f.profileCCcam_lineEdit,
            f.profileWebif_comboBox,
            f.profileActive_checkBox,
            f.profileMac_lineEdit,
            f.profileWakeAddress_lineEdit,
            f.profileZapBeforeWatching_checkBox,
            f.profileStreamCredentials_checkBox};
}

ProfileTab::Fields ProfileTab::landscapeFields(bool newPage) const
{
    return fieldsOf(*landscape, newPage);
}

ProfileTab::Fields ProfileTab::portraitFields(bool newPage) const
{
    return fieldsOf(*portrait, newPage);
}

void ProfileTab::mirror(const Fields& one, const Fields& other)
{
    if (one.name)
        follow(one.name, other.name);
    follow(one.user, other.user);
    follow(one.password, other.password);
    follow(one.address, other.address);
    follow(one.port, other.port);
    follow(one.ccCamPort, other.ccCamPort);
    follow(one.mac, other.mac);
    follow(one.wakeAddress, other.wakeAddress);
    connect(one.zapBeforeWatching, &QCheckBox::toggled, other.zapBeforeWatching, &QCheckBox::setChecked);
    connect(one.streamNeedsCredentials, &QCheckBox::toggled, other.streamNeedsCredentials,
            &QCheckBox::setChecked);
    connect(one.webIf, &QComboBox::currentIndexChanged, other.webIf, &QComboBox::setCurrentIndex);
    if (one.active)
        connect(one.active, &QCheckBox::clicked, other.active, &QCheckBox::setChecked);
}

void ProfileTab::fill(const Fields& target)
{
    target.webIf->setCurrentIndex(profile.webIfType);
    if (target.name)
        target.name->setText(profile.profileName);
    target.address->setText(profile.wlanAddr);
    target.port->setText(profile.wlanPort);
    target.user->setText(profile.userName);
    target.password->setText(profile.password);
    target.mac->setText(profile.lanMac);
    target.wakeAddress->setText(profile.wakeAddress);
    target.zapBeforeWatching->setChecked(profile.zapBeforeWatching);
    target.streamNeedsCredentials->setChecked(profile.streamNeedsCredentials);
    if (target.active)
        target.active->setChecked(profile.isActive);
}

void ProfileTab::connectButtons(QWidget* form)
{
    const auto buttons = form->findChildren<QPushButton*>();
    for (QPushButton* button : buttons) {
        if (button->objectName().endsWith(QLatin1String("Save_pushButton")))
            connect(button, &QPushButton::clicked, this, &ProfileTab::profileSave_button_clicked);
        else if (button->objectName() == QLatin1String("profileDelete_pushButton"))
            connect(button, &QPushButton::clicked, this, &ProfileTab::profileDelete_Button_clicked);
    }
    if (auto* active = form->findChild<QCheckBox*>(QStringLiteral("profileActive_checkBox")))
        connect(active, &QCheckBox::clicked, this, &ProfileTab::profileActive_checkBox_clicked);
}

Profile ProfileTab::formProfile() const
{
    const Fields f = fields();
    Profile read = profile;
    if (isNewTab) {
        read.profileName = f.name->text().trimmed();
        read.wlanAddr = f.address->text().trimmed().toLower();
    } else {
        read.isActive = f.active->isChecked();
        read.wlanAddr = f.address->text().trimmed();
    }
    read.webIfType = f.webIf->currentIndex();
    read.userName = f.user->text();
    read.password = f.password->text();
    read.wlanPort = f.port->text().trimmed();
    // A MAC address is kept in one spelling; one that is none stays as typed, for the warning.
    const QString mac = f.mac->text().trimmed();
    read.lanMac = WakeOnLan::normalisedMac(mac).isEmpty() ? mac : WakeOnLan::normalisedMac(mac);
    read.wakeAddress = f.wakeAddress->text().trimmed();
    read.zapBeforeWatching = f.zapBeforeWatching->isChecked();
    read.streamNeedsCredentials = f.streamNeedsCredentials->isChecked();
    return read;
}

bool ProfileTab::isProfileConstistence()
{
    const Profile read = formProfile();
    return read.webIfType == profile.webIfType && read.userName == profile.userName &&
           read.password == profile.password && read.wlanAddr == profile.wlanAddr &&
           read.wlanPort == profile.wlanPort && read.lanMac == profile.lanMac &&
           read.wakeAddress == profile.wakeAddress && read.zapBeforeWatching == profile.zapBeforeWatching &&
           read.streamNeedsCredentials == profile.streamNeedsCredentials &&
           (!isNewTab || read.profileName == profile.profileName);
}

QString ProfileTab::problemWith(const Profile& candidate)
{
    if (!Settings::isStorableProfileName(candidate.profileName))
        return tr("Please give the profile a name without \"/\" and \"\\\".");
    bool isNumber = false;
    const int port = candidate.wlanPort.toInt(&isNumber, 10);
    if (!isNumber || port < lowestPort || port > highestPort)
        return tr("The port must be a number from 1 to 65535.");
    if (candidate.wlanAddr.isEmpty())
        return tr("Please enter the IP address or host name of the receiver.");
    // The address must make the receiver's address on its own, as every request puts it.
    const QUrl url(QStringLiteral("http://") + candidate.wlanAddr + QLatin1Char(':') + candidate.wlanPort,
                   QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() || url.port() != port || !url.path().isEmpty() ||
        !url.userInfo().isEmpty() || url.hasQuery() || url.hasFragment())
        return tr("\"%1\" is not an IP address or host name.").arg(candidate.wlanAddr.toHtmlEscaped());
    if (!candidate.lanMac.isEmpty() && WakeOnLan::macBytes(candidate.lanMac).isEmpty())
        return tr("\"%1\" is not a MAC address; write it as six pairs of hex digits, "
                  "like 00:1d:ec:0a:1b:2c.")
            .arg(candidate.lanMac.toHtmlEscaped());
    if (!candidate.wakeAddress.isEmpty() && !WakeOnLan::parseTarget(candidate.wakeAddress, QString()))
        return tr("\"%1\" is not an IP address with an optional port, like 192.168.1.255:9.")
            .arg(candidate.wakeAddress.toHtmlEscaped());
    return QString();
}

void ProfileTab::profileSave_button_clicked()
{
    if (!isNewTab)
        takeLearntMac();
    const Profile candidate = (isNewTab || !isProfileConstistence()) ? formProfile() : profile;
    if (const QString problem = problemWith(candidate); !problem.isEmpty()) {
        MessageBox::notice(this, QMessageBox::Warning, problem);
        return;
    }
    profile = candidate;
    Q_EMIT profileSavedButton_triggered(profile, isNewTab);
}

void ProfileTab::profileDelete_Button_clicked()
{
    if (MessageBox::question(this, QMessageBox::Question, tr("Profile delete?")))
        Q_EMIT profileDeleteButton_triggered(profile);
}

void ProfileTab::profileActive_checkBox_clicked(bool checked)
{
    profile.isActive = checked;
    Q_EMIT profileCheckBox_triggered(profile);
}

void ProfileTab::refreshProfileTab(Profile changed)
{
    if (changed.profileName != profile.profileName)
        return;
    profile = changed;
    landscape->profileActive_checkBox->setChecked(changed.isActive);
    portrait->profileActive_checkBox->setChecked(changed.isActive);
    if (!wasActive && changed.isActive)
        askForReloadData();
    wasActive = changed.isActive;
}

void ProfileTab::askForReloadData()
{
    if (MessageBox::question(this, QMessageBox::Question,
                             tr("Active profile has been changed!\nReload service data?"))) {
        control->loadServiceData();
        Q_EMIT goPagebackRequest();
    }
}

void ProfileTab::restoreForm()
{
    for (const Fields& f : {landscapeFields(false), portraitFields(false)}) {
        f.webIf->setCurrentIndex(profile.webIfType);
        f.user->setText(profile.userName);
        f.password->setText(profile.password);
        f.address->setText(profile.wlanAddr);
        f.port->setText(profile.wlanPort);
        f.mac->setText(profile.lanMac);
        f.wakeAddress->setText(profile.wakeAddress);
        f.zapBeforeWatching->setChecked(profile.zapBeforeWatching);
        f.streamNeedsCredentials->setChecked(profile.streamNeedsCredentials);
    }
}

void ProfileTab::takeLearntMac()
{
    // The controller stores the MAC address the receiver reports while this tab exists; a later
    // save from here must not take it away again.
    const QList<Profile> stored = Settings().getProfiles();
    for (const Profile& candidate : stored) {
        if (candidate.profileName != profile.profileName || candidate.lanMac == profile.lanMac)
            continue;
        const bool untouched = fields().mac->text() == profile.lanMac;
        profile.lanMac = candidate.lanMac;
        if (untouched) {
            landscapeFields(false).mac->setText(candidate.lanMac);
            portraitFields(false).mac->setText(candidate.lanMac);
        }
    }
}

void ProfileTab::checkProfileConsistence()
{
    takeLearntMac();
    if (isProfileConstistence())
        return;
    if (!MessageBox::question(this, QMessageBox::Warning, tr("Profile not yet saved.\nSave now?"))) {
        restoreForm();
        return;
    }
    const Profile candidate = formProfile();
    if (const QString problem = problemWith(candidate); !problem.isEmpty()) {
        // Nothing unusable is stored; the stored values come back.
        MessageBox::notice(this, QMessageBox::Warning, problem);
        restoreForm();
        return;
    }
    profile = candidate;
    Q_EMIT directSaveProfile(profile);
}

bool ProfileTab::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress && watched != this) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            profileSave_button_clicked();
            return true;
        }
    }
    if (watched == this && type == QEvent::Show && !isNewTab)
        takeLearntMac();
    // A box of the editor itself takes the activation away; that is not leaving the tab.
    if (watched == this && !isNewTab && (type == QEvent::Hide || type == QEvent::WindowDeactivate) &&
        !QApplication::activeModalWidget())
        checkProfileConsistence();
    return QWidget::eventFilter(watched, event);
}

void ProfileTab::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    isPortrait = showFormForShape(event->size(), landscapeView, portraitView);
}
