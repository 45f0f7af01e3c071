#include "ui/pages/messagewidget.h"

#include "control/tavrelcontrol.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTextEdit>

MessageWidget::MessageWidget(QWidget* parent, TavrelControl* control, TimerSource& timerSource)
    : MessagePage(parent, control, timerSource)
{
    setObjectName(QStringLiteral("messageWidget"));
    landscapeContainer->setObjectName(QStringLiteral("MessageWidget_ls"));
    portraitContainer->setObjectName(QStringLiteral("MessageWidget_pt"));
    setupMessageFormE1(m_landscape, landscapeContainer, true);
    setupMessageFormE1(m_portrait, portraitContainer, false);
    connectCommon(m_landscape, m_portrait);
    for (MessageFormE1* form : {&m_landscape, &m_portrait}) {
        connect(form->messageSend_pushButton, &QPushButton::clicked, this,
                &MessageWidget::messageSend_Button_clicked);
        connect(form->messageOkButton_checkBox, &QCheckBox::clicked, this,
                &MessageWidget::messageAddOK_CheckBox_clicked);
        connect(form->messageHead_lineEdit, &QLineEdit::textChanged, this,
                &MessageWidget::messageHeader_lineEdit_textChanged);
    }
}

void MessageWidget::messageSend_Button_clicked()
{
    const MessageFormE1& form = visibleForm();
    clearState();
    control->sendTvMessageE1(form.messageHead_lineEdit->text(), form.messageBody_textEdit->toPlainText(),
                             form.messageOkButton_checkBox->isChecked(), visibleTimeout());
}

void MessageWidget::messageHeader_lineEdit_textChanged(const QString& text)
{
    QLineEdit* other = hiddenForm().messageHead_lineEdit;
    if (other->text() == text)
        return;
    const QSignalBlocker quiet(other);
    other->setText(text);
}

void MessageWidget::messageAddOK_CheckBox_clicked(bool checked)
{
    hiddenForm().messageOkButton_checkBox->setChecked(checked);
    for (MessageFormE1* form : {&m_landscape, &m_portrait}) {
        if (checked) {
            form->messageTimeout_checkBox->setChecked(false);
            form->messageTimeout_spinBox->setEnabled(false);
        }
        form->messageTimeout_checkBox->setEnabled(!checked);
    }
}
