#pragma once

#include <QCoreApplication>
#include <QMessageBox>

class MessageBoxAnswerer;

// Every message box of the application goes through here: modal, in rich text, parented to
// the widget that asks, with the translated buttons "Yes" (added first, accepting) and "No",
// or a single "OK".
class MessageBox
{
    Q_DECLARE_TR_FUNCTIONS(MessageBox)

public:
    // True when the user chose "Yes".
    static bool question(QWidget* parent, QMessageBox::Icon icon, const QString& text);
    // A question whose "Yes" destroys something: Return and Escape answer "No".
    static bool destructiveQuestion(QWidget* parent, QMessageBox::Icon icon, const QString& text);
    static void notice(QWidget* parent, QMessageBox::Icon icon, const QString& text);

private:
    friend class MessageBoxAnswerer;

    static bool run(QMessageBox& box, const QAbstractButton* accept);

    // Set while a MessageBoxAnswerer lives: it answers instead of the user.
    static inline MessageBoxAnswerer* s_answerer = nullptr;
};
