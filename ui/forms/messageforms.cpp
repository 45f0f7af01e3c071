#include "ui/forms/messageforms.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTextEdit>

namespace {

constexpr int timeoutMaximum = 99;

template<typename T>
T* named(QWidget* container, const char* name)
{
    auto* widget = new T(container);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

void setupCommon(MessageFormCommon& form, QWidget* container)
{
    form.container = container;
    form.messageBody_textEdit = named<QTextEdit>(container, "messageBody_textEdit");
    form.messageBody_textEdit->setAcceptRichText(false);
    form.messageBody_textEdit->setTabChangesFocus(true);
    form.messageTimeout_checkBox = named<QCheckBox>(container, "messageTimeout_checkBox");
    form.messageTimeout_checkBox->setText(QCoreApplication::translate("MessageForm", "Timeout"));
    form.messageTimeout_spinBox = named<QSpinBox>(container, "messageTimeout_spinBox");
    form.messageTimeout_spinBox->setRange(0, timeoutMaximum);
    form.messageTimeout_spinBox->setSuffix(QCoreApplication::translate("MessageForm", " s"));
    form.messageTimeout_spinBox->setEnabled(false);
    form.messageSend_pushButton = named<QPushButton>(container, "messageSend_pushButton");
    form.messageSend_pushButton->setText(QCoreApplication::translate("MessageForm", "Send"));
    form.messageSend_pushButton->setMinimumWidth(form.messageSend_pushButton->sizeHint().width() * 3 / 2);
    form.messageState_label = named<QLabel>(container, "messageState_label");
    form.messageState_label->setWordWrap(true);
    form.messageState_label->setStyleSheet(QStringLiteral("color: #b00000;"));
}

} // namespace

void setupMessageFormE1(MessageFormE1& form, QWidget* container, bool landscape)
{
    setupCommon(form, container);
    form.messageHeader_label = named<QLabel>(container, "messageHeader_label");
    form.messageHeader_label->setText(QCoreApplication::translate("MessageForm", "Header:"));
    form.messageHead_lineEdit = named<QLineEdit>(container, "messageHead_lineEdit");
    form.messageHeader_label->setBuddy(form.messageHead_lineEdit);
    auto* bodyLabel = named<QLabel>(container, "messageBody_label");
    bodyLabel->setText(QCoreApplication::translate("MessageForm", "Body:"));
    bodyLabel->setBuddy(form.messageBody_textEdit);
    form.messageOkButton_checkBox = named<QCheckBox>(container, "messageOkButton_checkBox");
    form.messageOkButton_checkBox->setText(QCoreApplication::translate("MessageForm", "Ok Button"));

    auto* grid = new QGridLayout(container);
    grid->addWidget(form.messageHeader_label, 0, 0);
    grid->addWidget(form.messageHead_lineEdit, 0, 1, 1, landscape ? 4 : 2);
    grid->addWidget(bodyLabel, 1, 0, Qt::AlignTop);
    if (landscape) {
        grid->addWidget(form.messageBody_textEdit, 1, 1, 1, 4);
        grid->addWidget(form.messageTimeout_checkBox, 2, 1);
        grid->addWidget(form.messageTimeout_spinBox, 2, 2);
        grid->addWidget(form.messageOkButton_checkBox, 2, 3);
        grid->addWidget(form.messageSend_pushButton, 2, 4);
        grid->addWidget(form.messageState_label, 3, 1, 1, 4);
        grid->setColumnStretch(3, 1);
    } else {
        grid->addWidget(form.messageBody_textEdit, 1, 1, 1, 2);
        grid->addWidget(form.messageTimeout_checkBox, 2, 1);
        grid->addWidget(form.messageTimeout_spinBox, 2, 2);
        grid->addWidget(form.messageOkButton_checkBox, 3, 1, 1, 2);
        grid->addWidget(form.messageSend_pushButton, 4, 1, 1, 2);
        grid->addWidget(form.messageState_label, 5, 1, 1, 2);
    }
    grid->setRowStretch(1, 1);
}

void setupMessageFormE2(MessageFormE2& form, QWidget* container, bool landscape)
{
    setupCommon(form, container);
    form.messageQuestion_checkBox = named<QCheckBox>(container, "messageQuestion_checkBox");
    form.messageQuestion_checkBox->setText(QCoreApplication::translate("MessageForm", "Question"));
    form.messageAnswer_pushButton = named<QPushButton>(container, "messageAnswer_pushButton");
    form.messageAnswer_pushButton->setText(QCoreApplication::translate("MessageForm", "Reply request"));
    form.messageAnswer_pushButton->setEnabled(false);

    auto* grid = new QGridLayout(container);
    if (landscape) {
        grid->addWidget(form.messageBody_textEdit, 0, 0, 1, 5);
        grid->addWidget(form.messageTimeout_checkBox, 1, 0);
        grid->addWidget(form.messageTimeout_spinBox, 1, 1);
        grid->addWidget(form.messageQuestion_checkBox, 1, 2);
        grid->addWidget(form.messageAnswer_pushButton, 1, 3);
        grid->addWidget(form.messageSend_pushButton, 1, 4);
        grid->addWidget(form.messageState_label, 2, 0, 1, 5);
        grid->setColumnStretch(2, 1);
    } else {
        grid->addWidget(form.messageBody_textEdit, 0, 0, 1, 2);
        grid->addWidget(form.messageTimeout_checkBox, 1, 0);
        grid->addWidget(form.messageTimeout_spinBox, 1, 1);
        grid->addWidget(form.messageQuestion_checkBox, 2, 0);
        grid->addWidget(form.messageAnswer_pushButton, 2, 1);
        grid->addWidget(form.messageSend_pushButton, 3, 0, 1, 2);
        grid->addWidget(form.messageState_label, 4, 0, 1, 2);
    }
    grid->setRowStretch(0, 1);
}
