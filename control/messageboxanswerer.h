#pragma once

#include <QList>
#include <QMessageBox>
#include <QStringList>

#include <functional>

// What a message box looked like when it was asked.
struct AskedMessageBox
{
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons; // in the order they were added
    Qt::TextFormat textFormat = Qt::AutoText;
    const QWidget* parent = nullptr;
    bool modal = false;
};

// Answers the application's message boxes while it lives, so that flows run unattended: each
// box is built as for the user, recorded, and answered without being shown. One at a time.
class MessageBoxAnswerer
{
public:
    enum class Answer
    {
        Accept, // "Yes" or "OK"
        Reject  // "No" (a notice has only "OK")
    };

    MessageBoxAnswerer();
    ~MessageBoxAnswerer();
    MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
    MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;

    // Answers for the next boxes, in order; later boxes get the default answer (Reject).
    void answerNext(Answer answer);
    void setDefaultAnswer(Answer answer) { m_defaultAnswer = answer; }
    // The next box stays open while this runs, as a modal box would: whatever the event loop
    // delivers meanwhile reaches the application.
    void holdNextOpen(std::function<void()> whileOpen);

    QList<AskedMessageBox> asked() const { return m_asked; }
    QStringList askedTexts() const;
    // The most boxes that were open at the same time.
    int mostOpenAtOnce() const { return m_mostOpen; }

private:
    friend class MessageBox;

    bool answer(const QMessageBox& box, const QAbstractButton* accept);

    QList<Answer> m_answers;
    Answer m_defaultAnswer = Answer::Reject;
    std::function<void()> m_whileOpen;
    QList<AskedMessageBox> m_asked;
    int m_open = 0;
    int m_mostOpen = 0;
};
