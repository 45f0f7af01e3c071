#pragma once

#include "ui/forms/messageforms.h"
#include "ui/pages/messagepage.h"

#include <QString>

// Puts a text message with a header on the TV screen of an Enigma1 receiver, for a number of
// seconds or until the viewer confirms it with OK.
class MessageWidget : public MessagePage
{
    Q_OBJECT

public:
    MessageWidget(QWidget* parent, TavrelControl* control, TimerSource& timerSource);

public Q_SLOTS:
    void messageSend_Button_clicked();
    void messageHeader_lineEdit_textChanged(const QString& text);
    void messageAddOK_CheckBox_clicked(bool checked);

private:
    const MessageFormE1& visibleForm() const { return visibleSet() == 0 ? m_landscape : m_portrait; }
    MessageFormE1& hiddenForm() { return visibleSet() == 0 ? m_portrait : m_landscape; }

    MessageFormE1 m_landscape;
    MessageFormE1 m_portrait;
};
