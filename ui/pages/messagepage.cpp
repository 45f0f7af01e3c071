#include "ui/pages/messagepage.h"

#include "control/controltimer.h"
#include "control/tavrelcontrol.h"
#include "ui/forms/messageforms.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTextEdit>

MessagePage::MessagePage(QWidget* parent, TavrelControl* control, TimerSource& timerSource)
    : QWidget(parent)
    , control(control)
    , m_timerSource(timerSource)
{
    landscapeContainer = new QWidget(this);
    portraitContainer = new QWidget(this);
    portraitContainer->hide();
}

void MessagePage::connectCommon(MessageFormCommon& landscape, MessageFormCommon& portrait)
{
    m_landscape = &landscape;
    m_portrait = &portrait;
    for (MessageFormCommon* form : {m_landscape, m_portrait}) {
        connect(form->messageTimeout_checkBox, &QCheckBox::clicked, this,
                &MessagePage::messageTimeout_checkBox_clicked);
        connect(form->messageTimeout_spinBox, &QSpinBox::valueChanged, this,
                &MessagePage::messageTimeout_spinBox_valueChanged);
    }
    connect(control, &TavrelControl::messageSendResponseOK, this, &MessagePage::messageSendOK);
    connect(control, &TavrelControl::messageSendFailed, this, &MessagePage::messageSendFailed);
}

MessageFormCommon& MessagePage::visibleCommon() const
{
    return m_visibleSet == 0 ? *m_landscape : *m_portrait;
}

MessageFormCommon& MessagePage::hiddenCommon() const
{
    return m_visibleSet == 0 ? *m_portrait : *m_landscape;
}

int MessagePage::visibleTimeout() const
{
    const MessageFormCommon& form = visibleCommon();
    return form.messageTimeout_checkBox->isChecked() ? form.messageTimeout_spinBox->value() : 0;
}

void MessagePage::clearState()
{
    for (MessageFormCommon* form : {m_landscape, m_portrait})
        form->messageState_label->clear();
}

void MessagePage::messageSendOK()
{
    clearState();
    for (MessageFormCommon* form : {m_landscape, m_portrait})
        form->messageSend_pushButton->setText(tr("sent..."));
    // A second confirmation keeps the notice for the full time again.
    m_timerSource.startSingleShot(m_sentTimer, sentNoticeMs, this, &MessagePage::resetSendButtons);
}

void MessagePage::resetSendButtons()
{
    for (MessageFormCommon* form : {m_landscape, m_portrait})
        form->messageSend_pushButton->setText(tr("Send"));
}

void MessagePage::messageSendFailed()
{
    if (m_sentTimer)
        m_sentTimer->stop();
    resetSendButtons();
    for (MessageFormCommon* form : {m_landscape, m_portrait})
        form->messageState_label->setText(tr("The message did not reach the receiver."));
}

void MessagePage::messageTimeout_checkBox_clicked(bool checked)
{
    hiddenCommon().messageTimeout_checkBox->setChecked(checked);
    for (MessageFormCommon* form : {m_landscape, m_portrait})
        form->messageTimeout_spinBox->setEnabled(checked);
}

void MessagePage::messageTimeout_spinBox_valueChanged(int value)
{
    const QSignalBlocker quiet(hiddenCommon().messageTimeout_spinBox);
    hiddenCommon().messageTimeout_spinBox->setValue(value);
}

void MessagePage::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const QSize size = event->size();
    const bool landscape = size.width() > size.height();
    const int set = landscape ? 0 : 1;
    // The body follows the user only across a turn: a resize that keeps the orientation would
    // otherwise overwrite what was typed with the other set's older text.
    if (set != m_visibleSet) {
        const MessageFormCommon& from = landscape ? *m_portrait : *m_landscape;
        const MessageFormCommon& to = landscape ? *m_landscape : *m_portrait;
        to.messageBody_textEdit->setPlainText(from.messageBody_textEdit->toPlainText());
        m_visibleSet = set;
    }
    landscapeContainer->setGeometry(QRect(QPoint(0, 0), size));
    portraitContainer->setGeometry(QRect(QPoint(0, 0), size));
    landscapeContainer->setVisible(landscape);
    portraitContainer->setVisible(!landscape);
}
