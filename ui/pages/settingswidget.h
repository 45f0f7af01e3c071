#pragma once

#include "model/records.h"

#include <QWidget>

#include <memory>

class QAbstractButton;
class Settings;

namespace Ui {
class SettingsWidget_ls;
class SettingsWidget_pt;
} // namespace Ui

// The page of the system settings: orientation, what a click in the channel and movie lists
// does, which keys a tap on the panel sends and how the EPG is loaded. Every click takes effect
// at once; the store is written when the page is left.
class SettingsWidget : public QWidget
{
    Q_OBJECT

public:
    explicit SettingsWidget(QWidget* parent = nullptr);
    ~SettingsWidget() override;

Q_SIGNALS:
    void systemSettingsChanged(SystemSet newSettings);

public Q_SLOTS:
    virtual void readSettings();
    virtual void writeSettings();

private Q_SLOTS:
    void playerCommandEdited(const QString& command);
    void setOrientationAuto_radioButton_clicked(bool checked);
    void setOrientationLandscape_radioButton_clicked(bool checked);
    void setOrientationPortrait_radioButton_clicked(bool checked);
    void setPanelSendOk_checkBox_clicked(bool checked);
    void setPanelSendExit_checkBox_clicked(bool checked);
    void setChanlistClickZap_radioButton_clicked(bool checked);
    void setChanlistDbClickZap_radioButton_clicked(bool checked);
    void setMovielistClickZap_radioButton_clicked(bool checked);
    void setMovielistDbClickZap_radioButton_clicked(bool checked);
    void setEpgLoadAuto_radioButton_clicked(bool checked);
    void setEpgLoadOnDemand_radioButton_clicked(bool checked);
    void setResetSettings_pushButton_clicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Sets the controls of one form from systemSet.
    void showSettings(QWidget* form);
    void changed();

    const std::unique_ptr<Ui::SettingsWidget_ls> landscape;
    const std::unique_ptr<Ui::SettingsWidget_pt> portrait;
    QWidget* landscapeView = nullptr;
    QWidget* portraitView = nullptr;
    Settings* settings = nullptr;
    SystemSet systemSet;
    bool isPortrait = false;
    // Leaving the page writes once, though the window may report it twice (deactivated, hidden).
    bool m_writtenOnLeave = false;
};
