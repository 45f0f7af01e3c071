#pragma once

#include "model/records.h"

#include <QWidget>

class QTabWidget;
class Settings;
class TavrelControl;

// The profile editor: one tab per stored profile in store order and a last tab for a new one.
// Everything it stores goes through its own settings object, whose announcements of the
// active profile it passes on.
class ProfileWidget : public QWidget
{
    Q_OBJECT

public:
    ProfileWidget(QWidget* parent, TavrelControl* control);

Q_SIGNALS:
    void profilesChanged(Profile profile);
    void activeProfileChanged(Profile profile);
    void checkProfileConsistence();
    void goPagebackRequest();

public Q_SLOTS:
    void initProfileTabs();
    virtual void addNewTabPage();
    virtual void askForReloadData(bool isNewProfile);
    virtual void deleteProfileRequest(Profile profile);
    virtual void saveProfileRequest(Profile profile, bool isNewProfile);
    virtual void directSaveProfileRequest(Profile profile);
    virtual void activateProfileRequest(Profile profile);

private:
    QTabWidget* tabs = nullptr;
    Settings* settings = nullptr;
    TavrelControl* control = nullptr;
};
