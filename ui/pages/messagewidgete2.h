#pragma once

#include "model/records.h"
#include "ui/forms/messageforms.h"
#include "ui/pages/messagepage.h"

// Puts a text message on the TV screen of an Enigma2 receiver, or a yes/no question whose
// answer the user fetches afterwards with "Reply request".
class MessageWidgetE2 : public MessagePage
{
    Q_OBJECT

public:
    MessageWidgetE2(QWidget* parent, TavrelControl* control, TimerSource& timerSource);

    // The text the receiver's answer is shown with.
    static QString answerText(MessageAnswer answer);

public Q_SLOTS:
    void messageSend_Button_clicked();
    void messageQuestion_CheckBox_clicked(bool checked);
    void requestAnswer();
    void requestAnswerResponseSlot(MessageAnswer answer);

private:
    const MessageFormE2& visibleForm() const { return visibleSet() == 0 ? m_landscape : m_portrait; }
    MessageFormE2& hiddenForm() { return visibleSet() == 0 ? m_portrait : m_landscape; }

    MessageFormE2 m_landscape;
    MessageFormE2 m_portrait;
};
