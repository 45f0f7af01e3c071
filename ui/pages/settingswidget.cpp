#include "ui/pages/settingswidget.h"

#include "control/messagebox.h"
#include "control/streamplayer.h"
#include "settings/settings.h"
#include "ui/pages/orientedforms.h"
#include "ui_settingswidget_ls.h"
#include "ui_settingswidget_pt.h"

#include <QCheckBox>
#include <QEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QTabWidget>
#include <QToolBox>

namespace {

QAbstractButton* control(QWidget* form, const char* name)
{
    return form->findChild<QAbstractButton*>(QLatin1StringView(name));
}

void check(QWidget* form, const char* name, bool checked)
{
    if (QAbstractButton* button = control(form, name))
        button->setChecked(checked);
}

// The controls that have a twin in the other form, and the slot each one drives.
struct Wired
{
    const char* name;
    void (SettingsWidget::*slot)(bool);
};

} // namespace

SettingsWidget::SettingsWidget(QWidget* parent)
    : QWidget(parent)
    , landscape(std::make_unique<Ui::SettingsWidget_ls>())
    , portrait(std::make_unique<Ui::SettingsWidget_pt>())
    , landscapeView(new QWidget(this))
    , portraitView(new QWidget(this))
    , settings(new Settings(this))
{
    landscape->setupUi(landscapeView);
    portrait->setupUi(portraitView);
    installEventFilter(this);
    readSettings();

    const Wired wired[] = {
        {"setOrientationAuto_radioButton", &SettingsWidget::setOrientationAuto_radioButton_clicked},
        {"setOrientationLandscape_radioButton", &SettingsWidget::setOrientationLandscape_radioButton_clicked},
        {"setOrientationPortrait_radioButton", &SettingsWidget::setOrientationPortrait_radioButton_clicked},
        {"setChanlistClickZap_radioButton", &SettingsWidget::setChanlistClickZap_radioButton_clicked},
        {"setChanlistDbClickZap_radioButton", &SettingsWidget::setChanlistDbClickZap_radioButton_clicked},
        {"setMovielistClickZap_radioButton", &SettingsWidget::setMovielistClickZap_radioButton_clicked},
        {"setMovielistDbClickZap_radioButton", &SettingsWidget::setMovielistDbClickZap_radioButton_clicked},
        {"setPanelSendOk_checkBox", &SettingsWidget::setPanelSendOk_checkBox_clicked},
        {"setPanelSendExit_checkBox", &SettingsWidget::setPanelSendExit_checkBox_clicked},
        {"setEpgLoadAuto_radioButton", &SettingsWidget::setEpgLoadAuto_radioButton_clicked},
        {"setEpgLoadOnDemand_radioButton", &SettingsWidget::setEpgLoadOnDemand_radioButton_clicked},
    };
    for (const Wired& w : wired) {
        QAbstractButton* wide = control(landscapeView, w.name);
        QAbstractButton* tall = control(portraitView, w.name);
        connect(wide, &QAbstractButton::clicked, this, w.slot);
        connect(tall, &QAbstractButton::clicked, this, w.slot);
        connect(wide, &QAbstractButton::clicked, tall, &QAbstractButton::setChecked);
        connect(tall, &QAbstractButton::clicked, wide, &QAbstractButton::setChecked);
    }
    for (QWidget* form : {landscapeView, portraitView})
        connect(control(form, "setResetSettings_pushButton"), &QAbstractButton::clicked, this,
                &SettingsWidget::setResetSettings_pushButton_clicked);
    const QString installed = StreamPlayer::installedPlayer();
    const QString automatic = installed.isEmpty() ? tr("automatic: the desktop's default player")
                                                  : tr("automatic: %1").arg(installed);
    for (QLineEdit* player : {landscape->setPlayerCommand_lineEdit, portrait->setPlayerCommand_lineEdit}) {
        player->setPlaceholderText(automatic);
        player->setClearButtonEnabled(true);
        connect(player, &QLineEdit::textEdited, this, &SettingsWidget::playerCommandEdited);
    }
    connect(landscape->settings_tabWidget, &QTabWidget::currentChanged, portrait->settings_toolBox,
            &QToolBox::setCurrentIndex);
    connect(portrait->settings_toolBox, &QToolBox::currentChanged, landscape->settings_tabWidget,
            &QTabWidget::setCurrentIndex);
}

SettingsWidget::~SettingsWidget() = default;

void SettingsWidget::changed()
{
    m_writtenOnLeave = false;
    Q_EMIT systemSettingsChanged(systemSet);
}

void SettingsWidget::playerCommandEdited(const QString& command)
{
    for (QLineEdit* player : {landscape->setPlayerCommand_lineEdit, portrait->setPlayerCommand_lineEdit}) {
        if (player->text() != command)
            player->setText(command);
    }
    systemSet.playerCommand = command.trimmed();
    changed();
}

