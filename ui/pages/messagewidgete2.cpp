#include "ui/pages/messagewidgete2.h"

#include "control/messagebox.h"
#include "control/tavrelcontrol.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTextEdit>

MessageWidgetE2::MessageWidgetE2(QWidget* parent, TavrelControl* control, TimerSource& timerSource)
    : MessagePage(parent, control, timerSource)
{
    setObjectName(QStringLiteral("messageWidgetE2"));
    landscapeContainer->setObjectName(QStringLiteral("MessageWidgetE2_ls"));
    portraitContainer->setObjectName(QStringLiteral("MessageWidgetE2_pt"));
    setupMessageFormE2(m_landscape, landscapeContainer, true);
    setupMessageFormE2(m_portrait, portraitContainer, false);
    connectCommon(m_landscape, m_portrait);
    for (MessageFormE2* form : {&m_landscape, &m_portrait}) {
        connect(form->messageSend_pushButton, &QPushButton::clicked, this,
                &MessageWidgetE2::messageSend_Button_clicked);
        connect(form->messageQuestion_checkBox, &QCheckBox::clicked, this,
                &MessageWidgetE2::messageQuestion_CheckBox_clicked);
        connect(form->messageAnswer_pushButton, &QPushButton::clicked, this, &MessageWidgetE2::requestAnswer);
    }
    // The box with the answer waits for the user; it is opened from the event loop, not from
    // within the engine's answer.
    connect(control, &TavrelControl::messageAnswerIs, this, &MessageWidgetE2::requestAnswerResponseSlot,
            Qt::QueuedConnection);
}

QString MessageWidgetE2::answerText(MessageAnswer answer)
{
    switch (answer) {
    case AnswerYes:
        return tr("Answer is YES!");
    case AnswerNo:
        return tr("Answer is NO!");
    case AnswerTimeout:
        return tr("No answer in time!");
    }
    return QString();
}

void MessageWidgetE2::messageSend_Button_clicked()
{
    const MessageFormE2& form = visibleForm();
    clearState();
    control->sendTvMessageE2(form.messageBody_textEdit->toPlainText(),
                             form.messageQuestion_checkBox->isChecked(), visibleTimeout());
}

void MessageWidgetE2::messageQuestion_CheckBox_clicked(bool checked)
{
    hiddenForm().messageQuestion_checkBox->setChecked(checked);
    for (MessageFormE2* form : {&m_landscape, &m_portrait})
        form->messageAnswer_pushButton->setEnabled(checked);
}

void MessageWidgetE2::requestAnswer()
{
    control->requestMessageAnswer();
}

void MessageWidgetE2::requestAnswerResponseSlot(MessageAnswer answer)
{
    MessageBox::notice(this, QMessageBox::Warning, answerText(answer));
}
