#pragma once

#include "model/records.h"

#include <QWidget>

#include <memory>

class QCheckBox;
class QComboBox;
class QLineEdit;
class TavrelControl;

namespace Ui {
class ProfileTab_ls;
class ProfileTab_pt;
} // namespace Ui

// One tab of the profile editor: a stored profile to edit, activate or delete, or the template
// of a new one. Holds a landscape and a portrait form that mirror each other.
class ProfileTab : public QWidget
{
    Q_OBJECT

public:
    ProfileTab(QWidget* parent, Profile profile, bool isNewTab, TavrelControl* control);
    ~ProfileTab() override;

    Profile storedProfile() const { return profile; }
    bool isNewProfileTab() const { return isNewTab; }

Q_SIGNALS:
    void directSaveProfile(Profile profile);
    void profileSavedButton_triggered(Profile profile, bool isNewTab);
    void profileDeleteButton_triggered(Profile profile);
    void profileCheckBox_triggered(Profile profile);
    void goPagebackRequest();

public Q_SLOTS:
    void refreshProfileTab(Profile changed);

private Q_SLOTS:
    bool isProfileConstistence();
    void askForReloadData();
    void checkProfileConsistence();
    void profileSave_button_clicked();
    void profileDelete_Button_clicked();
    void profileActive_checkBox_clicked(bool checked);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The controls of one page of one form.
    struct Fields
    {
        QLineEdit* name = nullptr; // new-profile page only
        QLineEdit* user = nullptr;
        QLineEdit* password = nullptr;
        QLineEdit* address = nullptr;
        QLineEdit* port = nullptr;
        QLineEdit* ccCamPort = nullptr;
        QComboBox* webIf = nullptr;
        QCheckBox* active = nullptr; // stored-profile page only
        QLineEdit* mac = nullptr;
        QLineEdit* wakeAddress = nullptr;
        QCheckBox* zapBeforeWatching = nullptr;
        QCheckBox* streamNeedsCredentials = nullptr;
    };
    template<typename Form>
    static Fields fieldsOf(const Form& form, bool newPage);
    Fields landscapeFields(bool newPage) const;
    Fields portraitFields(bool newPage) const;
    // The page of the landscape form this tab works with; both forms hold the same values.
    Fields fields() const { return landscapeFields(isNewTab); }
    void fill(const Fields& target);
    void mirror(const Fields& one, const Fields& other);
    void connectButtons(QWidget* form);
    // The form as a profile; for a stored profile the name stays and the "Active" box counts.
    Profile formProfile() const;
    void restoreForm();
    void takeLearntMac();
    // Empty when the profile can make a receiver address, else what the user must mend.
    static QString problemWith(const Profile& candidate);

    const std::unique_ptr<Ui::ProfileTab_ls> landscape;
    const std::unique_ptr<Ui::ProfileTab_pt> portrait;
    QWidget* landscapeView = nullptr;
    QWidget* portraitView = nullptr;
    TavrelControl* control = nullptr;
    Profile profile;
    bool isNewTab = false;
    bool wasActive = false;
    bool isPortrait = false;
};
