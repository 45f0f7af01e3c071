#pragma once

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTextEdit;
class QWidget;

// The controls both message pages have in each of their two sets.
struct MessageFormCommon
{
    QWidget* container = nullptr;
    QTextEdit* messageBody_textEdit = nullptr;
    QCheckBox* messageTimeout_checkBox = nullptr;
    QSpinBox* messageTimeout_spinBox = nullptr;
    QPushButton* messageSend_pushButton = nullptr;
    // Says what became of the last message when it did not arrive.
    QLabel* messageState_label = nullptr;
};

// One set of the Enigma1 message page: header, body, timeout and "Ok Button".
struct MessageFormE1 : MessageFormCommon
{
    QLabel* messageHeader_label = nullptr;
    QLineEdit* messageHead_lineEdit = nullptr;
    QCheckBox* messageOkButton_checkBox = nullptr;
};

// One set of the Enigma2 message page: body, timeout, "Question" and "Reply request".
struct MessageFormE2 : MessageFormCommon
{
    QCheckBox* messageQuestion_checkBox = nullptr;
    QPushButton* messageAnswer_pushButton = nullptr;
};

// Build the controls of one set into container, arranged for a wide (landscape) or a tall
// (portrait) screen. The container's object name names the form.
void setupMessageFormE1(MessageFormE1& form, QWidget* container, bool landscape);
void setupMessageFormE2(MessageFormE2& form, QWidget* container, bool landscape);