void SettingsWidget::setOrientationAuto_radioButton_clicked(bool)
{
    systemSet.orientation = 0;
    changed();
}

void SettingsWidget::setOrientationLandscape_radioButton_clicked(bool)
{
    systemSet.orientation = 1;
    changed();
}

void SettingsWidget::setOrientationPortrait_radioButton_clicked(bool)
{
    systemSet.orientation = 2;
    changed();
}

void SettingsWidget::setPanelSendOk_checkBox_clicked(bool checked)
{
    systemSet.panelClickSendOk = checked;
    changed();
}

void SettingsWidget::setPanelSendExit_checkBox_clicked(bool checked)
{
    systemSet.panelClickSendExit = checked;
    changed();
}

void SettingsWidget::setChanlistClickZap_radioButton_clicked(bool checked)
{
    systemSet.chanlistClick = checked;
    systemSet.chanlistDbClick = !checked;
    changed();
}

void SettingsWidget::setChanlistDbClickZap_radioButton_clicked(bool checked)
{
    systemSet.chanlistDbClick = checked;
    systemSet.chanlistClick = !checked;
    changed();
}

void SettingsWidget::setMovielistClickZap_radioButton_clicked(bool checked)
{
    systemSet.movielistClick = checked;
    systemSet.movielistDbClick = !checked;
    changed();
}

void SettingsWidget::setMovielistDbClickZap_radioButton_clicked(bool checked)
{
    systemSet.movielistDbClick = checked;
    systemSet.movielistClick = !checked;
    changed();
}

void SettingsWidget::setEpgLoadAuto_radioButton_clicked(bool checked)
{
    systemSet.epgLoadOnDemand = !checked;
    changed();
}

void SettingsWidget::setEpgLoadOnDemand_radioButton_clicked(bool checked)
{
    systemSet.epgLoadOnDemand = checked;
    changed();
}

void SettingsWidget::setResetSettings_pushButton_clicked()
{
    if (!MessageBox::question(this, QMessageBox::Question, tr("Restore the default settings?")))
        return;
    // The live mode is the panel's switch, not one of these settings.
    const bool liveMode = systemSet.isLiveMode;
    systemSet = SystemSet{};
    systemSet.isLiveMode = liveMode;
    showSettings(landscapeView);
    showSettings(portraitView);
    changed();
}

void SettingsWidget::readSettings()
{
    systemSet = settings->getSystemSettings();
    showSettings(landscapeView);
    showSettings(portraitView);
}

void SettingsWidget::showSettings(QWidget* form)
{
    // Any other orientation leaves the buttons as they are.
    const char* orientations[] = {"setOrientationAuto_radioButton", "setOrientationLandscape_radioButton",
                                  "setOrientationPortrait_radioButton"};
    if (systemSet.orientation >= 0 && systemSet.orientation < 3)
        check(form, orientations[systemSet.orientation], true);
    check(form, "setPanelSendOk_checkBox", systemSet.panelClickSendOk);
    check(form, "setPanelSendExit_checkBox", systemSet.panelClickSendExit);
    check(form, "setChanlistClickZap_radioButton", systemSet.chanlistClick);
    check(form, "setChanlistDbClickZap_radioButton", !systemSet.chanlistClick);
    check(form, "setMovielistClickZap_radioButton", systemSet.movielistClick);
    check(form, "setMovielistDbClickZap_radioButton", !systemSet.movielistClick);
    check(form, "setEpgLoadAuto_radioButton", !systemSet.epgLoadOnDemand);
    check(form, "setEpgLoadOnDemand_radioButton", systemSet.epgLoadOnDemand);
    if (auto* player = form->findChild<QLineEdit*>(QStringLiteral("setPlayerCommand_lineEdit")))
        player->setText(systemSet.playerCommand);
}

void SettingsWidget::writeSettings()
{
    // The panel may have switched the live mode while this page was open.
    systemSet.isLiveMode = settings->getSystemSettings().isLiveMode;
    settings->saveSystemSettings(systemSet);
    Q_EMIT systemSettingsChanged(systemSet);
}

bool SettingsWidget::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == this) {
        const QEvent::Type type = event->type();
        if ((type == QEvent::WindowDeactivate || type == QEvent::Hide) && !m_writtenOnLeave) {
            m_writtenOnLeave = true;
            writeSettings();
        } else if (type == QEvent::Show) {
            m_writtenOnLeave = false;
            landscape->settings_tabWidget->setCurrentIndex(0);
            portrait->settings_toolBox->setCurrentIndex(0);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SettingsWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    isPortrait = showFormForShape(event->size(), landscapeView, portraitView);
}
